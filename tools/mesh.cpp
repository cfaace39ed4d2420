#include "mesh.h"

#include <array>

namespace demo {
namespace {

// Unit directions of a 16-gon, written out so that every build computes the
// same corners: the platforms' sin and cos may differ in the last bit, and a
// last bit can move a pixel.
constexpr int kSides = 16;
constexpr std::array<Vec2, kSides> kDirections = {{
    {1.0f, 0.0f},       {0.92388f, 0.38268f},   {0.70711f, 0.70711f},   {0.38268f, 0.92388f},
    {0.0f, 1.0f},       {-0.38268f, 0.92388f},  {-0.70711f, 0.70711f},  {-0.92388f, 0.38268f},
    {-1.0f, 0.0f},      {-0.92388f, -0.38268f}, {-0.70711f, -0.70711f}, {-0.38268f, -0.92388f},
    {0.0f, -1.0f},      {0.38268f, -0.92388f},  {0.70711f, -0.70711f},  {0.92388f, -0.38268f},
}};

Vec2 PolygonCorner(Vec2 centre, float radius, int side) {
    const Vec2 direction = kDirections[static_cast<size_t>(side % kSides)];
    return Vec2{centre.x + radius * direction.x, centre.y + radius * direction.y};
}

int32_t AddVertex(Mesh& mesh, Vec2 v) {
    mesh.vertices.push_back(v);
    return static_cast<int32_t>(mesh.vertices.size() - 1);
}

}  // namespace

int32_t TriangleCount(const Mesh& mesh) { return static_cast<int32_t>(mesh.indices.size() / 3); }

void AddRectangle(Mesh& mesh, float x0, float y0, float x1, float y1) {
    AddConvexPolygon(mesh, {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}});
}

void AddConvexPolygon(Mesh& mesh, const std::vector<Vec2>& corners) {
    const int32_t first = static_cast<int32_t>(mesh.vertices.size());
    mesh.vertices.insert(mesh.vertices.end(), corners.begin(), corners.end());
    for (int32_t k = 1; k + 1 < static_cast<int32_t>(corners.size()); ++k) {
        mesh.indices.insert(mesh.indices.end(), {first, first + k, first + k + 1});
    }
}

void AddDisc(Mesh& mesh, Vec2 centre, float radius) {
    const int32_t hub = AddVertex(mesh, centre);
    for (int side = 0; side < kSides; ++side) {
        AddVertex(mesh, PolygonCorner(centre, radius, side));
    }
    for (int32_t side = 0; side < kSides; ++side) {
        mesh.indices.insert(mesh.indices.end(), {hub, hub + 1 + side, hub + 1 + (side + 1) % kSides});
    }
}

void AddRing(Mesh& mesh, Vec2 centre, float innerRadius, float outerRadius) {
    const int32_t first = static_cast<int32_t>(mesh.vertices.size());
    for (int side = 0; side < kSides; ++side) {
        AddVertex(mesh, PolygonCorner(centre, innerRadius, side));
        AddVertex(mesh, PolygonCorner(centre, outerRadius, side));
    }
    // Corner 2s is on the inner 16-gon, 2s + 1 on the outer one.
    for (int32_t side = 0; side < kSides; ++side) {
        const int32_t inner = first + 2 * side;
        const int32_t nextInner = first + 2 * ((side + 1) % kSides);
        mesh.indices.insert(mesh.indices.end(), {inner, inner + 1, nextInner + 1});
        mesh.indices.insert(mesh.indices.end(), {inner, nextInner + 1, nextInner});
    }
}

}  // namespace demo

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "mesh_transform.h"
#include "obj_reader.h"

namespace {

using demo::Mesh;
using demo::MeshTransform;

// Twice the signed area of triangle k: its sign is the winding.
float Winding(const Mesh& mesh, size_t k) {
    const Vec2 a = mesh.vertices[static_cast<size_t>(mesh.indices[3 * k])];
    const Vec2 b = mesh.vertices[static_cast<size_t>(mesh.indices[3 * k + 1])];
    const Vec2 c = mesh.vertices[static_cast<size_t>(mesh.indices[3 * k + 2])];
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

// A right triangle with its right angle at (2, 1), standing 6 high.
Mesh Wedge() {
    Mesh mesh;
    mesh.vertices = {{2, 1}, {6, 1}, {2, 7}};
    mesh.indices = {0, 1, 2};
    return mesh;
}

std::string ErrorOf(const MeshTransform& transform) {
    Mesh mesh = Wedge();
    try {
        demo::TransformMesh(mesh, transform, "wedge.obj");
    } catch (const demo::ObjError& e) {
        return e.what();
    }
    return "(no error)";
}

using Corners = std::vector<std::pair<float, float>>;

// The wedge after `transform`, its corners in index order.
Corners TransformedWedge(const MeshTransform& transform) {
    Mesh mesh = Wedge();
    demo::TransformMesh(mesh, transform, "wedge.obj");
    Corners corners;
    for (int32_t index : mesh.indices) {
        const Vec2 v = mesh.vertices[static_cast<size_t>(index)];
        corners.emplace_back(v.x, v.y);
    }
    return corners;
}

TEST(MeshTransform, FlipMirrorsWithinTheBoxAndKeepsTheWinding) {
    Mesh mesh = Wedge();
    const float before = Winding(mesh, 0);
    demo::TransformMesh(mesh, MeshTransform{true, 0.0f, 0}, "wedge.obj");
    EXPECT_EQ(Winding(mesh, 0), before);
    // The right angle moves from the top of the box to its bottom; the
    // second and third corners trade places to keep the winding.
    EXPECT_EQ(TransformedWedge(MeshTransform{true, 0.0f, 0}), (Corners{{2, 7}, {2, 1}, {6, 7}}));
}

TEST(MeshTransform, ScaleMultipliesAboutTheOrigin) {
    EXPECT_EQ(TransformedWedge(MeshTransform{false, 2.5f, 0}), (Corners{{5, 2.5f}, {15, 2.5f}, {5, 17.5f}}));
}

TEST(MeshTransform, FitSpansTheLongerSideAndMovesTheCornerToTheOrigin) {
    // The 4 x 6 box becomes 20 x 30 from (0, 0); flipped first.
    EXPECT_EQ(TransformedWedge(MeshTransform{true, 0.0f, 30}), (Corners{{0, 30}, {0, 0}, {20, 30}}));
}

TEST(MeshTransform, NamesTheFileWhenAVertexLeavesTheDrawableRange) {
    EXPECT_EQ(ErrorOf(MeshTransform{false, 200.0f, 0}),
              "wedge.obj: after --scale 200, vertex (1200, 200) lies outside the drawable range -1023 to 1023");
    EXPECT_EQ(ErrorOf(MeshTransform{false, 146.0f, 0}), "(no error)");  // (876, 1022), just inside
}

}  // namespace

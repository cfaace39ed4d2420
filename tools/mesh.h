// A two-dimensional triangle mesh as the host hands it to the shape build:
// vertices in triangle space and an index list of whole triples.
#ifndef MASKFIT_TOOLS_MESH_H
#define MASKFIT_TOOLS_MESH_H

#include <cstdint>
#include <string>
#include <vector>

#include "maskfit/maskfit.h"

namespace demo {

struct Mesh {
    std::vector<Vec2> vertices;
    std::vector<int32_t> indices;  // three per triangle
};

// A mesh with the name the demo shows it by.
struct NamedMesh {
    std::string name;
    Mesh mesh;
    std::string source;  // the file it was read from; empty for a built-in shape
};

// The largest coordinate magnitude the demo draws: it keeps every mask it
// sizes, and every index into it, far inside 32 bits.
constexpr float kMaxCoordinate = 1023.0f;
// A mesh longer than this is not a shape but a mistake.
constexpr int32_t kMaxIndexCount = 3 * 1000000;

int32_t TriangleCount(const Mesh& mesh);

// Two triangles covering the axis-aligned rectangle (x0, y0)-(x1, y1).
void AddRectangle(Mesh& mesh, float x0, float y0, float x1, float y1);
// A convex polygon as a triangle fan around its first corner.
void AddConvexPolygon(Mesh& mesh, const std::vector<Vec2>& corners);
// A regular 16-gon around `centre` as a fan of triangles from the centre.
void AddDisc(Mesh& mesh, Vec2 centre, float radius);
// The band between two concentric 16-gons, two triangles per side.
void AddRing(Mesh& mesh, Vec2 centre, float innerRadius, float outerRadius);

}  // namespace demo

#endif

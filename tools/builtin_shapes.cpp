#include "builtin_shapes.h"

namespace demo {
namespace {

Mesh LPiece() {
    Mesh mesh;
    AddRectangle(mesh, 0, 0, 6, 18);
    AddRectangle(mesh, 0, 12, 14, 18);
    return mesh;
}

Mesh TPiece() {
    Mesh mesh;
    AddRectangle(mesh, 0, 0, 18, 6);
    AddRectangle(mesh, 6, 6, 12, 16);
    return mesh;
}

Mesh Disc() {
    Mesh mesh;
    AddDisc(mesh, {8, 8}, 8);
    return mesh;
}

// Points right; the notch in its tail and the overhang of its head make it
// concave.
Mesh Arrow() {
    Mesh mesh;
    AddConvexPolygon(mesh, {{0, 4}, {10, 4}, {10, 8}, {4, 8}});
    AddConvexPolygon(mesh, {{4, 8}, {10, 8}, {10, 12}, {0, 12}});
    AddConvexPolygon(mesh, {{10, 0}, {18, 8}, {10, 16}});
    return mesh;
}

Mesh Ring() {
    Mesh mesh;
    AddRing(mesh, {10, 10}, 5, 10);
    return mesh;
}

// Larger than any free stretch of the default board: shows a search that
// finds nothing.
Mesh Slab() {
    Mesh mesh;
    AddRectangle(mesh, 0, 0, 40, 24);
    return mesh;
}

}  // namespace

std::vector<NamedMesh> BuiltinShapes() {
    return {{"L", LPiece(), ""},      {"T", TPiece(), ""},    {"disc", Disc(), ""},
            {"arrow", Arrow(), ""},   {"ring", Ring(), ""},   {"slab", Slab(), ""}};
}

}  // namespace demo

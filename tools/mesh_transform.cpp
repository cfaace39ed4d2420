#include "mesh_transform.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "obj_reader.h"

namespace demo {
namespace {

struct Box {
    Vec2 min, max;
};

Box BoundingBox(const Mesh& mesh) {
    Box box{mesh.vertices.front(), mesh.vertices.front()};
    for (const Vec2& v : mesh.vertices) {
        box.min = Vec2{std::min(box.min.x, v.x), std::min(box.min.y, v.y)};
        box.max = Vec2{std::max(box.max.x, v.x), std::max(box.max.y, v.y)};
    }
    return box;
}

void FlipY(Mesh& mesh) {
    const Box box = BoundingBox(mesh);
    for (Vec2& v : mesh.vertices) {
        v.y = box.min.y + box.max.y - v.y;
    }
    // A mirror turns every triangle over; swapping two corners turns it back.
    for (size_t k = 0; k + 2 < mesh.indices.size(); k += 3) {
        std::swap(mesh.indices[k + 1], mesh.indices[k + 2]);
    }
}

void Scale(Mesh& mesh, float factor, Vec2 shift) {
    for (Vec2& v : mesh.vertices) {
        v = Vec2{(v.x - shift.x) * factor, (v.y - shift.y) * factor};
    }
}

void Fit(Mesh& mesh, int32_t pixels) {
    const Box box = BoundingBox(mesh);
    const float side = std::max(box.max.x - box.min.x, box.max.y - box.min.y);
    Scale(mesh, side > 0.0f ? static_cast<float>(pixels) / side : 1.0f, box.min);
}

std::string Describe(const MeshTransform& transform) {
    char text[64];
    if (transform.fit > 0) {
        std::snprintf(text, sizeof text, "--fit %d", transform.fit);
    } else if (transform.scale > 0.0f) {
        std::snprintf(text, sizeof text, "--scale %g", static_cast<double>(transform.scale));
    } else {
        std::snprintf(text, sizeof text, "--flip-y");
    }
    return text;
}

void CheckRange(const Mesh& mesh, const MeshTransform& transform, const std::string& source) {
    for (const Vec2& v : mesh.vertices) {
        if (!(std::fabs(v.x) <= kMaxCoordinate && std::fabs(v.y) <= kMaxCoordinate)) {
            char text[160];
            std::snprintf(text, sizeof text, "after %s, vertex (%g, %g) lies outside the drawable range -%d to %d",
                          Describe(transform).c_str(), static_cast<double>(v.x), static_cast<double>(v.y),
                          static_cast<int>(kMaxCoordinate), static_cast<int>(kMaxCoordinate));
            throw ObjError(source + ": " + text);
        }
    }
}

}  // namespace

void TransformMesh(Mesh& mesh, const MeshTransform& transform, const std::string& source) {
    if (mesh.vertices.empty()) {
        return;
    }
    if (transform.flipY) {
        FlipY(mesh);
    }
    if (transform.fit > 0) {
        Fit(mesh, transform.fit);
    } else if (transform.scale > 0.0f) {
        Scale(mesh, transform.scale, Vec2{0.0f, 0.0f});
    }
    CheckRange(mesh, transform, source);
}

}  // namespace demo

#include "shape_builder.h"

#include <algorithm>
#include <cmath>

#include "host_calls.h"

namespace demo {

ShapeLayout LayoutFor(const Mesh& mesh, int32_t margin) {
    float largest = 0.0f;
    for (const Vec2& v : mesh.vertices) {
        largest = std::max({largest, v.x, v.y});
    }
    ShapeLayout layout{};
    layout.drawSize = static_cast<int32_t>(std::floor(largest)) + 1;
    // Drawing shifts by the margin and the brush reaches margin - 1 further;
    // the content rectangle grows by the margin once more and is filled up
    // to and including its far edge, which the fit test also reads.
    layout.side = layout.drawSize + 3 * margin + 1;
    return layout;
}

OwnedShape BuildShape(const hostsim::EntryPoints& entries, const Mesh& mesh, const BuildSettings& settings) {
    const ShapeLayout layout = LayoutFor(mesh, settings.margin);
    OwnedShape shape = MakeShape(layout.side);
    VersionedMemory shapesMemory;
    ShapeBuildJob job{};
    job.margin = settings.margin;
    job.skipRectFill = settings.skipRectFill ? 1 : 0;
    job.maxCoord = layout.side - 1;
    job.drawSize = layout.drawSize;
    job.shapeIndex = 0;
    job.vertices = mesh.vertices.data();
    job.indices = mesh.indices.data();
    job.indexCount = static_cast<int32_t>(mesh.indices.size());
    job.shapes = shapesMemory.ViewOf(&shape.mask, 1);
    RunBuildShapeMask(entries, job);
    return shape;
}

}  // namespace demo

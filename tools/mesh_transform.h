// Brings a user's mesh into board pixels: meshes made in other units, or
// with y pointing up, as most modelling tools have it.
#ifndef MASKFIT_TOOLS_MESH_TRANSFORM_H
#define MASKFIT_TOOLS_MESH_TRANSFORM_H

#include <cstdint>
#include <string>

#include "mesh.h"

namespace demo {

struct MeshTransform {
    bool flipY = false;  // mirror y within the mesh's own bounding box
    float scale = 0.0f;  // > 0: multiply every coordinate by it
    int32_t fit = 0;     // > 0: scale the longer side of the box to this many pixels, its corner to (0, 0)
};

// Flips first, then scales or fits. Keeps each triangle's winding. Throws
// ObjError naming `source` when a vertex ends up outside the drawable range.
void TransformMesh(Mesh& mesh, const MeshTransform& transform, const std::string& source);

}  // namespace demo

#endif

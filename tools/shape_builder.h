// Turns a mesh into a shape mask with the library's build job, in a mask
// sized so that nothing the job draws or fills can leave it.
#ifndef MASKFIT_TOOLS_SHAPE_BUILDER_H
#define MASKFIT_TOOLS_SHAPE_BUILDER_H

#include <cstdint>

#include "host_sim.h"
#include "mask_storage.h"
#include "mesh.h"

namespace demo {

struct BuildSettings {
    int32_t margin = 1;
    bool skipRectFill = false;
};

// How the build job is set up for one mesh.
struct ShapeLayout {
    int32_t drawSize;  // scan limit: one past the mesh's largest coordinate
    int32_t side;      // of the square mask
};

ShapeLayout LayoutFor(const Mesh& mesh, int32_t margin);

// The mesh must hold whole triples naming its own vertices, with
// coordinates within kMaxCoordinate. Throws LibraryAbort.
OwnedShape BuildShape(const hostsim::EntryPoints& entries, const Mesh& mesh, const BuildSettings& settings);

}  // namespace demo

#endif

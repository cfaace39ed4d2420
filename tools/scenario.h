// The built-in scenario: the game's use of the library in small. A board
// with a few fixed obstacles; each built-in shape is built into its own
// mask, searched for on the board and stamped where it first fits.
#ifndef MASKFIT_TOOLS_SCENARIO_H
#define MASKFIT_TOOLS_SCENARIO_H

#include <cstdint>
#include <string>
#include <vector>

#include "host_sim.h"
#include "mask_storage.h"
#include "mesh.h"
#include "shape_builder.h"

namespace demo {

// Pixel value of the obstacles: one the library never writes.
constexpr uint8_t kObstacle = 255;

struct ScenarioSettings {
    int32_t boardWidth = 96;
    int32_t boardHeight = 64;
    int32_t step = 1;
    BuildSettings build;
};

struct ShapeOutcome {
    std::string name;
    std::string source;  // the mesh's file; empty for a built-in shape
    int32_t triangles;
    MaskBounds content;  // the built mask's content rectangle
    bool placed;
    int32_t x, y;        // board position of the content rectangle's corner
};

// Board pixels that no stamp wrote.
constexpr int32_t kNoOwner = -1;

struct ScenarioResult {
    OwnedBoard board;
    std::vector<ShapeOutcome> shapes;
    // Per board pixel: the index in `shapes` of the shape whose stamp wrote
    // it, or kNoOwner. The pixel values alone cannot tell shapes apart.
    std::vector<int32_t> owners;
};

// Obstacles are laid out for the default board and stretched to any other.
void PlaceObstacles(OwnedBoard& board);

// Searches every step-th position of the board and stamps the shape at the
// first fit; `name`, `source` and `triangles` of the outcome are left to the
// caller.
// Throws LibraryAbort.
ShapeOutcome PlaceShape(const hostsim::EntryPoints& entries, OwnedBoard& board, const OwnedShape& shape,
                        int32_t step);

// Builds the mask of each mesh in turn, searches every step-th position of
// the board for it and stamps it at the first fit. Throws LibraryAbort.
ScenarioResult PlaceShapes(const hostsim::EntryPoints& entries, OwnedBoard board, const std::vector<NamedMesh>& meshes,
                           int32_t step, const BuildSettings& build);

// The built-in shapes on a board with the built-in obstacles. Throws LibraryAbort.
ScenarioResult RunScenario(const hostsim::EntryPoints& entries, const ScenarioSettings& settings);

}  // namespace demo

#endif

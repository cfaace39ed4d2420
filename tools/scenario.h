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
    int32_t triangles;
    MaskBounds content;  // the built mask's content rectangle
    bool placed;
    int32_t x, y;        // board position of the content rectangle's corner
};

struct ScenarioResult {
    OwnedBoard board;
    std::vector<ShapeOutcome> shapes;
};

// Obstacles are laid out for the default board and stretched to any other.
void PlaceObstacles(OwnedBoard& board);

// Searches every step-th position of the board and stamps the shape at the
// first fit; `name` and `triangles` of the outcome are left to the caller.
// Throws LibraryAbort.
ShapeOutcome PlaceShape(const hostsim::EntryPoints& entries, OwnedBoard& board, const OwnedShape& shape,
                        int32_t step);

// Throws LibraryAbort.
ScenarioResult RunScenario(const hostsim::EntryPoints& entries, const ScenarioSettings& settings);

}  // namespace demo

#endif

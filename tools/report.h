// What the demo prints: the outcome of placing shapes or of one mesh, and
// text pictures of masks.
#ifndef MASKFIT_TOOLS_REPORT_H
#define MASKFIT_TOOLS_REPORT_H

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "board_render.h"
#include "mask_storage.h"
#include "mesh.h"
#include "scenario.h"
#include "shape_builder.h"

namespace demo {

// What was placed on what, as the report's heading says it.
struct PlacementSummary {
    bool builtinShapes = true;
    std::string boardSource;  // empty: the built-in obstacles; else the image's path
    int32_t step = 1;
    BuildSettings build;
};

// `withPicture`: the text picture of the board follows the table.
void PrintPlacements(std::ostream& out, const PlacementSummary& summary, const ScenarioResult& result,
                     bool withPicture);

// The text picture's title line, also the PNG's.
std::string PlacementTitle(const PlacementSummary& summary, const ScenarioResult& result);

void PrintShapeMask(std::ostream& out, const std::string& source, const Mesh& mesh, const BuildSettings& settings,
                    const OwnedShape& shape, bool withPicture);

// The legend line, then the picture.
void PrintPicture(std::ostream& out, const std::vector<uint8_t>& pixels, int32_t width, int32_t height);

std::array<int64_t, kPixelClassCount> CountClasses(const std::vector<uint8_t>& pixels);

}  // namespace demo

#endif

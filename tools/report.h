// What the demo prints: the outcome of the scenario or of one mesh, and
// text pictures of masks.
#ifndef MASKFIT_TOOLS_REPORT_H
#define MASKFIT_TOOLS_REPORT_H

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "mask_storage.h"
#include "mesh.h"
#include "scenario.h"
#include "shape_builder.h"

namespace demo {

void PrintScenario(std::ostream& out, const ScenarioSettings& settings, const ScenarioResult& result);

void PrintShapeMask(std::ostream& out, const std::string& source, const Mesh& mesh, const BuildSettings& settings,
                    const OwnedShape& shape);

// The legend line, then the picture.
void PrintPicture(std::ostream& out, const std::vector<uint8_t>& pixels, int32_t width, int32_t height);

}  // namespace demo

#endif

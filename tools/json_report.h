// The demo's results as JSON, for scripts. The schema is small and fixed
// (schemaVersion 1):
//   placing:  {"schemaVersion", "board": {"source", "width", "height"},
//              "margin", "step", "rectangleFill",
//              "shapes": [{"name", "source", "triangles",
//                          "content": {"x0", "y0", "x1", "y1"},
//                          "placed", "x", "y"}]}
//   one mask: {"schemaVersion", "mask": {"source", "vertices", "triangles",
//              "width", "height", "margin", "rectangleFill",
//              "content": {...}, "pixels": {"interior", "border", "rectangleFill"}}}
// A "source" is a file path, or null for what is built in; "x" and "y" are
// null for a shape that found no room.
#ifndef MASKFIT_TOOLS_JSON_REPORT_H
#define MASKFIT_TOOLS_JSON_REPORT_H

#include <string>

#include "mask_storage.h"
#include "mesh.h"
#include "report.h"
#include "scenario.h"
#include "shape_builder.h"

namespace demo {

std::string PlacementsJson(const PlacementSummary& summary, const ScenarioResult& result);

std::string MaskJson(const std::string& source, const Mesh& mesh, const BuildSettings& settings,
                     const OwnedShape& shape);

// `text` as a JSON string literal.
std::string JsonString(const std::string& text);

}  // namespace demo

#endif

#include "json_report.h"

#include <cstdio>

namespace demo {
namespace {

std::string SourceOrNull(const std::string& source) { return source.empty() ? "null" : JsonString(source); }

std::string Bool(bool value) { return value ? "true" : "false"; }

std::string RectangleJson(const MaskBounds& r) {
    return "{\"x0\": " + std::to_string(r.x0) + ", \"y0\": " + std::to_string(r.y0) +
           ", \"x1\": " + std::to_string(r.x1) + ", \"y1\": " + std::to_string(r.y1) + "}";
}

std::string ShapeJson(const ShapeOutcome& shape) {
    const std::string x = shape.placed ? std::to_string(shape.x) : "null";
    const std::string y = shape.placed ? std::to_string(shape.y) : "null";
    return "    {\"name\": " + JsonString(shape.name) + ", \"source\": " + SourceOrNull(shape.source) +
           ", \"triangles\": " + std::to_string(shape.triangles) + ",\n     \"content\": " +
           RectangleJson(shape.content) + ", \"placed\": " + Bool(shape.placed) + ", \"x\": " + x + ", \"y\": " + y +
           "}";
}

}  // namespace

std::string JsonString(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            quoted += escape;
        } else {
            quoted += c;  // UTF-8 passes through
        }
    }
    return quoted + "\"";
}

std::string PlacementsJson(const PlacementSummary& summary, const ScenarioResult& result) {
    std::string json = "{\n  \"schemaVersion\": 1,\n  \"board\": {\"source\": " + SourceOrNull(summary.boardSource) +
                       ", \"width\": " + std::to_string(result.board.mask.width) +
                       ", \"height\": " + std::to_string(result.board.mask.height) + "},\n" +
                       "  \"margin\": " + std::to_string(summary.build.margin) +
                       ", \"step\": " + std::to_string(summary.step) +
                       ", \"rectangleFill\": " + Bool(!summary.build.skipRectFill) + ",\n  \"shapes\": [";
    for (size_t k = 0; k < result.shapes.size(); ++k) {
        json += (k == 0 ? "\n" : ",\n") + ShapeJson(result.shapes[k]);
    }
    return json + (result.shapes.empty() ? "]\n}\n" : "\n  ]\n}\n");
}

std::string MaskJson(const std::string& source, const Mesh& mesh, const BuildSettings& settings,
                     const OwnedShape& shape) {
    const auto counts = CountClasses(shape.pixels.bytes);
    const auto count = [&counts](PixelClass c) { return std::to_string(counts[static_cast<size_t>(c)]); };
    return "{\n  \"schemaVersion\": 1,\n  \"mask\": {\"source\": " + JsonString(source) +
           ", \"vertices\": " + std::to_string(mesh.vertices.size()) +
           ", \"triangles\": " + std::to_string(TriangleCount(mesh)) + ",\n           \"width\": " +
           std::to_string(shape.mask.width) + ", \"height\": " + std::to_string(shape.mask.height) +
           ", \"margin\": " + std::to_string(settings.margin) + ", \"rectangleFill\": " +
           Bool(!settings.skipRectFill) + ",\n           \"content\": " + RectangleJson(shape.mask.bounds) +
           ",\n           \"pixels\": {\"interior\": " + count(PixelClass::kInterior) +
           ", \"border\": " + count(PixelClass::kBorder) + ", \"rectangleFill\": " + count(PixelClass::kRectFill) +
           "}}\n}\n";
}

}  // namespace demo

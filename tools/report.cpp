#include "report.h"

#include <algorithm>
#include <cstdio>

namespace demo {
namespace {

std::string RectangleText(const MaskBounds& r) {
    char text[96];
    std::snprintf(text, sizeof text, "(%d, %d)-(%d, %d)  %d x %d", r.x0, r.y0, r.x1, r.y1, r.x1 - r.x0, r.y1 - r.y0);
    return text;
}

// The name column fits the longest name and a space, and is never narrower
// than its heading.
size_t NameWidth(const std::vector<ShapeOutcome>& shapes) {
    size_t widest = 7;
    for (const ShapeOutcome& shape : shapes) {
        widest = std::max(widest, shape.name.size() + 2);
    }
    return widest;
}

std::string Padded(const std::string& text, size_t width) { return text + std::string(width - text.size(), ' '); }

std::string ShapeLine(const ShapeOutcome& shape, size_t nameWidth) {
    char position[32] = "no room";
    if (shape.placed) {
        std::snprintf(position, sizeof position, "(%d, %d)", shape.x, shape.y);
    }
    char rest[128];
    std::snprintf(rest, sizeof rest, "%9d  %-26s %s\n", shape.triangles, RectangleText(shape.content).c_str(),
                  position);
    return Padded(shape.name, nameWidth) + rest;
}

std::string ShapesText(const PlacementSummary& summary, size_t count) {
    if (summary.builtinShapes) {
        return "scenario: " + std::to_string(count) + " built-in shapes";
    }
    return "placing: " + std::to_string(count) + (count == 1 ? " mesh" : " meshes");
}

std::string BoardText(const PlacementSummary& summary, const ScenarioResult& result) {
    return "board " + std::to_string(result.board.mask.width) + " x " + std::to_string(result.board.mask.height) +
           (summary.boardSource.empty() ? " with obstacles" : " from " + summary.boardSource);
}

int64_t PlacedCount(const ScenarioResult& result) {
    return std::count_if(result.shapes.begin(), result.shapes.end(), [](const ShapeOutcome& s) { return s.placed; });
}

int64_t VerticesLeftOrAbove(const Mesh& mesh) {
    return std::count_if(mesh.vertices.begin(), mesh.vertices.end(),
                         [](const Vec2& v) { return v.x < 0.0f || v.y < 0.0f; });
}

}  // namespace

std::array<int64_t, kPixelClassCount> CountClasses(const std::vector<uint8_t>& pixels) {
    std::array<int64_t, kPixelClassCount> counts{};
    for (uint8_t value : pixels) {
        ++counts[static_cast<size_t>(ClassOf(value))];
    }
    return counts;
}

std::string PlacementTitle(const PlacementSummary& summary, const ScenarioResult& result) {
    return BoardText(summary, result) + ": " + std::to_string(PlacedCount(result)) + " of " +
           std::to_string(result.shapes.size()) + " shapes placed";
}

void PrintPlacements(std::ostream& out, const PlacementSummary& summary, const ScenarioResult& result,
                     bool withPicture) {
    out << ShapesText(summary, result.shapes.size()) << ", one after another, each at the first place"
        << " where it fits;\n"
        << BoardText(summary, result) << ", margin " << summary.build.margin << ", step " << summary.step
        << (summary.build.skipRectFill ? ", no rectangle fill" : "") << "\n\n";
    const size_t nameWidth = NameWidth(result.shapes);
    out << Padded("shape", nameWidth) << "triangles  content rectangle          placed at\n";
    for (const ShapeOutcome& shape : result.shapes) {
        out << ShapeLine(shape, nameWidth);
    }
    out << "\n" << PlacedCount(result) << " of " << result.shapes.size() << " shapes placed"
        << (withPicture ? ":\n" : "\n");
    if (withPicture) {
        PrintPicture(out, result.board.pixels.bytes, result.board.mask.width, result.board.mask.height);
    }
}

void PrintShapeMask(std::ostream& out, const std::string& source, const Mesh& mesh, const BuildSettings& settings,
                    const OwnedShape& shape, bool withPicture) {
    const ShapeLayout layout = LayoutFor(mesh, settings.margin);
    const std::array<int64_t, kPixelClassCount> counts = CountClasses(shape.pixels.bytes);
    out << "mesh: " << source << ", " << mesh.vertices.size() << " vertices, " << TriangleCount(mesh)
        << " triangles\n"
        << "mask: " << shape.mask.width << " x " << shape.mask.height << ", draw size " << layout.drawSize
        << ", margin " << settings.margin << (settings.skipRectFill ? ", no rectangle fill" : "") << "\n"
        << "content rectangle: " << RectangleText(shape.mask.bounds) << "\n"
        << "pixels: " << counts[static_cast<size_t>(PixelClass::kInterior)] << " interior (234), "
        << counts[static_cast<size_t>(PixelClass::kBorder)] << " border (90), "
        << counts[static_cast<size_t>(PixelClass::kRectFill)] << " rectangle fill (79)\n";
    if (const int64_t clipped = VerticesLeftOrAbove(mesh); clipped != 0) {
        out << "note: " << clipped << (clipped == 1 ? " vertex lies" : " vertices lie")
            << " left of x = 0 or above y = 0; the build draws nothing there, in the game as here\n";
    }
    if (withPicture) {
        out << "\n";
        PrintPicture(out, shape.pixels.bytes, shape.mask.width, shape.mask.height);
    }
}

void PrintPicture(std::ostream& out, const std::vector<uint8_t>& pixels, int32_t width, int32_t height) {
    out << TextLegend() << "\n" << TextPicture(pixels, width, height);
}

}  // namespace demo

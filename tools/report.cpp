#include "report.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "board_render.h"

namespace demo {
namespace {

std::string RectangleText(const MaskBounds& r) {
    char text[96];
    std::snprintf(text, sizeof text, "(%d, %d)-(%d, %d)  %d x %d", r.x0, r.y0, r.x1, r.y1, r.x1 - r.x0, r.y1 - r.y0);
    return text;
}

std::string ShapeLine(const ShapeOutcome& shape) {
    char position[32] = "no room";
    if (shape.placed) {
        std::snprintf(position, sizeof position, "(%d, %d)", shape.x, shape.y);
    }
    char line[160];
    std::snprintf(line, sizeof line, "%-6s %9d  %-26s %s\n", shape.name.c_str(), shape.triangles,
                  RectangleText(shape.content).c_str(), position);
    return line;
}

std::array<int64_t, kPixelClassCount> CountClasses(const std::vector<uint8_t>& pixels) {
    std::array<int64_t, kPixelClassCount> counts{};
    for (uint8_t value : pixels) {
        ++counts[static_cast<size_t>(ClassOf(value))];
    }
    return counts;
}

int64_t VerticesLeftOrAbove(const Mesh& mesh) {
    return std::count_if(mesh.vertices.begin(), mesh.vertices.end(),
                         [](const Vec2& v) { return v.x < 0.0f || v.y < 0.0f; });
}

}  // namespace

void PrintScenario(std::ostream& out, const ScenarioSettings& settings, const ScenarioResult& result) {
    out << "scenario: " << result.shapes.size() << " built-in shapes, one after another, each at the first place"
        << " where it fits;\n"
        << "board " << settings.boardWidth << " x " << settings.boardHeight << " with obstacles, margin "
        << settings.build.margin << ", step " << settings.step
        << (settings.build.skipRectFill ? ", no rectangle fill" : "") << "\n\n"
        << "shape  triangles  content rectangle          placed at\n";
    int32_t placed = 0;
    for (const ShapeOutcome& shape : result.shapes) {
        out << ShapeLine(shape);
        placed += shape.placed ? 1 : 0;
    }
    out << "\n" << placed << " of " << result.shapes.size() << " shapes placed:\n";
    PrintPicture(out, result.board.pixels.bytes, result.board.mask.width, result.board.mask.height);
}

void PrintShapeMask(std::ostream& out, const std::string& source, const Mesh& mesh, const BuildSettings& settings,
                    const OwnedShape& shape) {
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
    out << "\n";
    PrintPicture(out, shape.pixels.bytes, shape.mask.width, shape.mask.height);
}

void PrintPicture(std::ostream& out, const std::vector<uint8_t>& pixels, int32_t width, int32_t height) {
    out << TextLegend() << "\n" << TextPicture(pixels, width, height);
}

}  // namespace demo

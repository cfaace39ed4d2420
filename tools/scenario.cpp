#include "scenario.h"

#include "builtin_shapes.h"
#include "host_calls.h"

namespace demo {
namespace {

constexpr int32_t kDesignWidth = 96;
constexpr int32_t kDesignHeight = 64;

// In design units; each covers columns x0 to x1 - 1 and rows y0 to y1 - 1.
constexpr MaskBounds kObstacles[] = {
    {0, 0, 8, 6},      // a rock in the corner where the search starts
    {40, 0, 43, 30},   // a wall hanging from the top edge
    {58, 22, 70, 34},  // a block in the middle
    {6, 46, 20, 54},   // a pit near the bottom left
    {84, 8, 88, 52},   // a pillar near the right edge
};

int32_t Stretch(int32_t designValue, int32_t size, int32_t designSize) {
    return static_cast<int32_t>(static_cast<int64_t>(designValue) * size / designSize);
}

void FillRectangle(OwnedBoard& board, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    const int32_t width = board.mask.width;
    for (int32_t y = y0; y < y1; ++y) {
        for (int32_t x = x0; x < x1; ++x) {
            board.pixels.bytes[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] =
                kObstacle;
        }
    }
}

}  // namespace

void PlaceObstacles(OwnedBoard& board) {
    const int32_t width = board.mask.width;
    const int32_t height = board.mask.height;
    for (const MaskBounds& r : kObstacles) {
        FillRectangle(board, Stretch(r.x0, width, kDesignWidth), Stretch(r.y0, height, kDesignHeight),
                      Stretch(r.x1, width, kDesignWidth), Stretch(r.y1, height, kDesignHeight));
    }
}

ShapeOutcome PlaceShape(const hostsim::EntryPoints& entries, OwnedBoard& board, const OwnedShape& shape,
                        int32_t step) {
    const MaskBounds content = shape.mask.bounds;
    PlacementSearchJob job{};
    job.xRange = SearchRange{0, board.mask.width - 1, step, 0};
    job.yRange = SearchRange{0, board.mask.height - 1, step, 0};
    job.board = board.mask;
    // The search stops a candidate where x + bounds.x1 reaches the limit, not
    // x plus the rectangle's width. With the limits at the board's size plus
    // the rectangle's offset, a candidate is tried exactly while the
    // rectangle, and the column and row past it that the fit test's corner
    // probes read, stay on the board.
    job.board.bounds.x0 = board.mask.width + content.x0;
    job.board.bounds.y0 = board.mask.height + content.y0;
    job.shape = shape.mask;
    const PlacementResult hit = RunFindPlacement(entries, job);
    ShapeOutcome outcome{};
    outcome.content = content;
    outcome.placed = hit.found == 1;
    if (outcome.placed) {
        outcome.x = hit.x;
        outcome.y = hit.y;
        RunBlitShape(entries, board.mask, shape.mask, hit.x, hit.y);
    }
    return outcome;
}

ScenarioResult PlaceShapes(const hostsim::EntryPoints& entries, OwnedBoard board, const std::vector<NamedMesh>& meshes,
                           int32_t step, const BuildSettings& build) {
    ScenarioResult result{std::move(board), {}, {}};
    std::vector<uint8_t>& pixels = result.board.pixels.bytes;
    result.owners.assign(pixels.size(), kNoOwner);
    for (const NamedMesh& named : meshes) {
        const OwnedShape shape = BuildShape(entries, named.mesh, build);
        const std::vector<uint8_t> before = pixels;
        ShapeOutcome outcome = PlaceShape(entries, result.board, shape, step);
        outcome.name = named.name;
        outcome.source = named.source;
        outcome.triangles = TriangleCount(named.mesh);
        for (size_t k = 0; k < pixels.size(); ++k) {
            if (pixels[k] != before[k]) {
                result.owners[k] = static_cast<int32_t>(result.shapes.size());
            }
        }
        result.shapes.push_back(outcome);
    }
    return result;
}

ScenarioResult RunScenario(const hostsim::EntryPoints& entries, const ScenarioSettings& settings) {
    OwnedBoard board = MakeBoard(settings.boardWidth, settings.boardHeight);
    PlaceObstacles(board);
    return PlaceShapes(entries, std::move(board), BuiltinShapes(), settings.step, settings.build);
}

}  // namespace demo

// The whole road as the host drives it: build two shape masks from meshes,
// search a board for the first, stamp it there, and search for the second,
// which must then land clear of the first.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "placement_support.h"

namespace {

using mftest::EachLibraryTest;
using mftest::Point;
using mftest::SearchJob;

constexpr int32_t kBoardWidth = 24;
constexpr int32_t kBoardHeight = 12;

struct Mesh {
    std::vector<Vec2> vertices;
    std::vector<int32_t> indices;
};

// Rebuilds shapes[index] the way the host runs the job: block by address,
// with its full argument list.
hostsim::Outcome BuildShape(const hostsim::EntryPoints& entries, const Mesh& mesh, CheckedArray shapes, int32_t index) {
    ShapeBuildJob job{};
    job.margin = 1;
    job.skipRectFill = 0;
    job.maxCoord = 15;
    job.drawSize = 14;
    job.shapeIndex = index;
    job.vertices = mesh.vertices.data();
    job.indices = mesh.indices.data();
    job.indexCount = static_cast<int32_t>(mesh.indices.size());
    job.shapes = shapes;
    static const int32_t hostRanges[4] = {0, 2, 0, 2};
    return hostsim::Run([&] { entries.buildShapeMask(&job, nullptr, nullptr, hostRanges, index); });
}

// The first fitting position, searched over the whole board up to its limits.
std::optional<Point> Search(const hostsim::EntryPoints& entries, const mftest::TestBoard& board, const ShapeMask& shape) {
    SearchJob job(board.mask, shape);
    job.Ranges({0, kBoardWidth - 1, 1, 0}, {0, kBoardHeight - 1, 1, 0});
    const hostsim::Outcome outcome = job.Run(entries);
    EXPECT_EQ(outcome.ending, hostsim::Ending::kReturned) << outcome.message;
    const PlacementResult& result = job.results[0];
    if (result == SearchJob::kUntouched) {
        return std::nullopt;
    }
    EXPECT_EQ(result.found, 1);
    EXPECT_EQ(result.reserved, 0);
    return Point{result.x, result.y};
}

// Visits each pixel of the content rectangle with the board pixel that it
// lies on when the rectangle's corner is placed at `at`.
template <typename Visit>
void ForEachPlacedPixel(const ShapeMask& shape, Point at, Visit visit) {
    for (int32_t sy = shape.bounds.y0; sy < shape.bounds.y1; ++sy) {
        for (int32_t sx = shape.bounds.x0; sx < shape.bounds.x1; ++sx) {
            visit(Point{sx, sy}, Point{at.x + sx - shape.bounds.x0, at.y + sy - shape.bounds.y0});
        }
    }
}

// The meaning of a fit, from the pixels alone: the board pixel under some
// set pixel of the placed content rectangle is already covered.
bool CoversACoveredPixel(const mftest::TestBoard& board, const mftest::TestShape& pixels, const ShapeMask& shape,
                         Point at) {
    bool covers = false;
    ForEachPlacedPixel(shape, at, [&](Point from, Point on) {
        covers = covers || (pixels.At(from.x, from.y) != 0 && board.At(on.x, on.y) != 0);
    });
    return covers;
}

std::string Picture(const mftest::TestBoard& board) {
    return mftest::Render(board.pixels.bytes.data(), kBoardWidth, kBoardHeight);
}

class PipelineTest : public EachLibraryTest {};

TEST_P(PipelineTest, TheSecondShapeIsPlacedClearOfTheFirstStampedOne) {
    const Mesh square{{{0, 0}, {4, 0}, {4, 4}, {0, 4}}, {0, 1, 2, 0, 2, 3}};
    const Mesh wedge{{{0, 0}, {0, 3}, {6, 0}}, {0, 1, 2}};
    mftest::TestShape first(16, 16);
    mftest::TestShape second(16, 16);
    std::vector<ShapeMask> shapes = {first.mask, second.mask};
    auto shapesVersion = std::make_unique<uint32_t>(0);
    const CheckedArray shapesView = mftest::ViewOf(shapes.data(), 2, shapesVersion.get());

    ASSERT_EQ(BuildShape(Library(), square, shapesView, 0).ending, hostsim::Ending::kReturned);
    ASSERT_EQ(BuildShape(Library(), wedge, shapesView, 1).ending, hostsim::Ending::kReturned);
    for (const ShapeMask& built : shapes) {
        ASSERT_GT(built.bounds.x1, built.bounds.x0);
        ASSERT_GT(built.bounds.y1, built.bounds.y0);
    }

    // Earlier pieces cover the board's top-left corner.
    mftest::TestBoard board(kBoardWidth, kBoardHeight);
    board.mask.bounds = MaskBounds{kBoardWidth, kBoardHeight, 0, 0};
    for (int32_t y = 0; y < 6; ++y) {
        for (int32_t x = 0; x < 10; ++x) {
            board.Set(x, y, 255);
        }
    }

    const std::optional<Point> firstAt = Search(Library(), board, shapes[0]);
    ASSERT_TRUE(firstAt.has_value()) << Picture(board);
    EXPECT_FALSE(CoversACoveredPixel(board, first, shapes[0], *firstAt)) << Picture(board);
    mftest::TestBoard boardWithoutFirst(kBoardWidth, kBoardHeight);
    boardWithoutFirst.mask.bounds = board.mask.bounds;
    boardWithoutFirst.pixels.bytes = board.pixels.bytes;

    static const int hostValue = 0;
    const hostsim::Outcome blit = hostsim::Run(
        [&] { Library().blitShape(&hostValue, &board.mask, &shapes[0], firstAt->x, firstAt->y); });
    ASSERT_EQ(blit.ending, hostsim::Ending::kReturned) << blit.message;
    ForEachPlacedPixel(shapes[0], *firstAt, [&](Point from, Point on) {
        if (first.At(from.x, from.y) != 0) {
            EXPECT_EQ(board.At(on.x, on.y), first.At(from.x, from.y)) << "stamped at " << on.x << "," << on.y;
        }
    });
    // The rectangle fill left no empty pixel in the content rectangle, so the
    // stamp widened the dirty rectangle over all of it.
    const MaskBounds& content = shapes[0].bounds;
    EXPECT_EQ(board.mask.dirty, (DirtyRect{firstAt->x, firstAt->y, firstAt->x + content.x1 - content.x0 - 1,
                                           firstAt->y + content.y1 - content.y0 - 1}));

    const std::optional<Point> secondAt = Search(Library(), board, shapes[1]);
    ASSERT_TRUE(secondAt.has_value()) << Picture(board);
    EXPECT_FALSE(CoversACoveredPixel(board, second, shapes[1], *secondAt)) << Picture(board);

    // Without the stamp, the second shape would have gone where the first now lies.
    const std::optional<Point> secondWithoutFirst = Search(Library(), boardWithoutFirst, shapes[1]);
    ASSERT_TRUE(secondWithoutFirst.has_value());
    EXPECT_TRUE(CoversACoveredPixel(board, second, shapes[1], *secondWithoutFirst)) << Picture(board);
}

MASKFIT_EACH_LIBRARY(PipelineTest);

}  // namespace

#include <gtest/gtest.h>

#include <algorithm>

#include "builtin_shapes.h"
#include "mask_storage.h"
#include "scenario.h"
#include "started_library.h"

namespace {

using demo::ScenarioResult;
using demo::ScenarioSettings;
using demo::ShapeOutcome;

ScenarioResult RunOnBoard(int32_t width, int32_t height, int32_t step) {
    ScenarioSettings settings;
    settings.boardWidth = width;
    settings.boardHeight = height;
    settings.step = step;
    return demo::RunScenario(demotest::StartedLibrary(), settings);
}

int64_t ObstaclePixels(const std::vector<uint8_t>& pixels) {
    return std::count(pixels.begin(), pixels.end(), demo::kObstacle);
}

MaskBounds PlacedRectangle(const ShapeOutcome& shape) {
    const MaskBounds& c = shape.content;
    return MaskBounds{shape.x, shape.y, shape.x + c.x1 - c.x0, shape.y + c.y1 - c.y0};
}

bool Disjoint(const MaskBounds& a, const MaskBounds& b) {
    return a.x1 <= b.x0 || b.x1 <= a.x0 || a.y1 <= b.y0 || b.y1 <= a.y0;
}

// With the rectangle fill every pixel of a content rectangle is covered, so
// legal placements are rectangles apart from each other and from every
// obstacle, inside the board.
void ExpectLegalPlacements(const ScenarioResult& result) {
    demo::OwnedBoard bare = demo::MakeBoard(result.board.mask.width, result.board.mask.height);
    demo::PlaceObstacles(bare);
    EXPECT_EQ(ObstaclePixels(result.board.pixels.bytes), ObstaclePixels(bare.pixels.bytes));
    for (size_t i = 0; i < result.shapes.size(); ++i) {
        if (!result.shapes[i].placed) {
            continue;
        }
        const MaskBounds placed = PlacedRectangle(result.shapes[i]);
        EXPECT_GE(placed.x0, 0);
        EXPECT_GE(placed.y0, 0);
        EXPECT_LE(placed.x1, result.board.mask.width);
        EXPECT_LE(placed.y1, result.board.mask.height);
        for (size_t j = 0; j < i; ++j) {
            EXPECT_TRUE(!result.shapes[j].placed || Disjoint(placed, PlacedRectangle(result.shapes[j])))
                << result.shapes[i].name << " overlaps " << result.shapes[j].name;
        }
    }
}

TEST(Scenario, PlacesEveryShapeThatFitsWithoutOverlap) {
    const ScenarioResult result = RunOnBoard(96, 64, 1);
    ASSERT_EQ(result.shapes.size(), demo::BuiltinShapes().size());
    ExpectLegalPlacements(result);
    const int64_t placed = std::count_if(result.shapes.begin(), result.shapes.end(),
                                         [](const ShapeOutcome& s) { return s.placed; });
    EXPECT_EQ(placed, 5);
    EXPECT_FALSE(result.shapes.back().placed) << "the slab has no room on the default board";
}

// The owner of a pixel is the shape whose stamp wrote it: every covered
// pixel inside a placed rectangle belongs to that shape, everything else
// (obstacles, empty board) to none.
TEST(Scenario, KnowsWhichShapeWroteEachPixel) {
    const ScenarioResult result = RunOnBoard(96, 64, 1);
    const std::vector<uint8_t>& pixels = result.board.pixels.bytes;
    ASSERT_EQ(result.owners.size(), pixels.size());
    for (int32_t y = 0; y < 64; ++y) {
        for (int32_t x = 0; x < 96; ++x) {
            const size_t at = static_cast<size_t>(y) * 96 + x;
            int32_t inside = demo::kNoOwner;
            for (size_t k = 0; k < result.shapes.size(); ++k) {
                const MaskBounds r = PlacedRectangle(result.shapes[k]);
                if (result.shapes[k].placed && x >= r.x0 && x < r.x1 && y >= r.y0 && y < r.y1) {
                    inside = static_cast<int32_t>(k);
                }
            }
            const bool stamped = pixels[at] != FILL_EMPTY && pixels[at] != demo::kObstacle;
            EXPECT_EQ(result.owners[at], stamped ? inside : demo::kNoOwner) << x << ", " << y;
        }
    }
}

TEST(Scenario, PlacesEveryShapeOnALargeBoard) {
    const ScenarioResult result = RunOnBoard(240, 160, 1);
    ExpectLegalPlacements(result);
    for (const ShapeOutcome& shape : result.shapes) {
        EXPECT_TRUE(shape.placed) << shape.name;
    }
}

TEST(Scenario, TriesOnlyPositionsOnTheStepGrid) {
    const ScenarioResult result = RunOnBoard(96, 64, 8);
    ExpectLegalPlacements(result);
    for (const ShapeOutcome& shape : result.shapes) {
        if (shape.placed) {
            EXPECT_EQ(shape.x % 8, 0) << shape.name;
            EXPECT_EQ(shape.y % 8, 0) << shape.name;
        }
    }
}

TEST(Scenario, ABoardTooSmallForAnyShapeLeavesOnlyObstacles) {
    const ScenarioResult result = RunOnBoard(6, 5, 1);
    for (const ShapeOutcome& shape : result.shapes) {
        EXPECT_FALSE(shape.placed) << shape.name;
    }
    demo::OwnedBoard bare = demo::MakeBoard(6, 5);
    demo::PlaceObstacles(bare);
    EXPECT_EQ(result.board.pixels.bytes, bare.pixels.bytes);
}

// The search limits a candidate by x + bounds.x1; the demo raises the
// board's limits by the content rectangle's offset, so a shape whose content
// starts away from its mask's corner still reaches the board's edge. The
// library's corner probes read one column and one row past the rectangle,
// which must stay on the board.
TEST(Scenario, ShapeWithOffsetContentFillsTheBoardUpToTheProbedEdge) {
    demo::Mesh mesh;
    demo::AddRectangle(mesh, 5, 5, 9, 9);
    const demo::OwnedShape shape = demo::BuildShape(demotest::StartedLibrary(), mesh, demo::BuildSettings{});
    ASSERT_EQ(shape.mask.bounds.x0, 4);
    ASSERT_EQ(shape.mask.bounds.x1, 11);
    ASSERT_EQ(shape.mask.bounds.y1, 11);

    demo::OwnedBoard exact = demo::MakeBoard(8, 8);  // 7 x 7 rectangle plus the probed column and row
    const ShapeOutcome fit = demo::PlaceShape(demotest::StartedLibrary(), exact, shape, 1);
    EXPECT_TRUE(fit.placed);
    EXPECT_EQ(fit.x, 0);
    EXPECT_EQ(fit.y, 0);

    demo::OwnedBoard narrow = demo::MakeBoard(7, 8);
    EXPECT_FALSE(demo::PlaceShape(demotest::StartedLibrary(), narrow, shape, 1).placed);
}

}  // namespace

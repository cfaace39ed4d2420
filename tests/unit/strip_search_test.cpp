// The strip search against the fit test at each candidate in turn, on boards
// with lone pixels and gaps around the shape's size, for shapes covered all
// over (the search decides alone) and shapes with holes (it filters by their
// core), narrower and wider than a strip, with steps below, at and above it.
#include "masks/search/strip_search.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "masks/fitting/fit_test_fast.h"

namespace {

using maskfit::AxisCandidates;
using maskfit::CandidateGrid;
using maskfit::FitLayout;

struct Scene {
    std::vector<uint8_t> board;
    std::vector<uint8_t> shape;
    BoardMask mask{};
    FitLayout layout{};
    CandidateGrid grid{};
};

// Mostly empty rows with a few lone pixels, or crowded rows with gaps about
// as wide as the shape; the far corner of the shape set or not.
Scene RandomScene(std::mt19937& random) {
    Scene scene;
    const int32_t w = 1 + static_cast<int32_t>(random() % 140);
    const int32_t h = 1 + static_cast<int32_t>(random() % 6);
    const int32_t width = w + 1 + static_cast<int32_t>(random() % 200);
    const int32_t height = h + 1 + static_cast<int32_t>(random() % 10);
    scene.board.assign(static_cast<size_t>(width) * height, 0);
    const bool crowded = random() % 2 == 0;
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = scene.board.data() + static_cast<size_t>(y) * width;
        if (crowded) {
            std::fill(row, row + width, FILL_INTERIOR);
            const int32_t gap = static_cast<int32_t>(random() % width);
            const int32_t end = std::min(width, gap + w + static_cast<int32_t>(random() % 3));
            std::fill(row + gap, row + end, 0);
        } else {
            for (int32_t lone = static_cast<int32_t>(random() % 3); lone > 0; --lone) {
                row[random() % width] = FILL_BORDER;
            }
        }
    }
    scene.shape.assign(static_cast<size_t>(w) * h, FILL_RECT);
    if (random() % 2 == 0) {
        for (uint8_t& pixel : scene.shape) {
            pixel = random() % 8 == 0 ? 0 : pixel;
        }
    }
    scene.mask.width = width;
    scene.mask.height = height;
    scene.mask.pixels.data = scene.board.data();
    scene.mask.pixels.length = static_cast<int32_t>(scene.board.size());
    scene.mask.pixels.maxIndex = scene.mask.pixels.length - 1;
    const bool cornerSet = scene.shape[0] != 0;
    scene.layout = FitLayout{w, h, true, cornerSet, random() % 2 == 0, random() % 2 == 0, scene.shape.data(), w};
    const int64_t xStep = 1 + static_cast<int64_t>(random() % 3 == 0 ? 60 + random() % 8 : random() % 3);
    const int64_t yStep = 1 + static_cast<int64_t>(random() % 2);
    scene.grid.columns = AxisCandidates{0, xStep, (width - 1 - w) / xStep + 1};
    scene.grid.rows = AxisCandidates{0, yStep, (height - 1 - h) / yStep + 1};
    return scene;
}

TEST(StripSearch, FindsTheFitTheFitTestFindsFirst) {
    std::mt19937 random(21);
    int searched = 0;
    for (int i = 0; i < 3000; ++i) {
        Scene scene = RandomScene(random);
        const CandidateGrid& grid = scene.grid;
        bool expected = false;
        int64_t expectedX = 0;
        int64_t expectedY = 0;
        for (int64_t k = 0; k < grid.rows.count && !expected; ++k) {
            for (int64_t m = 0; m < grid.columns.count && !expected; ++m) {
                expected = maskfit::FitsAt(scene.layout, scene.mask, grid.columns.At(m), grid.rows.At(k));
                expectedX = grid.columns.At(m);
                expectedY = grid.rows.At(k);
            }
        }
        maskfit::CoveredCore core{};
        if (!maskfit::FindCoveredCore(scene.layout, core)) {
            continue;  // no core to search by
        }
        ++searched;
        int64_t x = -1;
        int64_t y = -1;
        ASSERT_EQ(maskfit::FirstFitByStrips(scene.mask, scene.layout, core, grid, x, y), expected) << "scene " << i;
        if (expected) {
            ASSERT_EQ(x, expectedX) << "scene " << i;
            ASSERT_EQ(y, expectedY) << "scene " << i;
        }
    }
    EXPECT_GT(searched, 2500);
}

// A shape taller than the rows the search keeps: its core is cut to that
// height, and a pixel near the top of the board, under the part of the
// shape outside the core, still blocks.
TEST(StripSearch, TallShapeIsSearchedByACutCore) {
    constexpr int32_t kHeight = maskfit::kStripSearchMaxHeight + 45;
    std::vector<uint8_t> shape(kHeight, FILL_RECT);
    const FitLayout layout{1, kHeight, true, true, true, true, shape.data(), 1};
    maskfit::CoveredCore core{};
    ASSERT_TRUE(maskfit::FindCoveredCore(layout, core));
    EXPECT_EQ(core.h, maskfit::kStripSearchMaxHeight);
    for (const int32_t blockedRow : {0, 3, kHeight - 1}) {
        std::vector<uint8_t> board(4 * (kHeight + 2), 0);
        board[static_cast<size_t>(blockedRow) * 4] = FILL_INTERIOR;
        BoardMask mask{};
        mask.width = 4;
        mask.pixels.data = board.data();
        mask.pixels.maxIndex = static_cast<int32_t>(board.size()) - 1;
        const CandidateGrid grid{AxisCandidates{0, 1, 2}, AxisCandidates{0, 1, 2}};
        int64_t x = -1;
        int64_t y = -1;
        ASSERT_TRUE(maskfit::FirstFitByStrips(mask, layout, core, grid, x, y));
        EXPECT_EQ(x, 1) << "blocked row " << blockedRow;
        EXPECT_EQ(y, 0) << "blocked row " << blockedRow;
    }
}

TEST(StripSearch, CoreOfACoveredRectangleIsTheWholeRectangle) {
    std::vector<uint8_t> shape(12 * 5, FILL_RECT);
    const FitLayout layout{12, 5, true, true, true, true, shape.data(), 12};
    maskfit::CoveredCore core{};
    ASSERT_TRUE(maskfit::FindCoveredCore(layout, core));
    EXPECT_EQ(core.x, 0);
    EXPECT_EQ(core.y, 0);
    EXPECT_EQ(core.w, 12);
    EXPECT_EQ(core.h, 5);
}

TEST(StripSearch, CoreStaysInsideTheSetPixels) {
    // A plus sign: the core is one of its bars, whole.
    std::vector<uint8_t> shape(7 * 7, 0);
    for (int32_t i = 0; i < 7; ++i) {
        shape[static_cast<size_t>(3 * 7 + i)] = FILL_INTERIOR;
        shape[static_cast<size_t>(i * 7 + 3)] = FILL_INTERIOR;
    }
    const FitLayout layout{7, 7, true, false, false, false, shape.data(), 7};
    maskfit::CoveredCore core{};
    ASSERT_TRUE(maskfit::FindCoveredCore(layout, core));
    EXPECT_EQ(static_cast<int64_t>(core.w) * core.h, 7);
    for (int32_t y = core.y; y < core.y + core.h; ++y) {
        for (int32_t x = core.x; x < core.x + core.w; ++x) {
            EXPECT_NE(shape[static_cast<size_t>(y * 7 + x)], 0) << x << ", " << y;
        }
    }
}

}  // namespace

// The erosion search against the fit test at each candidate in row order,
// on boards of lone pixels, of crowded rows with gaps about the shape's
// width, or of blobs, with a few spaces the shape's size carved out; for
// shapes covered all over (the search decides alone) and shapes with holes
// (it filters by their core), short ones streamed in one tile, and tall or
// wide ones whose grid takes several tiles and several bands of rows; with
// steps of one, of a few, of the core's size and beyond, and candidates from
// column -2 and row -1 on.
#include "masks/search/erosion_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "masks/fitting/fit_test_fast.h"
#include "masks/search/covered_core.h"

namespace {

using maskfit::AxisCandidates;
using maskfit::CandidateGrid;
using maskfit::FitLayout;

int64_t Between(std::mt19937& random, int64_t lo, int64_t hi) {
    return lo + static_cast<int64_t>(random() % static_cast<uint64_t>(hi - lo + 1));
}

struct Sizes {
    int64_t shapeWidth;
    int64_t shapeHeight;
    int64_t boardWidth;
    int64_t boardHeight;
};

// Short shapes stream in one tile; taller ones leave a tile fewer columns,
// so that their grids take several, and the tallest are cut to the core
// height the search takes.
Sizes RandomSizes(std::mt19937& random) {
    switch (random() % 4) {
        case 0:
        case 1: {
            const int64_t w = Between(random, 1, 140);
            const int64_t h = Between(random, 1, 6);
            return Sizes{w, h, w + Between(random, 1, 200), h + Between(random, 1, 12)};
        }
        case 2: {
            const int64_t w = Between(random, 8, 90);
            const int64_t h = Between(random, 40, 70);
            return Sizes{w, h, w + Between(random, 1, 900), h + Between(random, 1, 3 * h)};
        }
        default: {
            const int64_t w = Between(random, 1, 150);
            const int64_t h = Between(random, 240, 270);
            return Sizes{w, h, w + Between(random, 1, 450), h + Between(random, 1, 60)};
        }
    }
}

// A board with a spare row and two pixels before it and a spare row after
// it, so that candidates from column -2 and row -1 read memory of the test.
struct Board {
    std::vector<uint8_t> memory;
    BoardMask mask{};
    int64_t width;
    int64_t height;

    Board(int64_t w, int64_t h) : memory(static_cast<size_t>((h + 2) * w + 2), 0), width(w), height(h) {
        mask.width = static_cast<int32_t>(w);
        mask.pixels.data = memory.data() + w + 2;
        mask.pixels.minIndex = static_cast<int32_t>(-(w + 2));
        mask.pixels.maxIndex = static_cast<int32_t>((h + 1) * w - 1);
    }
    uint8_t& At(int64_t x, int64_t y) { return static_cast<uint8_t*>(mask.pixels.data)[y * width + x]; }
};

// Lone pixels, crowded rows with gaps about the shape's width, or blobs;
// then up to two spaces a little larger than the shape cleared.
void FillBoard(std::mt19937& random, Board& board, const Sizes& sizes) {
    const int64_t kind = random() % 3;
    for (uint8_t& pixel : board.memory) {
        pixel = kind == 0 && random() % 400 == 0 ? FILL_BORDER : 0;
    }
    for (int64_t y = -1; kind == 1 && y <= board.height; ++y) {
        const int64_t gap = Between(random, 0, board.width - 1);
        const int64_t end = std::min(board.width, gap + sizes.shapeWidth + Between(random, 0, 2));
        for (int64_t x = 0; x < board.width; ++x) {
            board.At(x, y) = x >= gap && x < end ? 0 : FILL_INTERIOR;
        }
    }
    for (int64_t blobs = kind == 2 ? Between(random, 1, 40) : 0; blobs > 0; --blobs) {
        const int64_t cx = Between(random, 0, board.width - 1);
        const int64_t cy = Between(random, 0, board.height - 1);
        const int64_t r = Between(random, 1, 12);
        for (int64_t y = std::max<int64_t>(0, cy - r); y <= std::min(board.height - 1, cy + r); ++y) {
            for (int64_t x = std::max<int64_t>(0, cx - r); x <= std::min(board.width - 1, cx + r); ++x) {
                board.At(x, y) = (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r ? 255 : board.At(x, y);
            }
        }
    }
    for (int64_t spaces = Between(random, 0, 2); spaces > 0; --spaces) {
        const int64_t x0 = Between(random, 0, board.width - 1);
        const int64_t y0 = Between(random, 0, board.height - 1);
        for (int64_t y = y0; y < std::min(board.height, y0 + sizes.shapeHeight + 2); ++y) {
            for (int64_t x = x0; x < std::min(board.width, x0 + sizes.shapeWidth + 2); ++x) {
                board.At(x, y) = 0;
            }
        }
    }
}

// The covered pixels of every rectangle the candidates reach, from a
// summed-area table over rows -1 to height and columns -2 to width.
class CoveredCount {
public:
    explicit CoveredCount(Board& board)
        : columns_(board.width + 4), sums_(static_cast<size_t>((board.height + 3) * (board.width + 4)), 0) {
        for (int64_t y = -1; y <= board.height; ++y) {
            for (int64_t x = -2; x <= board.width; ++x) {
                const bool inMemory = y < board.height || x < board.width;
                const int64_t covered = inMemory && board.At(x, y) != 0 ? 1 : 0;
                Sum(x + 1, y + 1) = covered + Sum(x, y + 1) + Sum(x + 1, y) - Sum(x, y);
            }
        }
    }
    // Covered pixels of columns [x, x + w) and rows [y, y + h).
    int64_t In(int64_t x, int64_t y, int64_t w, int64_t h) {
        return Sum(x + w, y + h) - Sum(x, y + h) - Sum(x + w, y) + Sum(x, y);
    }

private:
    // Of the pixels from column -2 and row -1 up to column x and row y, both excluded.
    int64_t& Sum(int64_t x, int64_t y) { return sums_[static_cast<size_t>((y + 1) * columns_ + x + 2)]; }
    int64_t columns_;
    std::vector<int64_t> sums_;
};

// Steps of one mostly, else a few, else about the core's size (where core
// windows stop sharing rows or columns) or well beyond it.
int64_t RandomStep(std::mt19937& random, int64_t coreSize) {
    if (random() % 2 == 0) {
        return 1;
    }
    if (random() % 2 == 0) {
        return Between(random, 2, 5);
    }
    return std::max<int64_t>(1, coreSize + Between(random, -1, 1) + (random() % 4 == 0 ? 60 : 0));
}

// Candidates from `first` up to the last whose reach stays in the board.
AxisCandidates RandomAxis(std::mt19937& random, int64_t first, int64_t reach, int64_t limit, int64_t coreSize) {
    const int64_t step = RandomStep(random, coreSize);
    const int64_t room = limit - 1 - reach - first;  // negative: not even `first` stays inside
    return AxisCandidates{first, step, room < 0 ? 0 : room / step + 1};
}

TEST(ErosionSearch, FindsTheFitTheFitTestFindsFirst) {
    std::mt19937 random(21);
    int searched = 0;
    int found = 0;
    for (int i = 0; i < 1500; ++i) {
        SCOPED_TRACE("scene " + std::to_string(i));
        const Sizes sizes = RandomSizes(random);
        const int64_t w = sizes.shapeWidth;
        const int64_t h = sizes.shapeHeight;
        Board board(sizes.boardWidth, sizes.boardHeight);
        FillBoard(random, board, sizes);
        std::vector<uint8_t> shape(static_cast<size_t>(w * h), FILL_RECT);
        if (random() % 3 == 0) {
            for (uint8_t& pixel : shape) {
                pixel = random() % 8 == 0 ? 0 : pixel;
            }
        }
        const FitLayout layout{static_cast<int32_t>(w), static_cast<int32_t>(h), true, shape[0] != 0,
                               random() % 2 == 0, random() % 2 == 0, shape.data(), static_cast<int32_t>(w)};
        maskfit::CoveredCore core{};
        if (!maskfit::FindCoveredCore(layout, maskfit::kErosionMaxCoreHeight, core)) {
            continue;  // no core to search by
        }
        const CandidateGrid grid{RandomAxis(random, Between(random, -2, 2), w, board.width, core.w),
                                 RandomAxis(random, Between(random, -1, 2), h, board.height, core.h)};
        // The oracle: the fit test at each candidate in turn, skipping those
        // with a covered pixel under the core, which cannot fit.
        CoveredCount covered(board);
        bool expected = false;
        int64_t expectedX = 0;
        int64_t expectedY = 0;
        for (int64_t k = 0; k < grid.rows.count && !expected; ++k) {
            for (int64_t m = 0; m < grid.columns.count && !expected; ++m) {
                expectedX = grid.columns.At(m);
                expectedY = grid.rows.At(k);
                expected = covered.In(expectedX + core.x, expectedY + core.y, core.w, core.h) == 0 &&
                           maskfit::FitsAt(layout, board.mask, expectedX, expectedY);
            }
        }
        ++searched;
        found += expected ? 1 : 0;
        int64_t x = -1;
        int64_t y = -1;
        ASSERT_EQ(maskfit::FirstFitByErosion(board.mask, layout, core, grid, x, y), expected);
        if (expected) {
            ASSERT_EQ(x, expectedX);
            ASSERT_EQ(y, expectedY);
        }
    }
    EXPECT_GT(searched, 1300);
    EXPECT_GT(found, searched / 3);
    EXPECT_LT(found, searched * 9 / 10);
}

// The oracle of the searches below: the first candidate in row order whose
// core window is clear and which the fit test passes.
bool FirstFitInTurn(Board& board, const FitLayout& layout, const maskfit::CoveredCore& core, const CandidateGrid& grid,
                    int64_t& x, int64_t& y) {
    CoveredCount covered(board);
    for (int64_t k = 0; k < grid.rows.count; ++k) {
        for (int64_t m = 0; m < grid.columns.count; ++m) {
            x = grid.columns.At(m);
            y = grid.rows.At(k);
            if (covered.In(x + core.x, y + core.y, core.w, core.h) == 0 && maskfit::FitsAt(layout, board.mask, x, y)) {
                return true;
            }
        }
    }
    return false;
}

// A w x h shape covered all over, its probes off, and its core.
struct CoveredShape {
    std::vector<uint8_t> pixels;
    FitLayout layout{};
    maskfit::CoveredCore core{};

    CoveredShape(int64_t w, int64_t h) : pixels(static_cast<size_t>(w * h), FILL_RECT) {
        layout = FitLayout{static_cast<int32_t>(w), static_cast<int32_t>(h), true, false, false, false, pixels.data(),
                           static_cast<int32_t>(w)};
        EXPECT_TRUE(maskfit::FindCoveredCore(layout, maskfit::kErosionMaxCoreHeight, core));
    }
};

// A board covered but for one gap as wide as the shape, or a pixel less, at
// every column offset within a byte and at rows inside a block of core rows
// and at its start: the search skips rows whose all-set bytes are too few,
// and must skip none that holds a fit.
TEST(ErosionSearch, GapJustTheShapesWidthIsFoundAtEveryOffset) {
    int fits = 0;
    for (int64_t w = 14; w <= 80; ++w) {
        for (const int64_t h : {1, 5, 40}) {
            const CoveredShape shape(w, h);
            const FitLayout& layout = shape.layout;
            const maskfit::CoveredCore& core = shape.core;
            for (int64_t offset = 0; offset < 8; ++offset) {
                for (const int64_t gapWidth : {w - 1, w}) {
                    const int64_t x0 = 67 + offset;
                    const int64_t y0 = offset % 2 == 0 ? 2 * h + 1 : 3 * h;
                    Board board(x0 + w + 40, y0 + h + 6);
                    std::fill(board.memory.begin(), board.memory.end(), FILL_INTERIOR);
                    for (int64_t y = y0; y < y0 + h; ++y) {
                        std::fill_n(&board.At(x0, y), gapWidth, 0);
                    }
                    const int64_t rowStep = offset % 3 == 2 ? 2 : 1;
                    const CandidateGrid grid{AxisCandidates{0, 1, board.width - w},
                                             AxisCandidates{y0 % rowStep, rowStep, (board.height - h) / rowStep}};
                    int64_t expectedX = 0;
                    int64_t expectedY = 0;
                    const bool expected = FirstFitInTurn(board, layout, core, grid, expectedX, expectedY);
                    ASSERT_EQ(expected, gapWidth == w) << w << " x " << h << ", offset " << offset;
                    int64_t x = -1;
                    int64_t y = -1;
                    ASSERT_EQ(maskfit::FirstFitByErosion(board.mask, layout, core, grid, x, y), expected)
                        << w << " x " << h << ", offset " << offset << ", gap " << gapWidth;
                    if (expected) {
                        ++fits;
                        EXPECT_EQ(x, x0) << w << " x " << h << ", offset " << offset;
                        EXPECT_EQ(y, y0) << w << " x " << h << ", offset " << offset;
                    }
                }
            }
        }
    }
    EXPECT_EQ(fits, 67 * 3 * 8);
}

// A free place just past the last candidate column, on a row before the
// first fit: the search must not take it, whatever word the grid ends in.
TEST(ErosionSearch, PlaceJustPastTheLastCandidateColumnIsNotTaken) {
    for (const int64_t side : {1, 7, 33}) {
        const CoveredShape shape(side, side);
        const FitLayout& layout = shape.layout;
        const maskfit::CoveredCore& core = shape.core;
        for (int64_t columns = 1; columns <= 140; ++columns) {
            Board board(columns + 2 * side + 70, 3 * side + 4);
            std::fill(board.memory.begin(), board.memory.end(), FILL_INTERIOR);
            const auto clear = [&](int64_t x0, int64_t y0) {
                for (int64_t y = y0; y < y0 + side; ++y) {
                    std::fill_n(&board.At(x0, y), side, 0);
                }
            };
            clear(columns, 1);
            clear(0, side + 2);
            const CandidateGrid grid{AxisCandidates{0, 1, columns}, AxisCandidates{0, 1, side + 3}};
            int64_t expectedX = -1;
            int64_t expectedY = -1;
            ASSERT_TRUE(FirstFitInTurn(board, layout, core, grid, expectedX, expectedY));
            ASSERT_EQ(expectedX, 0);
            ASSERT_EQ(expectedY, side + 2);
            int64_t x = -1;
            int64_t y = -1;
            ASSERT_TRUE(maskfit::FirstFitByErosion(board.mask, layout, core, grid, x, y));
            EXPECT_EQ(x, 0) << side << ", " << columns << " columns";
            EXPECT_EQ(y, side + 2) << side << ", " << columns << " columns";
        }
    }
}

// A shape taller than the rows the search keeps: its core is cut to that
// height, and a pixel near the top of the board, under the part of the
// shape outside the core, still blocks.
TEST(ErosionSearch, TallShapeIsSearchedByACutCore) {
    constexpr int32_t kHeight = maskfit::kErosionMaxCoreHeight + 45;
    std::vector<uint8_t> shape(kHeight, FILL_RECT);
    const FitLayout layout{1, kHeight, true, true, true, true, shape.data(), 1};
    maskfit::CoveredCore core{};
    ASSERT_TRUE(maskfit::FindCoveredCore(layout, maskfit::kErosionMaxCoreHeight, core));
    EXPECT_EQ(core.h, maskfit::kErosionMaxCoreHeight);
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
        ASSERT_TRUE(maskfit::FirstFitByErosion(mask, layout, core, grid, x, y));
        EXPECT_EQ(x, 1) << "blocked row " << blockedRow;
        EXPECT_EQ(y, 0) << "blocked row " << blockedRow;
    }
}

TEST(ErosionSearch, CoreOfACoveredRectangleIsTheWholeRectangle) {
    std::vector<uint8_t> shape(12 * 5, FILL_RECT);
    const FitLayout layout{12, 5, true, true, true, true, shape.data(), 12};
    maskfit::CoveredCore core{};
    ASSERT_TRUE(maskfit::FindCoveredCore(layout, maskfit::kErosionMaxCoreHeight, core));
    EXPECT_EQ(core.x, 0);
    EXPECT_EQ(core.y, 0);
    EXPECT_EQ(core.w, 12);
    EXPECT_EQ(core.h, 5);
}

TEST(ErosionSearch, CoreStaysInsideTheSetPixels) {
    // A plus sign: the core is one of its bars, whole.
    std::vector<uint8_t> shape(7 * 7, 0);
    for (int32_t i = 0; i < 7; ++i) {
        shape[static_cast<size_t>(3 * 7 + i)] = FILL_INTERIOR;
        shape[static_cast<size_t>(i * 7 + 3)] = FILL_INTERIOR;
    }
    const FitLayout layout{7, 7, true, false, false, false, shape.data(), 7};
    maskfit::CoveredCore core{};
    ASSERT_TRUE(maskfit::FindCoveredCore(layout, maskfit::kErosionMaxCoreHeight, core));
    EXPECT_EQ(static_cast<int64_t>(core.w) * core.h, 7);
    for (int32_t y = core.y; y < core.y + core.h; ++y) {
        for (int32_t x = core.x; x < core.x + core.w; ++x) {
            EXPECT_NE(shape[static_cast<size_t>(y * 7 + x)], 0) << x << ", " << y;
        }
    }
}

}  // namespace

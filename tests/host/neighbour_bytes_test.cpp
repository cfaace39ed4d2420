// The host may run jobs on several threads that write different pixels of
// one mask; the checked path touches only its own pixels, so a fast path may
// store to no other byte, not even to write back the value it just read.
// Each scene puts the pixels the checked path leaves alone on a read-only
// page right after pixels it writes, with one vector chunk across the
// boundary: a store to any byte of that page ends the test program.
#include <algorithm>

#include "drawing_support.h"
#include "page_memory.h"

namespace {

using mftest::EachLibraryTest;
using mftest::PageMemory;

constexpr int32_t kWidth = 64;
constexpr int32_t kBefore = 20;  // pixels of the boundary row on the writable page

// Two pages; a mask of kWidth columns whose row `boundaryRow` starts
// kBefore bytes before the second page, which holds `neighbour` in every
// byte and is read-only.
struct PagedPixels {
    PageMemory memory{2};
    uint8_t* pixels;
    uint32_t versionWord = 0;

    PagedPixels(int32_t rows, int32_t boundaryRow, uint8_t neighbour)
        : pixels(memory.Page(1) - kBefore - static_cast<int64_t>(boundaryRow) * kWidth) {
        std::fill(memory.Page(0), memory.Page(1), 0);
        std::fill(memory.Page(1), memory.Page(1) + PageMemory::PageSize(), neighbour);
        memory.MakeReadOnly(1);
        length = rows * kWidth;
    }
    CheckedArray View() { return mftest::ViewOf(pixels, length, &versionWord); }
    uint8_t At(int32_t x, int32_t y) const { return pixels[y * kWidth + x]; }

    int32_t length;
};

ShapeMask PagedShape(PagedPixels& paged, int32_t height) {
    ShapeMask mask{};
    mask.width = kWidth;
    mask.height = height;
    mask.bounds = MaskBounds{kWidth, kWidth, 0, 0};
    mask.dirty = mftest::UntouchedDirty();
    mask.pixels = paged.View();
    return mask;
}

class NeighbourBytesTest : public EachLibraryTest {};
MASKFIT_EACH_LIBRARY(NeighbourBytesTest);

TEST_P(NeighbourBytesTest, BlitStoresOnlyUnderSetSourcePixels) {
    PagedPixels paged(3, 1, 255);
    BoardMask board{};
    board.width = kWidth;
    board.height = 3;
    board.dirty = mftest::UntouchedDirty();
    board.pixels = paged.View();
    mftest::TestShape shape(kWidth, 1);
    for (int32_t x = 0; x < kBefore; ++x) {
        shape.Set(x, 0, FILL_INTERIOR);
    }
    shape.mask.bounds = MaskBounds{0, 0, kWidth, 1};
    const auto outcome = hostsim::Run([&] { Library().blitShape(nullptr, &board, &shape.mask, 0, 1); });
    ASSERT_EQ(outcome.ending, hostsim::Ending::kReturned);
    EXPECT_EQ(paged.At(kBefore - 1, 1), FILL_INTERIOR);
    EXPECT_EQ(board.dirty, (DirtyRect{0, 1, kBefore - 1, 1}));
}

TEST_P(NeighbourBytesTest, BrushStoresOnlyToEmptyPixels) {
    PagedPixels paged(3, 1, FILL_RECT);
    ShapeMask mask = PagedShape(paged, 3);
    const auto outcome = hostsim::Run([&] { Library().paintBorder(&mask, nullptr, FILL_BORDER, 32, 1, 32, 1); });
    ASSERT_EQ(outcome.ending, hostsim::Ending::kReturned);
    EXPECT_EQ(paged.At(kWidth - 1, 0), FILL_BORDER);
    EXPECT_EQ(paged.At(kBefore - 1, 1), FILL_BORDER);
    EXPECT_EQ(mask.dirty, (DirtyRect{0, 0, kWidth - 1, 1}));
}

// Two triangles fill rows 0 and 1, columns 0 to 20, shifted by the margin of
// 2; the margin reaches row 4, whose pixels from column kBefore on are covered.
TEST_P(NeighbourBytesTest, MarginStoresOnlyToEmptyPixels) {
    PagedPixels paged(8, 4, FILL_RECT);
    ShapeMask mask = PagedShape(paged, 8);
    const Vec2 corners[4] = {{0, 0}, {20, 0}, {20, 1}, {0, 1}};
    const int32_t indices[6] = {0, 1, 2, 0, 2, 3};
    int32_t result = 0;
    const auto outcome = hostsim::Run([&] {
        result = Library().rasterizeTriangles(0, 0, 0, corners, 0, indices, 6, &mask, 2, 2);
    });
    ASSERT_EQ(outcome.ending, hostsim::Ending::kReturned);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(paged.At(22, 3), FILL_INTERIOR);
    EXPECT_EQ(paged.At(kBefore - 1, 4), FILL_BORDER);
    EXPECT_EQ(mask.dirty, (DirtyRect{0, 0, 23, 4}));
}

}  // namespace

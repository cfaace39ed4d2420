// The inside word of a tiny box against the checked path's pixel-by-pixel
// stepping, on scans of every box up to nine pixels each way with starts
// and steps around the 16-bit limit and far past it; and the branch-free
// store of a short run, byte for byte with guards on both sides.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "masks/drawing/span_target.h"
#include "masks/drawing/tiny_triangles.h"

namespace {

using maskfit::EdgeValues;
using maskfit::TriangleScan;

// The checked path's own walk over the box: bit j of byte k for the pixel
// of column j, row k found inside.
uint64_t SteppedInside(const TriangleScan& scan) {
    uint64_t inside = 0;
    EdgeValues rowStart = scan.rowStart;
    for (int32_t k = 0; k <= scan.y1 - scan.y0; ++k) {
        EdgeValues e = rowStart;
        for (int32_t j = 0; j <= scan.x1 - scan.x0; ++j) {
            if (maskfit::Inside(e)) {
                inside |= uint64_t{1} << (8 * k + j);
            }
            e = maskfit::Add(e, scan.columnStep);
        }
        rowStart = maskfit::Add(rowStart, scan.rowStep);
    }
    return inside;
}

// Mostly small values of a tiny triangle, else the limit, one past it, or
// values whose sums wrap.
int32_t RandomEdgeValue(std::mt19937& random) {
    constexpr int32_t kSpecial[] = {2047, -2047, 2048, -2048, 40000, -40000, INT32_MAX, INT32_MIN, 0};
    switch (random() % 8u) {
        case 0: return kSpecial[random() % (sizeof kSpecial / sizeof kSpecial[0])];
        case 1: return static_cast<int32_t>(random() % 4095u) - 2047;
        default: return static_cast<int32_t>(random() % 61u) - 30;
    }
}

bool WithinLimit(const EdgeValues& v) {
    const auto within = [](int32_t x) { return x >= -2047 && x <= 2047; };
    return within(v.e0) && within(v.e1) && within(v.e2);
}

TEST(TinyTriangles, InsideWordIsTheSteppedInsideOfEveryPixel) {
    std::mt19937 random(9191);
    int64_t taken = 0;
    for (int trial = 0; trial < 200000 && !HasFailure(); ++trial) {
        TriangleScan scan{};
        scan.x0 = static_cast<int32_t>(random() % 1000u);
        scan.y0 = static_cast<int32_t>(random() % 1000u);
        scan.x1 = scan.x0 + static_cast<int32_t>(random() % 9u);
        scan.y1 = scan.y0 + static_cast<int32_t>(random() % 9u);
        for (EdgeValues* v : {&scan.rowStart, &scan.columnStep, &scan.rowStep}) {
            *v = {RandomEdgeValue(random), RandomEdgeValue(random), RandomEdgeValue(random)};
        }
        const bool tiny = scan.x1 - scan.x0 < 8 && scan.y1 - scan.y0 < 8 && WithinLimit(scan.rowStart) &&
                          WithinLimit(scan.columnStep) && WithinLimit(scan.rowStep);
        uint64_t inside = 0x5A5A;
        ASSERT_EQ(maskfit::TinyInsideBits(scan, inside), tiny) << "trial " << trial;
        if (tiny) {
            ++taken;
            EXPECT_EQ(inside, SteppedInside(scan)) << "trial " << trial;
        } else {
            EXPECT_EQ(inside, 0x5A5Au) << "trial " << trial;
        }
    }
    EXPECT_GT(taken, 10000);  // both sides of the limit were reached
}

TEST(TinyTriangles, ShortRunStoresExactlyItsPixels) {
    for (uint32_t first = 0; first < 8; ++first) {
        for (uint32_t last = first; last < 8; ++last) {
            std::vector<uint8_t> row(24, 7);
            uint8_t spare[4] = {};
            maskfit::StoreShortRun(row.data() + 8, first, last, 234, 234u * 0x01010101u, spare);
            for (uint32_t i = 0; i < 24; ++i) {
                EXPECT_EQ(row[i], i >= 8 + first && i <= 8 + last ? 234 : 7)
                    << "run " << first << ".." << last << " byte " << i;
            }
        }
    }
}

}  // namespace

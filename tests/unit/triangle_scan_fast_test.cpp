// The set-up of four triangles at once against the checked set-up of each,
// field by field, on corners from the whole float range: tidy coordinates,
// NaN, infinities, values past int32, denormals and -0, with scan limits of
// every size, in both orders of the corners.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "masks/drawing/triangle_scan.h"
#include "masks/drawing/triangle_scan_fast.h"

namespace {

float RandomCoordinate(std::mt19937& random) {
    constexpr float kSpecial[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                                  -std::numeric_limits<float>::infinity(), 2147483648.0f, -2147483648.0f,
                                  2147483520.0f, 1e10f, -1e10f, 1e-40f, -0.0f, 70000.0f};
    switch (random() % 10u) {
        case 0: return kSpecial[random() % (sizeof kSpecial / sizeof kSpecial[0])];
        case 1: return static_cast<float>(static_cast<int32_t>(random() % 200u) - 100);
        default: return static_cast<float>(static_cast<int32_t>(random() % 20000u) - 2000) / 100.0f;
    }
}

bool SameScan(const maskfit::TriangleScan& a, const maskfit::TriangleScan& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(TriangleScanFast, FourAtOnceGiveTheCheckedScanOfEach) {
    std::mt19937 random(4242);
    for (int trial = 0; trial < 50000 && !HasFailure(); ++trial) {
        ShapeMask mask{};
        constexpr int32_t kLimits[] = {1, 8, 100, 0, -5, INT32_MAX, INT32_MIN};
        mask.bounds.x0 = random() % 3u == 0 ? kLimits[random() % 7u] : static_cast<int32_t>(random() % 300u);
        mask.bounds.y0 = random() % 3u == 0 ? kLimits[random() % 7u] : static_cast<int32_t>(random() % 300u);
        std::vector<Vec2> corners(12);
        for (Vec2& corner : corners) {
            corner = {RandomCoordinate(random), RandomCoordinate(random)};
        }
        maskfit::FourTriangles four;
        for (int i = 0; i < 4; ++i) {
            for (int c = 0; c < 3; ++c) {
                four.corners[c][i] = &corners[static_cast<size_t>(3 * i + c)];
            }
        }
        const bool orient = random() % 4u != 0;
        maskfit::TriangleScan scans[4];
        const uint32_t drawn = maskfit::SetUpFourScans(mask, four, orient, scans);
        for (int i = 0; i < 4; ++i) {
            const Vec2* p = &corners[static_cast<size_t>(3 * i)];
            const maskfit::Triangle t = orient ? maskfit::OrderForRasterizer(p[0], p[1], p[2])
                                               : maskfit::Triangle{p[0], p[1], p[2]};
            maskfit::TriangleScan expected;
            const bool expectDrawn = maskfit::SetUpTriangleScan(mask, t.a, t.b, t.c, expected);
            ASSERT_EQ(((drawn >> i) & 1u) != 0, expectDrawn) << "trial " << trial << " lane " << i;
            if (expectDrawn) {
                EXPECT_TRUE(SameScan(scans[i], expected)) << "trial " << trial << " lane " << i;
            }
        }
    }
}

}  // namespace

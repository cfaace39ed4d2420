#include "masks/drawing/triangle_scan_fast.h"

#include <emmintrin.h>

#include <limits>

namespace maskfit {
namespace {

// Lanes x, y, 0, 0.
__m128 Corner(const Vec2& v) { return _mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(&v))); }

// Lanes x, y, -x, -y of a corner, NaN made +infinity: the least of such
// lanes over the corners holds the least x and y and the negated greatest,
// NaN left out as the checked maximum and minimum leave it out. Where every
// corner is NaN on an axis it holds infinity instead of NaN, and both
// truncate to INT32_MIN.
__m128 Extremes(__m128 corner) {
    const __m128 signs = _mm_setr_ps(0.0f, 0.0f, -0.0f, -0.0f);
    return _mm_min_ps(_mm_xor_ps(_mm_movelh_ps(corner, corner), signs),
                      _mm_set1_ps(std::numeric_limits<float>::infinity()));
}

EdgeValues Truncated(__m128 lanes) {
    alignas(16) int32_t values[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(values), _mm_cvttps_epi32(lanes));
    return {values[0], values[1], values[2]};
}

bool Negative(float value) { return _mm_cvtt_ss2si(_mm_set_ss(value)) < 0; }

}  // namespace

bool SetUpTriangleScanFast(const ShapeMask& mask, const Vec2& p0, const Vec2& p1, const Vec2& p2, bool orient,
                           TriangleScan& scan) {
    const bool exchange =
        orient && Negative((p1.x - p0.x) * (p2.y - p0.y) - (p1.y - p0.y) * (p2.x - p0.x));
    const __m128 first = Corner(p0);
    const __m128 second = Corner(p1);
    const __m128 pick = _mm_castsi128_ps(_mm_set1_epi32(exchange ? -1 : 0));
    const __m128 a = _mm_or_ps(_mm_and_ps(pick, second), _mm_andnot_ps(pick, first));
    const __m128 b = _mm_or_ps(_mm_and_ps(pick, first), _mm_andnot_ps(pick, second));
    const __m128 c = Corner(p2);

    const __m128 least = _mm_min_ps(_mm_min_ps(Extremes(a), Extremes(b)), Extremes(c));
    alignas(16) int32_t box[4];  // minX, minY, maxX, maxY
    _mm_store_si128(reinterpret_cast<__m128i*>(box),
                    _mm_cvttps_epi32(_mm_xor_ps(least, _mm_setr_ps(0.0f, 0.0f, -0.0f, -0.0f))));
    const int32_t limitX = WrapSub(mask.bounds.x0, 1);
    const int32_t limitY = WrapSub(mask.bounds.y0, 1);
    scan.x0 = box[0] > 0 ? box[0] : 0;
    scan.y0 = box[1] > 0 ? box[1] : 0;
    scan.x1 = box[2] < limitX ? box[2] : limitX;
    scan.y1 = box[3] < limitY ? box[3] : limitY;
    if (scan.y0 > scan.y1 || scan.x0 > scan.x1) {
        return false;
    }

    // Lane i is the edge from `from` to `to`: c to a, b to c, a to b.
    const __m128 cb = _mm_movelh_ps(c, b);  // c.x, c.y, b.x, b.y
    const __m128 ac = _mm_movelh_ps(a, c);
    const __m128 fromX = _mm_shuffle_ps(cb, a, _MM_SHUFFLE(2, 0, 2, 0));  // c.x, b.x, a.x, 0
    const __m128 fromY = _mm_shuffle_ps(cb, a, _MM_SHUFFLE(3, 1, 3, 1));
    const __m128 toX = _mm_shuffle_ps(ac, b, _MM_SHUFFLE(2, 0, 2, 0));    // a.x, c.x, b.x, 0
    const __m128 toY = _mm_shuffle_ps(ac, b, _MM_SHUFFLE(3, 1, 3, 1));
    const __m128 px = _mm_set1_ps(static_cast<float>(scan.x0));
    const __m128 py = _mm_set1_ps(static_cast<float>(scan.y0));
    const __m128 across = _mm_mul_ps(_mm_sub_ps(py, fromY), _mm_sub_ps(toX, fromX));
    const __m128 along = _mm_mul_ps(_mm_sub_ps(toY, fromY), _mm_sub_ps(px, fromX));
    scan.rowStart = Truncated(_mm_sub_ps(across, along));
    scan.columnStep = Truncated(_mm_sub_ps(fromY, toY));
    scan.rowStep = Truncated(_mm_sub_ps(toX, fromX));
    return true;
}

}  // namespace maskfit

#include "masks/drawing/triangle_scan_fast.h"

#include <emmintrin.h>

#include <cstddef>
#include <cstring>
#include <limits>

namespace maskfit {
namespace {

// One coordinate of one corner of the four triangles.
struct Lanes {
    __m128 x, y;
};

Lanes CornerOfFour(const Vec2* const (&corner)[4]) {
    const auto load = [](const Vec2* v) {
        return _mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(v)));  // x, y, 0, 0
    };
    const __m128 low = _mm_unpacklo_ps(load(corner[0]), load(corner[1]));   // x0, x1, y0, y1
    const __m128 high = _mm_unpacklo_ps(load(corner[2]), load(corner[3]));  // x2, x3, y2, y3
    return {_mm_movelh_ps(low, high), _mm_movehl_ps(high, low)};
}

__m128 Choose(__m128 mask, __m128 a, __m128 b) { return _mm_or_ps(_mm_and_ps(mask, a), _mm_andnot_ps(mask, b)); }

__m128i Choose(__m128i mask, __m128i a, __m128i b) {
    return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b));
}

// The least and greatest of three lanes, NaN left out as the checked
// minimum and maximum leave it out; where all three are NaN they give
// +infinity and -infinity instead of NaN, which truncate to INT32_MIN alike.
// The vector minimum and maximum give their second operand where either is
// NaN, so each step keeps what it has against a NaN lane, and the first
// step starts from an infinity, which holds no NaN.
__m128 Least(__m128 a, __m128 b, __m128 c) {
    const __m128 infinity = _mm_set1_ps(std::numeric_limits<float>::infinity());
    return _mm_min_ps(a, _mm_min_ps(b, _mm_min_ps(c, infinity)));
}

__m128 Greatest(__m128 a, __m128 b, __m128 c) {
    const __m128 infinity = _mm_set1_ps(-std::numeric_limits<float>::infinity());
    return _mm_max_ps(a, _mm_max_ps(b, _mm_max_ps(c, infinity)));
}

__m128i Truncate(__m128 v) { return _mm_cvttps_epi32(v); }

// (py - from.y) * (to.x - from.x) - (to.y - from.y) * (px - from.x), as
// EdgeStart rounds it.
__m128i EdgeStart(__m128 px, __m128 py, const Lanes& from, const Lanes& to) {
    const __m128 across = _mm_mul_ps(_mm_sub_ps(py, from.y), _mm_sub_ps(to.x, from.x));
    const __m128 along = _mm_mul_ps(_mm_sub_ps(to.y, from.y), _mm_sub_ps(px, from.x));
    return Truncate(_mm_sub_ps(across, along));
}

// Four vectors transposed: lane i of the result holds lane i of v0 to v3.
struct Transposed {
    __m128i lane[4];
};

Transposed Transpose(__m128i v0, __m128i v1, __m128i v2, __m128i v3) {
    const __m128i low01 = _mm_unpacklo_epi32(v0, v1), high01 = _mm_unpackhi_epi32(v0, v1);
    const __m128i low23 = _mm_unpacklo_epi32(v2, v3), high23 = _mm_unpackhi_epi32(v2, v3);
    return {{_mm_unpacklo_epi64(low01, low23), _mm_unpackhi_epi64(low01, low23), _mm_unpacklo_epi64(high01, high23),
             _mm_unpackhi_epi64(high01, high23)}};
}

// The first `bytes` (16 or 12) bytes of v at `offset` in the scan; the
// fields are stored in order, each store of 16 bytes but the last within
// the record and its excess overwritten by the next field.
void StoreAt(TriangleScan& scan, size_t offset, __m128i v, size_t bytes) {
    unsigned char* const at = reinterpret_cast<unsigned char*>(&scan) + offset;
    if (bytes == 16) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(at), v);
        return;
    }
    _mm_storel_epi64(reinterpret_cast<__m128i*>(at), v);
    const int32_t third = _mm_cvtsi128_si32(_mm_unpackhi_epi64(v, v));
    std::memcpy(at + 8, &third, sizeof third);
}

}  // namespace

uint32_t SetUpFourScans(const ShapeMask& mask, const FourTriangles& four, bool orient, TriangleScan (&scans)[4]) {
    const Lanes p0 = CornerOfFour(four.corners[0]);
    const Lanes p1 = CornerOfFour(four.corners[1]);
    const Lanes c = CornerOfFour(four.corners[2]);
    // OrderForRasterizer: the first two exchanged where the truncated cross
    // product is negative (the truncation gives INT32_MIN for NaN).
    const __m128 cross = _mm_sub_ps(_mm_mul_ps(_mm_sub_ps(p1.x, p0.x), _mm_sub_ps(c.y, p0.y)),
                                    _mm_mul_ps(_mm_sub_ps(p1.y, p0.y), _mm_sub_ps(c.x, p0.x)));
    const __m128 exchange = orient ? _mm_castsi128_ps(_mm_cmplt_epi32(Truncate(cross), _mm_setzero_si128()))
                                   : _mm_setzero_ps();
    const Lanes a{Choose(exchange, p1.x, p0.x), Choose(exchange, p1.y, p0.y)};
    const Lanes b{Choose(exchange, p0.x, p1.x), Choose(exchange, p0.y, p1.y)};

    const __m128i zero = _mm_setzero_si128();
    const __m128i minX = Truncate(Least(a.x, b.x, c.x)), minY = Truncate(Least(a.y, b.y, c.y));
    const __m128i maxX = Truncate(Greatest(a.x, b.x, c.x)), maxY = Truncate(Greatest(a.y, b.y, c.y));
    const __m128i limitX = _mm_set1_epi32(WrapSub(mask.bounds.x0, 1));
    const __m128i limitY = _mm_set1_epi32(WrapSub(mask.bounds.y0, 1));
    const __m128i x0 = _mm_andnot_si128(_mm_cmplt_epi32(minX, zero), minX);
    const __m128i y0 = _mm_andnot_si128(_mm_cmplt_epi32(minY, zero), minY);
    const __m128i x1 = Choose(_mm_cmplt_epi32(maxX, limitX), maxX, limitX);
    const __m128i y1 = Choose(_mm_cmplt_epi32(maxY, limitY), maxY, limitY);
    const __m128i empty = _mm_or_si128(_mm_cmpgt_epi32(y0, y1), _mm_cmpgt_epi32(x0, x1));
    const auto drawn = static_cast<uint32_t>(~_mm_movemask_ps(_mm_castsi128_ps(empty)) & 0xF);

    // The edges from c to a, from b to c and from a to b.
    const __m128 px = _mm_cvtepi32_ps(x0);
    const __m128 py = _mm_cvtepi32_ps(y0);
    const __m128i start0 = EdgeStart(px, py, c, a), start1 = EdgeStart(px, py, b, c), start2 = EdgeStart(px, py, a, b);
    const __m128i column0 = Truncate(_mm_sub_ps(c.y, a.y)), column1 = Truncate(_mm_sub_ps(b.y, c.y));
    const __m128i column2 = Truncate(_mm_sub_ps(a.y, b.y));
    const __m128i row0 = Truncate(_mm_sub_ps(a.x, c.x)), row1 = Truncate(_mm_sub_ps(c.x, b.x));
    const __m128i row2 = Truncate(_mm_sub_ps(b.x, a.x));
    static_assert(offsetof(TriangleScan, rowStart) == 16 && offsetof(TriangleScan, columnStep) == 28 &&
                      offsetof(TriangleScan, rowStep) == 40 && sizeof(TriangleScan) == 52,
                  "the box, then the three edges' values");
    const Transposed box = Transpose(x0, y0, x1, y1);
    const Transposed starts = Transpose(start0, start1, start2, zero);
    const Transposed columns = Transpose(column0, column1, column2, zero);
    const Transposed rows = Transpose(row0, row1, row2, zero);
    for (int i = 0; i < 4; ++i) {
        StoreAt(scans[i], 0, box.lane[i], 16);
        StoreAt(scans[i], 16, starts.lane[i], 16);
        StoreAt(scans[i], 28, columns.lane[i], 16);
        StoreAt(scans[i], 40, rows.lane[i], 12);
    }
    return drawn;
}

}  // namespace maskfit

#include "masks/fitting/shape_blit_fast.h"

#include <algorithm>

#include "simd/byte_kernels.h"
#include "masks/checked_access.h"
#include "masks/index_window.h"

namespace maskfit {
namespace {

// Addresses [first, last], both included.
struct ByteRange {
    uintptr_t first;
    uintptr_t last;

    bool Meets(const ByteRange& other) const { return other.first <= last && first <= other.last; }
};

template <typename Object>
ByteRange BytesOf(const Object* object) {
    const auto first = reinterpret_cast<uintptr_t>(object);
    return ByteRange{first, first + sizeof(Object) - 1};
}

// The bytes a box of pixels spans, whatever the sign of the row width.
ByteRange BoxBytes(const CheckedArray& view, const PixelBox& box, int32_t width) {
    const auto top = reinterpret_cast<uintptr_t>(PixelAddress(view, box.x0, box.y0, width));
    const auto bottom = reinterpret_cast<uintptr_t>(PixelAddress(view, box.x1, box.y1, width));
    const auto topEnd = reinterpret_cast<uintptr_t>(PixelAddress(view, box.x1, box.y0, width));
    const auto bottomStart = reinterpret_cast<uintptr_t>(PixelAddress(view, box.x0, box.y1, width));
    return ByteRange{std::min(top, bottomStart), std::max(bottom, topEnd)};
}

// The checked blit interleaves its writes (board pixels, then the board's
// dirty rectangle) with reads of the shape's pixels, both records and both
// version words; copying whole rows first and widening once at the end
// gives the same result only when no write lands on anything read later.
bool WritesMeetReads(const BoardMask& board, const ShapeMask& shape, const ByteRange& written,
                     const ByteRange& read) {
    const ByteRange dirty = BytesOf(&board.dirty);
    const ByteRange shapeRecord = BytesOf(&shape);
    const ByteRange boardWord = BytesOf(board.pixels.safety.versionWord);
    const ByteRange shapeWord = BytesOf(shape.pixels.safety.versionWord);
    for (const ByteRange& change : {written, dirty}) {
        if (change.Meets(read) || change.Meets(shapeRecord) || change.Meets(boardWord) || change.Meets(shapeWord)) {
            return true;
        }
    }
    // The board record's other fields lie apart from its dirty rectangle.
    return written.Meets(BytesOf(&board));
}

// Rows and columns of the blit that held a set pixel.
struct CopiedArea {
    int64_t rowFirst = -1;
    int64_t rowLast = -1;
    int64_t columnFirst = INT64_MAX;
    int64_t columnLast = -1;
};

}  // namespace

bool TryBlitShapeFast(BoardMask& board, const ShapeMask& shape, int32_t x, int32_t y) {
    const MaskBounds b = shape.bounds;
    const int64_t rows = static_cast<int64_t>(b.y1) - b.y0;
    const int64_t columns = static_cast<int64_t>(b.x1) - b.x0;
    // Empty or wrapped sizes are the checked path's, and cost it nothing.
    if (rows <= 0 || columns <= 0 || rows > INT32_MAX || columns > INT32_MAX ||
        ReadNeedsHostCheck(shape.pixels.safety) || WriteNeedsHostCheck(board.pixels.safety)) {
        return false;
    }
    const PixelBox source{b.x0, b.y0, b.x1 - 1LL, b.y1 - 1LL};
    const PixelBox target{x, y, x + columns - 1, y + rows - 1};
    // Board coordinates past INT32_MAX would wrap in the dirty rectangle.
    if (target.x1 > INT32_MAX || target.y1 > INT32_MAX || !BoxInWindow(shape.pixels, source, shape.width) ||
        !BoxInWindow(board.pixels, target, board.width)) {
        return false;
    }
    if (WritesMeetReads(board, shape, BoxBytes(board.pixels, target, board.width),
                        BoxBytes(shape.pixels, source, shape.width))) {
        return false;
    }
    CopiedArea area;
    for (int64_t r = 0; r < rows; ++r) {
        const CopiedSpan span = CopySetBytes(WritablePixelAddress(board.pixels, x, y + r, board.width),
                                             PixelAddress(shape.pixels, b.x0, b.y0 + r, shape.width), columns);
        if (span.first < 0) {
            continue;
        }
        area.rowFirst = area.rowFirst < 0 ? r : area.rowFirst;
        area.rowLast = r;
        area.columnFirst = std::min(area.columnFirst, span.first);
        area.columnLast = std::max(area.columnLast, span.last);
    }
    if (area.rowFirst >= 0) {
        WidenDirty(board.dirty, static_cast<int32_t>(x + area.columnFirst), static_cast<int32_t>(y + area.rowFirst));
        WidenDirty(board.dirty, static_cast<int32_t>(x + area.columnLast), static_cast<int32_t>(y + area.rowLast));
    }
    return true;
}

}  // namespace maskfit

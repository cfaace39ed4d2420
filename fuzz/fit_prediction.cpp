#include "fit_prediction.h"

#include "runtime/int_math.h"
#include "work_limit.h"

namespace mffuzz {

using maskfit::PixelIndex;
using maskfit::WrapAdd;
using maskfit::WrapSub;

int32_t PredictOverlap(Prediction& prediction, const BoardMask& board, const ShapeMask& shape, int32_t x, int32_t y,
                       int32_t shapeX, int32_t shapeY) {
    const int32_t boardIndex = PixelIndex(x, y, board.width);
    if (!prediction.Access(board.pixels, boardIndex, false)) {
        return 0;
    }
    const int32_t shapeIndex = PixelIndex(shapeX, shapeY, shape.width);
    if (!prediction.Access(shape.pixels, shapeIndex, false)) {
        return 0;
    }
    return PixelAt(board.pixels, boardIndex) != 0 && PixelAt(shape.pixels, shapeIndex) != 0 ? 1 : 0;
}

int32_t PredictCanPlace(Prediction& prediction, const BoardMask& board, const ShapeMask& shape, int32_t x, int32_t y) {
    const MaskBounds& b = shape.bounds;
    const int32_t w = WrapSub(b.x1, b.x0);
    const int32_t h = WrapSub(b.y1, b.y0);
    struct Probe {
        int32_t x, y, shapeX, shapeY;
    };
    const Probe probes[] = {{x, y, b.x0, b.y0},
                            {x, WrapAdd(y, h), b.x0, b.y0},
                            {WrapAdd(x, w), y, b.x1, b.y1},
                            {WrapAdd(x, w), WrapAdd(y, h), b.x1, b.y1},
                            {x, y, b.x1 / 2, b.y0 / 2}};
    for (const Probe& p : probes) {
        if (PredictOverlap(prediction, board, shape, p.x, p.y, p.shapeX, p.shapeY) != 0 || prediction.Stopped()) {
            return 0;
        }
    }
    if (b.x1 <= b.x0 || b.y1 <= b.y0) {
        return 1;
    }
    for (int32_t i = 0; i < h; ++i) {
        for (int32_t j = 0; j < w; ++j) {
            const int32_t hit = PredictOverlap(prediction, board, shape, WrapAdd(x, j), WrapAdd(y, i),
                                               WrapAdd(b.x0, j), WrapAdd(b.y0, i));
            if (hit != 0 || prediction.Stopped()) {
                return 0;
            }
        }
    }
    return 1;
}

int64_t FitTestWork(const ShapeMask& shape) {
    const MaskBounds& b = shape.bounds;
    if (b.x1 <= b.x0 || b.y1 <= b.y0) {
        return 5;
    }
    // The extents wrap: a scan may visit many rows of no columns.
    return 5 + RowsTimesColumns(WrapSub(b.y1, b.y0), WrapSub(b.x1, b.x0));
}

}  // namespace mffuzz

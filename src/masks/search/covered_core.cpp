#include "masks/search/covered_core.h"

#include <initializer_list>

#include "simd/byte_kernels.h"

namespace maskfit {

bool FindCoveredCore(const FitLayout& layout, int32_t maxHeight, CoveredCore& core) {
    const auto setRow = [&layout](int64_t i, int32_t x, int32_t w) {
        return AllSet(layout.scanOrigin + i * layout.shapeWidth + x, w);
    };
    core = CoveredCore{0, 0, 0, 0};
    // From a few rows, their longest run of set pixels grown up and down.
    for (const int32_t row : {layout.h / 2, layout.h / 4, layout.h - 1 - layout.h / 4}) {
        const uint8_t* pixels = layout.scanOrigin + static_cast<int64_t>(row) * layout.shapeWidth;
        int32_t runX = 0;
        int32_t runW = 0;
        for (int32_t x = 0, start = 0; x < layout.w; ++x) {
            start = pixels[x] != 0 ? start : x + 1;
            if (x + 1 - start > runW) {
                runX = start;
                runW = x + 1 - start;
            }
        }
        int32_t top = row;
        int32_t end = row + 1;
        while (end < layout.h && end - top < maxHeight && setRow(end, runX, runW)) {
            ++end;
        }
        while (top > 0 && end - top < maxHeight && setRow(top - 1, runX, runW)) {
            --top;
        }
        if (runW > 0 && static_cast<int64_t>(runW) * (end - top) > static_cast<int64_t>(core.w) * core.h) {
            core = CoveredCore{runX, top, runW, end - top};
        }
    }
    return core.w > 0;
}

}  // namespace maskfit

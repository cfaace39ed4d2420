#include "masks/search/placement_search.h"

#include "masks/mask_ops.h"
#include "masks/search/placement_search_fast.h"
#include "runtime/fast_paths.h"
#include "runtime/int_math.h"

namespace maskfit {
namespace {

// The candidates of one axis: start, then start + step while <= end. A step
// of 0 or below holds the single candidate start, and a step that would wrap
// past INT32_MAX ends the axis, so that no search can hang.
class AxisWalk {
public:
    explicit AxisWalk(const SearchRange& range) : current_(range.start), end_(range.end), step_(range.step) {
        done_ = current_ > end_;
    }

    bool Valid() const { return !done_; }
    int32_t Current() const { return current_; }

    void Advance() {
        if (step_ <= 0 || current_ > INT32_MAX - step_) {
            done_ = true;
            return;
        }
        current_ += step_;
        done_ = current_ > end_;
    }

private:
    int32_t current_;
    int32_t end_;
    int32_t step_;
    bool done_;
};

// A failing row limit ends the search; a failing column limit skips the column.
SearchHit SearchPlacementChecked(const PlacementSearchJob& job) {
    const BoardMask& board = job.board;
    const ShapeMask& shape = job.shape;
    for (AxisWalk y(job.yRange); y.Valid(); y.Advance()) {
        if (WrapAdd(y.Current(), shape.bounds.y1) >= board.bounds.y0) {
            break;
        }
        for (AxisWalk x(job.xRange); x.Valid(); x.Advance()) {
            if (WrapAdd(x.Current(), shape.bounds.x1) >= board.bounds.x0) {
                continue;
            }
            if (CanPlace(board, shape, x.Current(), y.Current()) != 0) {
                return SearchHit{true, x.Current(), y.Current()};
            }
        }
    }
    return SearchHit{false, 0, 0};
}

}  // namespace

SearchHit SearchPlacement(const PlacementSearchJob& job) {
    SearchHit hit{};
    if (kFastPathsEnabled && TrySearchPlacementFast(job, hit)) {
        return hit;
    }
    return SearchPlacementChecked(job);
}

}  // namespace maskfit

// BlitShape on window-exact pixel memory, predicted pixel by pixel: which
// access ends the call, every host check, and the board left behind.
#include "access_prediction.h"
#include "fuzz_masks.h"
#include "runtime/int_math.h"
#include "work_limit.h"

namespace {

using namespace mffuzz;
using maskfit::PixelIndex;
using maskfit::WrapAdd;
using maskfit::WrapSub;

constexpr int32_t kMaxPixels = 1024;
constexpr int64_t kMaxPixelCopies = 1 << 14;

struct BlitPlan {
    HostSetup host;
    BoardPlan board;
    ShapePlan shape;
    int32_t x = 0, y = 0;
};

class BlitWorld {
public:
    explicit BlitWorld(const BlitPlan& plan) : plan_(plan), board_(plan.board, 1), shape_(plan.shape, 2) {}

    void Call(const hostsim::EntryPoints& lib) { lib.blitShape(kNotRead, &board_.mask, &shape_.mask, plan_.x, plan_.y); }

    std::vector<CheckedArray> Views() const { return {board_.mask.pixels, shape_.mask.pixels}; }

    void CheckEffects(const CallRecord& record) const {
        CheckPredictedWorld(*this, plan_, record, "the board holds the predicted pixels and dirty rectangle");
    }

    std::vector<uint8_t> Snapshot() const {
        std::vector<uint8_t> out;
        AppendMask(out, board_);
        AppendMask(out, shape_);
        return out;
    }

    // Applies the predicted copies to this world's board.
    Prediction Predict() {
        Prediction prediction(plan_.host);
        const MaskBounds b = shape_.mask.bounds;
        const int32_t rows = WrapSub(b.y1, b.y0);
        const int32_t columns = WrapSub(b.x1, b.x0);
        if (rows <= 0 || b.x0 >= b.x1) {
            return prediction;
        }
        for (int32_t r = 0; r < rows; ++r) {
            for (int32_t c = 0; c < columns; ++c) {
                const int32_t si = PixelIndex(WrapAdd(b.x0, c), WrapAdd(b.y0, r), shape_.mask.width);
                if (!prediction.Access(shape_.mask.pixels, si, false)) {
                    return prediction;
                }
                const uint8_t v = PixelAt(shape_.mask.pixels, si);
                if (v == 0) {
                    continue;
                }
                const int32_t bx = WrapAdd(plan_.x, c);
                const int32_t by = WrapAdd(plan_.y, r);
                const int32_t di = PixelIndex(bx, by, board_.mask.width);
                if (!prediction.Access(board_.mask.pixels, di, true)) {
                    return prediction;
                }
                PixelAt(board_.mask.pixels, di) = v;
                Widen(board_.mask.dirty, bx, by);
            }
        }
        return prediction;
    }

private:
    const BlitPlan& plan_;
    BackedBoard board_;
    BackedShape shape_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzReader in(data, size);
    BlitPlan plan;
    plan.host = ReadHostSetup(in);
    plan.board = ReadBoardPlan(in, kMaxPixels);
    plan.shape = ReadShapePlan(in, kMaxPixels);
    plan.x = in.Int();
    plan.y = in.Int();
    const MaskBounds& b = plan.shape.record.bounds;
    if (b.x0 < b.x1 && RowsTimesColumns(WrapSub(b.y1, b.y0), WrapSub(b.x1, b.x0)) > kMaxPixelCopies) {
        return 0;
    }
    RunOnBothLibraries<BlitWorld>(plan);
    return 0;
}

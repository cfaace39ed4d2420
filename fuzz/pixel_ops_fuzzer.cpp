// SetPixel and CopyPixel on window-exact pixel memory. Each is one or two
// checked accesses, so the outcome, the host checks and the memory left
// behind are predicted exactly.
#include "access_prediction.h"
#include "fuzz_masks.h"
#include "runtime/int_math.h"

namespace {

using namespace mffuzz;
using maskfit::PixelIndex;
using maskfit::WrapSub;

constexpr int32_t kMaxPixels = 1024;

struct PixelOpsPlan {
    HostSetup host;
    bool copy = false;
    ShapePlan shape;
    BoardPlan board;
    int32_t value = 0, x = 0, y = 0, sx = 0, sy = 0;
};

class PixelOpsWorld {
public:
    explicit PixelOpsWorld(const PixelOpsPlan& plan) : plan_(plan), shape_(plan.shape, 1), board_(plan.board, 2) {}

    void Call(const hostsim::EntryPoints& lib) {
        if (plan_.copy) {
            lib.copyPixel(kNotRead, &board_.mask, &shape_.mask, plan_.x, plan_.y, plan_.sx, plan_.sy);
        } else {
            lib.setPixel(&shape_.mask, kNotRead, kNotRead, kNotRead, plan_.value, -1, -1, plan_.x, plan_.y);
        }
    }

    std::vector<CheckedArray> Views() const { return {shape_.mask.pixels, board_.mask.pixels}; }

    void CheckEffects(const CallRecord& record) const {
        CheckPredictedWorld(*this, plan_, record, "the pixels and dirty rectangle are as predicted");
    }

    std::vector<uint8_t> Snapshot() const {
        std::vector<uint8_t> out;
        AppendMask(out, shape_);
        AppendMask(out, board_);
        return out;
    }

    // Applies the predicted writes to this world's memory.
    Prediction Predict() { return plan_.copy ? PredictCopy() : PredictSet(); }

private:
    Prediction PredictSet() {
        Prediction prediction(plan_.host);
        const int32_t lx = WrapSub(plan_.x, shape_.mask.origin.x);
        const int32_t ly = WrapSub(plan_.y, shape_.mask.origin.y);
        const int32_t i = PixelIndex(lx, ly, shape_.mask.width);
        if (prediction.Access(shape_.mask.pixels, i, true)) {
            PixelAt(shape_.mask.pixels, i) = static_cast<uint8_t>(plan_.value);
            Widen(shape_.mask.dirty, lx, ly);
        }
        return prediction;
    }

    Prediction PredictCopy() {
        Prediction prediction(plan_.host);
        const int32_t si = PixelIndex(plan_.sx, plan_.sy, shape_.mask.width);
        if (!prediction.Access(shape_.mask.pixels, si, false)) {
            return prediction;
        }
        const uint8_t v = PixelAt(shape_.mask.pixels, si);
        const int32_t di = PixelIndex(plan_.x, plan_.y, board_.mask.width);
        if (v != 0 && prediction.Access(board_.mask.pixels, di, true)) {
            PixelAt(board_.mask.pixels, di) = v;
            Widen(board_.mask.dirty, plan_.x, plan_.y);
        }
        return prediction;
    }

    const PixelOpsPlan& plan_;
    BackedShape shape_;
    BackedBoard board_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzReader in(data, size);
    PixelOpsPlan plan;
    plan.host = ReadHostSetup(in);
    plan.copy = in.Flag();
    plan.shape = ReadShapePlan(in, kMaxPixels);
    plan.board = ReadBoardPlan(in, kMaxPixels);
    plan.value = in.Int();
    plan.x = in.Int();
    plan.y = in.Int();
    plan.sx = in.Int();
    plan.sy = in.Int();
    RunOnBothLibraries<PixelOpsWorld>(plan);
    return 0;
}

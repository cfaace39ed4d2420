// PixelsOverlap and CanPlace on window-exact pixel memory, predicted access
// by access: the result, the failing index and every host check. Both only
// read, so the memory must come back untouched.
#include "fit_prediction.h"
#include "fuzz_masks.h"

namespace {

using namespace mffuzz;

constexpr int32_t kMaxPixels = 1024;
constexpr int64_t kMaxPixelTests = 1 << 14;

struct FitTestPlan {
    HostSetup host;
    bool canPlace = false;
    BoardPlan board;
    ShapePlan shape;
    int32_t x = 0, y = 0, shapeX = 0, shapeY = 0;
};

class FitTestWorld {
public:
    explicit FitTestWorld(const FitTestPlan& plan) : plan_(plan), board_(plan.board, 1), shape_(plan.shape, 2) {}

    void Call(const hostsim::EntryPoints& lib) {
        result_ = plan_.canPlace ? lib.canPlace(&board_.mask, &shape_.mask, plan_.x, plan_.y)
                                 : lib.pixelsOverlap(&board_.mask, &shape_.mask, plan_.x, plan_.y, plan_.shapeX,
                                                     plan_.shapeY);
    }

    std::vector<CheckedArray> Views() const { return {board_.mask.pixels, shape_.mask.pixels}; }

    void CheckEffects(const CallRecord& record) const {
        const FitTestWorld untouched(plan_);
        const BoardMask& board = untouched.board_.mask;
        const ShapeMask& shape = untouched.shape_.mask;
        Prediction prediction(plan_.host);
        const int32_t expected =
            plan_.canPlace ? PredictCanPlace(prediction, board, shape, plan_.x, plan_.y)
                           : PredictOverlap(prediction, board, shape, plan_.x, plan_.y, plan_.shapeX, plan_.shapeY);
        prediction.Check(record);
        if (record.outcome.ending == hostsim::Ending::kReturned) {
            Require(result_ == expected, "the answer is the predicted 0 or 1");
        }
        Require(Memory() == untouched.Memory(), "the fit tests write nothing");
    }

    std::vector<uint8_t> Snapshot() const {
        std::vector<uint8_t> out = Memory();
        out.push_back(static_cast<uint8_t>(result_));
        return out;
    }

private:
    std::vector<uint8_t> Memory() const {
        std::vector<uint8_t> out;
        AppendMask(out, board_);
        AppendMask(out, shape_);
        return out;
    }

    const FitTestPlan& plan_;
    BackedBoard board_;
    BackedShape shape_;
    int32_t result_ = -1;  // -1 until a call returns
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzReader in(data, size);
    FitTestPlan plan;
    plan.host = ReadHostSetup(in);
    plan.canPlace = in.Flag();
    plan.board = ReadBoardPlan(in, kMaxPixels);
    plan.shape = ReadShapePlan(in, kMaxPixels);
    plan.x = in.Int();
    plan.y = in.Int();
    plan.shapeX = in.Int();
    plan.shapeY = in.Int();
    if (plan.canPlace && FitTestWork(plan.shape.record) > kMaxPixelTests) {
        return 0;
    }
    RunOnBothLibraries<FitTestWorld>(plan);
    return 0;
}

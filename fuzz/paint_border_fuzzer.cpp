// PaintBorder on window-exact pixel memory, predicted position by position:
// the clamping to the mask's edges, which access ends the call, every host
// check, and the pixels and dirty rectangle left behind.
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
constexpr int64_t kMaxPositions = 1 << 14;

struct BorderPlan {
    HostSetup host;
    ShapePlan shape;
    int32_t value = 0, cx = 0, cy = 0, rx = 0, ry = 0;
};

int32_t ClampTo(int32_t value, int32_t limit) { return value < 0 ? 0 : (value > limit ? limit : value); }

class BorderWorld {
public:
    explicit BorderWorld(const BorderPlan& plan) : plan_(plan), shape_(plan.shape, 1) {}

    void Call(const hostsim::EntryPoints& lib) {
        lib.paintBorder(&shape_.mask, kNotRead, plan_.value, plan_.cx, plan_.cy, plan_.rx, plan_.ry);
    }

    std::vector<CheckedArray> Views() const { return {shape_.mask.pixels}; }

    void CheckEffects(const CallRecord& record) const {
        CheckPredictedWorld(*this, plan_, record, "the mask holds the predicted pixels and dirty rectangle");
    }

    std::vector<uint8_t> Snapshot() const {
        std::vector<uint8_t> out;
        AppendMask(out, shape_);
        return out;
    }

    // Applies the predicted brush to this world's pixels.
    Prediction Predict() {
        Prediction prediction(plan_.host);
        ShapeMask& m = shape_.mask;
        if (plan_.rx <= 0 || plan_.ry <= 0) {
            return prediction;
        }
        for (int64_t dy = -static_cast<int64_t>(plan_.ry); dy < plan_.ry; ++dy) {
            const int32_t ay = ClampTo(WrapAdd(plan_.cy, static_cast<int32_t>(dy)), m.height);
            for (int64_t dx = -static_cast<int64_t>(plan_.rx); dx < plan_.rx; ++dx) {
                const int32_t ax = ClampTo(WrapAdd(plan_.cx, static_cast<int32_t>(dx)), m.width);
                const int32_t lx = WrapSub(ax, m.origin.x);
                const int32_t ly = WrapSub(ay, m.origin.y);
                if (lx > m.width || lx < 0 || ly < 0 || ly > m.height) {
                    continue;
                }
                const int32_t i = PixelIndex(lx, ly, m.width);
                if (!prediction.Access(m.pixels, i, false)) {
                    return prediction;
                }
                if (PixelAt(m.pixels, i) != 0) {
                    continue;
                }
                if (!prediction.Access(m.pixels, i, true)) {
                    return prediction;
                }
                PixelAt(m.pixels, i) = static_cast<uint8_t>(plan_.value);
                Widen(m.dirty, lx, ly);
            }
        }
        return prediction;
    }

private:
    const BorderPlan& plan_;
    BackedShape shape_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzReader in(data, size);
    BorderPlan plan;
    plan.host = ReadHostSetup(in);
    plan.shape = ReadShapePlan(in, kMaxPixels);
    plan.value = in.Int();
    plan.cx = in.Int();
    plan.cy = in.Int();
    plan.rx = in.Int();
    plan.ry = in.Int();
    if (plan.rx > 0 && plan.ry > 0 && SaturatingProduct(4 * static_cast<int64_t>(plan.rx), plan.ry) > kMaxPositions) {
        return 0;
    }
    RunOnBothLibraries<BorderWorld>(plan);
    return 0;
}

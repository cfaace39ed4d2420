// RasterizeTriangle with arbitrary floats (NaN, infinities, huge values,
// denormals) on window-exact pixel memory; each vertex lies in an allocation
// of its own 8 bytes. The shipped library must draw exactly what the literal
// build draws, within the rules every drawing keeps.

#include "drawing_rules.h"
#include "fuzz_masks.h"
#include "host_rules.h"

namespace {

using namespace mffuzz;

constexpr int32_t kMaxPixels = 2048;
constexpr int64_t kMaxWork = 1 << 17;

struct TrianglePlan {
    HostSetup host;
    ShapePlan shape;  // bounds.x0 and bounds.y0 are the scan limits
    int32_t value = 0;
    Vec2 a{}, b{}, c{};
    int32_t marginX = 0, marginY = 0;
};

class TriangleWorld {
public:
    explicit TriangleWorld(const TrianglePlan& plan)
        : plan_(plan),
          shape_(plan.shape, 1),
          a_(plan.a),
          b_(plan.b),
          c_(plan.c) {}

    void Call(const hostsim::EntryPoints& lib) {
        lib.rasterizeTriangle(0x51, &shape_.mask, 0x53, 0x54, kNotRead, plan_.value, a_.get(), b_.get(), c_.get(),
                              plan_.marginX, plan_.marginY);
    }

    std::vector<CheckedArray> Views() const { return {shape_.mask.pixels}; }

    void CheckEffects(const CallRecord& record) const {
        const TriangleWorld untouched(plan_);
        CheckOnlyDirtyWidened(untouched.shape_.mask, shape_.mask);
        CheckDrawnPixels(untouched.shape_.pixels.Contents(), shape_.pixels.Contents(),
                         static_cast<uint8_t>(plan_.value), false);
        const ShapeMask& m = plan_.shape.record;
        if (TriangleWork(plan_.a, plan_.b, plan_.c, m.bounds.x0, m.bounds.y0, 0, 0) == 0) {
            Require(record.outcome.ending == hostsim::Ending::kReturned && record.safetyCalls.empty() &&
                        Snapshot() == untouched.Snapshot(),
                    "a triangle whose box is empty touches nothing");
        }
    }

    std::vector<uint8_t> Snapshot() const {
        std::vector<uint8_t> out;
        AppendMask(out, shape_);
        return out;
    }

private:
    const TrianglePlan& plan_;
    BackedShape shape_;
    Exact<Vec2> a_, b_, c_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzReader in(data, size);
    TrianglePlan plan;
    plan.host = ReadHostSetup(in);
    plan.shape = ReadShapePlan(in, kMaxPixels);
    plan.value = in.Int();
    for (Vec2* v : {&plan.a, &plan.b, &plan.c}) {
        v->x = in.Float();
        v->y = in.Float();
    }
    plan.marginX = in.Int();
    plan.marginY = in.Int();
    const ShapeMask& m = plan.shape.record;
    if (TriangleWork(plan.a, plan.b, plan.c, m.bounds.x0, m.bounds.y0, plan.marginX, plan.marginY) > kMaxWork) {
        return 0;
    }
    RunOnBothLibraries<TriangleWorld>(plan);
    return 0;
}

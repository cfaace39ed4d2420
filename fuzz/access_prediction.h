// The exact outcome of a short run of checked accesses, for the operations
// made of a few of them: which access stops the call and how, and which host
// checks come before.
#ifndef MASKFIT_FUZZ_ACCESS_PREDICTION_H
#define MASKFIT_FUZZ_ACCESS_PREDICTION_H

#include <string>
#include <vector>

#include "host_rules.h"

namespace mffuzz {

// The byte at `index` of a view whose window holds it.
inline uint8_t& PixelAt(const CheckedArray& view, int32_t index) {
    return static_cast<uint8_t*>(view.data)[index];
}

// Dirty widening as every pixel write does it.
void Widen(DirtyRect& dirty, int32_t x, int32_t y);

class Prediction {
public:
    explicit Prediction(const HostSetup& setup) : setup_(setup) {}

    // One bounds check, version test and possible host check; false when the
    // access ends the call.
    bool Access(const CheckedArray& view, int32_t index, bool write);

    bool Stopped() const { return ending_ != hostsim::Ending::kReturned; }

    // The record matches the predicted ending, message and host checks.
    void Check(const CallRecord& record) const;

private:
    struct HostCheck {
        bool write;
        int32_t safetyId;
    };
    HostSetup setup_;
    hostsim::Ending ending_ = hostsim::Ending::kReturned;
    std::string message_;
    std::vector<HostCheck> checks_;
};

// A fresh world from the same input, changed by the prediction, must equal
// the world that the call changed; World::Predict() applies the prediction.
template <typename World, typename Plan>
void CheckPredictedWorld(const World& actual, const Plan& plan, const CallRecord& record, const char* what) {
    World expected(plan);
    expected.Predict().Check(record);
    Require(actual.Snapshot() == expected.Snapshot(), what);
}

}  // namespace mffuzz

#endif

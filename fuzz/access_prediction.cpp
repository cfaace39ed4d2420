#include "access_prediction.h"

namespace mffuzz {

void Widen(DirtyRect& dirty, int32_t x, int32_t y) {
    dirty.xMin = x < dirty.xMin ? x : dirty.xMin;
    dirty.yMin = y < dirty.yMin ? y : dirty.yMin;
    dirty.xMax = x > dirty.xMax ? x : dirty.xMax;
    dirty.yMax = y > dirty.yMax ? y : dirty.yMax;
}

bool Prediction::Access(const CheckedArray& view, int32_t index, bool write) {
    if (IndexFails(view, index)) {
        ending_ = hostsim::Ending::kAborted;
        message_ = ExpectedBoundsMessage(view, index);
        return false;
    }
    if (AsksHost(view, write)) {
        checks_.push_back(HostCheck{write, view.safety.safetyId});
        if (write ? setup_.refuseWrite : setup_.refuseRead) {
            ending_ = hostsim::Ending::kRefused;
            return false;
        }
    }
    return true;
}

void Prediction::Check(const CallRecord& record) const {
    Require(record.outcome.ending == ending_, "the call ends as predicted");
    if (ending_ == hostsim::Ending::kAborted && record.outcome.message != message_) {
        Fail("predicted \"" + message_ + "\", got \"" + record.outcome.message + "\"");
    }
    Require(record.safetyCalls.size() == checks_.size(), "the host is asked as often as predicted");
    for (size_t i = 0; i < checks_.size(); ++i) {
        Require(record.safetyCalls[i].write == checks_[i].write &&
                    record.safetyCalls[i].handle.safetyId == checks_[i].safetyId,
                "the host is asked the predicted checks in order");
    }
}

}  // namespace mffuzz

#include "backed_array.h"

#include <algorithm>

#include "runtime/int_math.h"

namespace mffuzz {
namespace {

using maskfit::WrapAdd;

void ReadWindow(FuzzReader& in, ArrayPlan& plan, int32_t naturalLength, int32_t maxCount) {
    const int32_t whole = std::clamp(naturalLength, 0, maxCount);
    switch (in.Byte() % 4) {
        case 0:  // the whole array, as a host passes it outside parallel jobs
            plan.length = whole;
            plan.minIndex = 0;
            plan.maxIndex = whole - 1;
            return;
        case 1:  // a whole window, but the length says more or less
            plan.length = in.Int();
            plan.minIndex = 0;
            plan.maxIndex = whole - 1;
            return;
        case 2:  // a parallel job's restricted window, anywhere in the index space
            plan.length = in.Int();
            plan.minIndex = in.Int();
            plan.maxIndex = WrapAdd(plan.minIndex, in.Between(-1, 254));
            break;
        default:
            plan.length = in.Int();
            plan.minIndex = in.Int();
            plan.maxIndex = in.Int();
            break;
    }
    if (WindowCount(plan.minIndex, plan.maxIndex) > static_cast<size_t>(maxCount)) {
        plan.maxIndex = WrapAdd(plan.minIndex, maxCount - 1);
    }
}

// Any of the 64 combinations of the low three bits of version and word (bits
// 0 to 2 and 3 to 5 of one byte) below high bits that are equal, one bit
// apart or unrelated (bits 6 and 7).
void ReadLowBitCombination(FuzzReader& in, ArrayPlan& plan) {
    const uint8_t combination = in.Byte();
    const uint32_t high = in.Raw32() & ~7u;
    plan.versionWord = high | ((combination >> 3) & 7u);
    switch (combination >> 6) {
        case 0: plan.version = high; break;
        case 1: plan.version = high ^ (8u << in.Between(0, 28)); break;
        default: plan.version = in.Raw32() & ~7u; break;
    }
    plan.version |= combination & 7u;
}

// Reads pass without the host when version == word & ~6, writes when
// version == word & ~5 (bits 1 and 2, or 0 and 2, cleared). Both pass
// exactly when bits 0 and 1 of the word are clear and version == word & ~4.
void ReadVersions(FuzzReader& in, ArrayPlan& plan) {
    switch (in.Byte() % 4) {
        case 0:  // both pass, the word's low bits clear
            plan.versionWord = static_cast<uint32_t>(in.Byte()) << 3;
            plan.version = plan.versionWord;
            break;
        case 1:  // both pass, bit 2 of the word set
            plan.version = in.Raw32() & ~7u;
            plan.versionWord = plan.version | 4u;
            break;
        case 2:
            ReadLowBitCombination(in, plan);
            break;
        default:
            plan.versionWord = in.Raw32();
            plan.version = in.Raw32();
            break;
    }
}

}  // namespace

size_t WindowCount(int32_t minIndex, int32_t maxIndex) {
    const int64_t count = static_cast<int64_t>(maxIndex) - minIndex + 1;
    return count > 0 ? static_cast<size_t>(count) : 0;
}

ArrayPlan ReadArrayPlan(FuzzReader& in, int32_t naturalLength, int32_t maxCount, size_t elementSize) {
    ArrayPlan plan;
    plan.elementSize = elementSize;
    ReadWindow(in, plan, naturalLength, maxCount);
    ReadVersions(in, plan);
    plan.contents.assign(WindowCount(plan.minIndex, plan.maxIndex) * elementSize, 0);
    return plan;
}

ArrayPlan ReadPixelPlan(FuzzReader& in, int32_t naturalLength, int32_t maxCount) {
    ArrayPlan plan = ReadArrayPlan(in, naturalLength, maxCount, 1);
    in.Fill(plan.contents.data(), plan.contents.size());
    return plan;
}

BackedArray::BackedArray(const ArrayPlan& plan, int32_t safetyId)
    : memory_(plan.contents.size()),
      versionWord_(std::make_unique<uint32_t>(plan.versionWord)),
      bytes_(plan.contents.size()),
      elementSize_(plan.elementSize) {
    std::copy(plan.contents.begin(), plan.contents.end(), memory_.Data());
    // Element minIndex lies at the allocation's first byte. Computed on
    // integers: the pointer itself may point far outside any object.
    const auto base = reinterpret_cast<uintptr_t>(memory_.Data()) -
                      static_cast<uintptr_t>(static_cast<int64_t>(plan.minIndex) * static_cast<int64_t>(plan.elementSize));
    view_.data = reinterpret_cast<void*>(base);
    view_.length = plan.length;
    view_.minIndex = plan.minIndex;
    view_.maxIndex = plan.maxIndex;
    view_.safety.versionWord = versionWord_.get();
    view_.safety.version = plan.version;
    view_.safety.safetyId = safetyId;
    view_.label = 0x1abe1;
}

uint8_t* BackedArray::Element(int32_t index) const {
    if (index < view_.minIndex || index > view_.maxIndex) {
        return nullptr;
    }
    return memory_.Data() + (static_cast<int64_t>(index) - view_.minIndex) * static_cast<int64_t>(elementSize_);
}

std::vector<uint8_t> BackedArray::Contents() const { return std::vector<uint8_t>(memory_.Data(), memory_.Data() + bytes_); }

}  // namespace mffuzz

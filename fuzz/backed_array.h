// Host arrays of which exactly the window [minIndex, maxIndex] exists in
// memory: `data` points minIndex elements before an exact block, so an access
// anywhere outside the window leaves the block and is caught.
#ifndef MASKFIT_FUZZ_BACKED_ARRAY_H
#define MASKFIT_FUZZ_BACKED_ARRAY_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "exact_memory.h"
#include "fuzz_reader.h"
#include "maskfit/maskfit.h"

namespace mffuzz {

// An array as decoded from the input, before any memory exists.
struct ArrayPlan {
    int32_t length = 0;
    int32_t minIndex = 0;
    int32_t maxIndex = -1;
    uint32_t versionWord = 0;
    uint32_t version = 0;
    size_t elementSize = 1;
    std::vector<uint8_t> contents;  // the window's bytes, zero unless read
};

// Number of elements in [minIndex, maxIndex]; 0 when the window is empty.
size_t WindowCount(int32_t minIndex, int32_t maxIndex);

// A window of at most maxCount elements (usually the whole of naturalLength,
// sometimes a restricted or arbitrary one) and a pair of versions that may
// or may not let reads and writes through without the host.
ArrayPlan ReadArrayPlan(FuzzReader& in, int32_t naturalLength, int32_t maxCount, size_t elementSize);

// The same, with the window's bytes read as pixel content.
ArrayPlan ReadPixelPlan(FuzzReader& in, int32_t naturalLength, int32_t maxCount);

class BackedArray {
public:
    BackedArray(const ArrayPlan& plan, int32_t safetyId);

    const CheckedArray& View() const { return view_; }
    // The element's memory; nullptr outside the window.
    uint8_t* Element(int32_t index) const;
    std::vector<uint8_t> Contents() const;

private:
    ExactBlock memory_;
    std::unique_ptr<uint32_t> versionWord_;
    size_t bytes_;
    size_t elementSize_;
    CheckedArray view_{};
};

}  // namespace mffuzz

#endif

// The access discipline every pixel and element access follows: bounds
// check, then the version test that decides whether the host's safety check
// is called, then the access; after a pixel write the caller widens the
// mask's dirty rectangle.
#ifndef MASKFIT_MASKS_CHECKED_ACCESS_H
#define MASKFIT_MASKS_CHECKED_ACCESS_H

#include <cstdint>
#include <cstring>

#include "host/host_slots.h"
#include "maskfit/maskfit.h"
#include "runtime/bounds_failure.h"

namespace maskfit {

// Version bits that do not take part in each test.
inline constexpr uint32_t kReadVersionMask = 0xFFFFFFF9u;
inline constexpr uint32_t kWriteVersionMask = 0xFFFFFFFAu;

inline bool ReadNeedsHostCheck(const AtomicSafetyHandle& handle) {
    return handle.version != (*handle.versionWord & kReadVersionMask);
}

inline bool WriteNeedsHostCheck(const AtomicSafetyHandle& handle) {
    return handle.version != (*handle.versionWord & kWriteVersionMask);
}

inline void CheckIndex(const CheckedArray& view, int32_t index) {
    if (index < view.minIndex || index > view.maxIndex) {
        ReportBoundsFailure(&view, index);
    }
}

// The host's check functions get the address of a copy of the handle.
inline void CheckRead(const CheckedArray& view) {
    if (ReadNeedsHostCheck(view.safety)) {
        AtomicSafetyHandle copy = view.safety;
        maskfit_host_slots.checkRead(&copy);
    }
}

inline void CheckWrite(const CheckedArray& view) {
    if (WriteNeedsHostCheck(view.safety)) {
        AtomicSafetyHandle copy = view.safety;
        maskfit_host_slots.checkWrite(&copy);
    }
}

inline uint8_t* ByteAt(const CheckedArray& view, int32_t index) {
    return static_cast<uint8_t*>(view.data) + static_cast<intptr_t>(index);
}

// Bounds check, checked read, read.
inline uint8_t ReadPixel(const CheckedArray& view, int32_t index) {
    CheckIndex(view, index);
    CheckRead(view);
    return *ByteAt(view, index);
}

// Bounds check, checked write, write.
inline void WritePixel(const CheckedArray& view, int32_t index, uint8_t value) {
    CheckIndex(view, index);
    CheckWrite(view);
    *ByteAt(view, index) = value;
}

// Whole-element access to views of records, one copy in or out.
template <typename Element>
Element ReadElement(const CheckedArray& view, int32_t index) {
    CheckIndex(view, index);
    CheckRead(view);
    Element element;
    std::memcpy(&element, static_cast<const Element*>(view.data) + static_cast<intptr_t>(index), sizeof element);
    return element;
}

template <typename Element>
void WriteElement(const CheckedArray& view, int32_t index, const Element& element) {
    CheckIndex(view, index);
    CheckWrite(view);
    std::memcpy(static_cast<Element*>(view.data) + static_cast<intptr_t>(index), &element, sizeof element);
}

inline void WidenDirty(DirtyRect& dirty, int32_t x, int32_t y) {
    dirty.xMin = x < dirty.xMin ? x : dirty.xMin;
    dirty.yMin = y < dirty.yMin ? y : dirty.yMin;
    dirty.xMax = x > dirty.xMax ? x : dirty.xMax;
    dirty.yMax = y > dirty.yMax ? y : dirty.yMax;
}

}  // namespace maskfit

#endif

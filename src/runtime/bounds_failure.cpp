#include "runtime/bounds_failure.h"

#include "runtime/abort.h"
#include "runtime/fixed_text.h"

namespace maskfit {
namespace {

template <int32_t N>
void Append(TextCursor text, const char (&piece)[N]) {
    AppendText(text, piece, N - 1);
}

constexpr char kIndexPrefix[] = "Index ";
constexpr char kOutOfRangeOf[] = " is out of range of '";
constexpr char kLengthSuffix[] = "' Length.";
constexpr char kRestrictedWindow[] =
    "ReadWriteBuffers are restricted to only read & write the element at the job index. "
    "You can use double buffering strategies to avoid race conditions due to reading & "
    "writing in parallel to the same elements from a job.";
static_assert(sizeof(kRestrictedWindow) - 1 == 217, "restricted-window message length");

// Pieces plus two decimals of at most 11 characters each.
constexpr int32_t kPlainCapacity =
    (sizeof(kIndexPrefix) - 1) + (sizeof(kOutOfRangeOf) - 1) + (sizeof(kLengthSuffix) - 1) + 2 * 11 + 1;
static_assert(kPlainCapacity == 59, "plain message capacity");

// An index below the length fails against a window narrower than the array.
bool IsRestrictedWindowFailure(int32_t index, int32_t length, int32_t lo, int32_t hi) {
    const int32_t last = static_cast<int32_t>(static_cast<uint32_t>(length) - 1u);
    return index < length && (lo != 0 || hi != last);
}

}  // namespace

void ReportBoundsFailure(const CheckedArray* view, int32_t index) {
    const int32_t length = view->length;
    if (IsRestrictedWindowFailure(index, length, view->minIndex, view->maxIndex)) {
        AbortCall(kIndexOutOfRange, kRestrictedWindow);
    }
    FixedText<kPlainCapacity> message;
    const TextCursor cursor = CursorOf(message);
    Append(cursor, kIndexPrefix);
    AppendDecimal(cursor, index);
    Append(cursor, kOutOfRangeOf);
    AppendDecimal(cursor, length);
    Append(cursor, kLengthSuffix);
    FinishText(message);
    AbortCall(kIndexOutOfRange, message.chars);
}

}  // namespace maskfit

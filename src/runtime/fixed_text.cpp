#include "runtime/fixed_text.h"

#include "host/host_slots.h"
#include "runtime/abort.h"

namespace maskfit {

void AppendText(TextCursor text, const char* piece, int32_t count) {
    const int32_t room = text.capacity - *text.position;
    const int32_t k = count < room ? count : room;
    if (k <= 0) {
        return;
    }
    char* destination = text.chars + *text.position;
    if (destination == nullptr) {
        AbortCall("System.ArgumentNullException", "destination");
    }
    if (piece == nullptr) {
        AbortCall("System.ArgumentNullException", "source");
    }
    for (int32_t i = 0; i < k; ++i) {
        destination[i] = piece[i];
    }
    *text.position += k;
}

void AppendDecimal(TextCursor text, int32_t value) {
    const int64_t wide = value;
    // Ten digits at most, plus the NUL.
    char digits[11] = {};
    int32_t count = 0;
    int64_t rest = wide;
    do {
        const int64_t remainder = rest % 10;
        digits[count++] = static_cast<char>('0' + (remainder < 0 ? -remainder : remainder));
        rest /= 10;
    } while (rest != 0);

    auto put = [&](char c) {
        if (*text.position < text.capacity) {
            text.chars[(*text.position)++] = c;
        }
    };
    if (wide < 0) {
        put('-');
    }
    while (count > 0) {
        put(digits[--count]);
    }
}

}  // namespace maskfit

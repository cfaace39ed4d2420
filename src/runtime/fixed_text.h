// Fixed-capacity message text built on the stack: appends stop at the
// capacity, so the terminating NUL always fits.
#ifndef MASKFIT_RUNTIME_FIXED_TEXT_H
#define MASKFIT_RUNTIME_FIXED_TEXT_H

#include <cstdint>

namespace maskfit {

template <int32_t Capacity>
struct FixedText {
    uint16_t length = 0;
    char chars[Capacity + 1] = {};
    int32_t position = 0;
};

// What the append routines see of a FixedText of any capacity.
struct TextCursor {
    char* chars;
    int32_t capacity;
    int32_t* position;
};

template <int32_t Capacity>
TextCursor CursorOf(FixedText<Capacity>& text) {
    return TextCursor{text.chars, Capacity, &text.position};
}

// Appends the first `count` characters of `piece`, cut at the capacity.
void AppendText(TextCursor text, const char* piece, int32_t count);

// Appends `value` in decimal, with a minus sign when negative.
void AppendDecimal(TextCursor text, int32_t value);

// Terminates the text at its position and records its length.
template <int32_t Capacity>
void FinishText(FixedText<Capacity>& text) {
    text.chars[text.position] = '\0';
    text.length = static_cast<uint16_t>(text.position);
}

}  // namespace maskfit

#endif

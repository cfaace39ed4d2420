#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "host/host_slots.h"
#include "runtime/fixed_text.h"

namespace {

using maskfit::AppendDecimal;
using maskfit::AppendText;
using maskfit::CursorOf;
using maskfit::FixedText;

template <int32_t C>
std::string Decimal(int32_t value) {
    FixedText<C> text;
    AppendDecimal(CursorOf(text), value);
    maskfit::FinishText(text);
    return std::string(text.chars, text.length);
}

TEST(AppendDecimal, FormsEveryMagnitudeWithoutLeadingZeros) {
    EXPECT_EQ(Decimal<16>(0), "0");
    EXPECT_EQ(Decimal<16>(7), "7");
    EXPECT_EQ(Decimal<16>(-1), "-1");
    EXPECT_EQ(Decimal<16>(1000000000), "1000000000");
    EXPECT_EQ(Decimal<16>(INT32_MAX), "2147483647");
    EXPECT_EQ(Decimal<16>(INT32_MIN), "-2147483648");
}

TEST(AppendDecimal, DropsCharactersPastTheCapacity) {
    EXPECT_EQ(Decimal<3>(-12345), "-12");
    EXPECT_EQ(Decimal<1>(98), "9");
}

TEST(AppendText, CutsAtTheCapacityAndKeepsTheTerminator) {
    FixedText<5> text;
    AppendText(CursorOf(text), "abc", 3);
    AppendText(CursorOf(text), "defgh", 5);
    maskfit::FinishText(text);
    EXPECT_EQ(std::string(text.chars), "abcde");
    EXPECT_EQ(text.length, 5);
    EXPECT_EQ(text.chars[5], '\0');
}

TEST(AppendText, WritesNothingWhenFullOrEmpty) {
    FixedText<2> text;
    AppendText(CursorOf(text), "xy", 2);
    // A full text does not even look at the piece.
    AppendText(CursorOf(text), nullptr, 4);
    AppendText(CursorOf(text), "z", 0);
    AppendText(CursorOf(text), "z", -3);
    EXPECT_EQ(text.position, 2);
    EXPECT_EQ(std::string(text.chars, 2), "xy");
}

}  // namespace

namespace {

// The routine's own argument guard ends the call through the abort slot.
struct RecordedAbort {
    std::string type;
    std::string message;
};
RecordedAbort gAbort;
void* gLanding[5];

MASKFIT_HOSTCALL void RecordAndLeave(const char* type, const char* message) {
    gAbort = {type, message};
    __builtin_longjmp(gLanding, 1);
}

template <typename Call>
RecordedAbort AbortOf(Call call) {
    gAbort = {};
    const MaskfitAbortFn saved = maskfit_host_slots.abort;
    maskfit_host_slots.abort = &RecordAndLeave;
    if (__builtin_setjmp(gLanding) == 0) {
        call();
    }
    maskfit_host_slots.abort = saved;
    return gAbort;
}

TEST(AppendText, NullAddressesAbortWithArgumentNull) {
    FixedText<4> text;
    const RecordedAbort source = AbortOf([&] { AppendText(CursorOf(text), nullptr, 2); });
    EXPECT_EQ(source.type, "System.ArgumentNullException");
    EXPECT_EQ(source.message, "source");

    // The destination is tested first.
    const maskfit::TextCursor nowhere{nullptr, 4, &text.position};
    const RecordedAbort destination = AbortOf([&] { AppendText(nowhere, nullptr, 2); });
    EXPECT_EQ(destination.type, "System.ArgumentNullException");
    EXPECT_EQ(destination.message, "destination");
}

}  // namespace

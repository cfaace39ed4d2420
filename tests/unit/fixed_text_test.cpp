#include <gtest/gtest.h>

#include <climits>
#include <string>

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

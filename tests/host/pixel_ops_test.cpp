// SetPixel and CopyPixel: single pixels through the full access discipline.
#include <array>

#include "test_support.h"

namespace {

using hostsim::Ending;
using mftest::BothWaysTest;
using mftest::HostTest;
using mftest::PlainMessage;
using mftest::TestBoard;
using mftest::TestShape;

class SetPixelTest : public HostTest {
protected:
    hostsim::Outcome Set(TestShape& shape, int32_t value, int32_t x, int32_t y) {
        return hostsim::Run([&] { lib.setPixel(&shape.mask, nullptr, nullptr, nullptr, value, -1, -1, x, y); });
    }
};

TEST_F(SetPixelTest, OriginIsSubtractedAndDirtyUsesLocalCoordinates) {
    TestShape shape(4, 3);
    shape.mask.origin = {10, 20};
    EXPECT_EQ(Set(shape, 5, 10, 20).ending, Ending::kReturned);
    EXPECT_EQ(shape.At(0, 0), 5);
    EXPECT_EQ(Set(shape, 6, 12, 21).ending, Ending::kReturned);
    EXPECT_EQ(shape.At(2, 1), 6);
    const DirtyRect dirty = shape.mask.dirty;
    EXPECT_EQ((std::array{dirty.xMin, dirty.yMin, dirty.xMax, dirty.yMax}), (std::array{0, 0, 2, 1}));
}

TEST_F(SetPixelTest, StoresTheLowByteAndStillWidensForZero) {
    TestShape shape(4, 4);
    shape.Set(1, 1, 200);
    EXPECT_EQ(Set(shape, 0, 1, 1).ending, Ending::kReturned);
    EXPECT_EQ(shape.At(1, 1), 0);
    EXPECT_EQ(shape.mask.dirty.xMin, 1);
    EXPECT_EQ(Set(shape, 256 + 90, 2, 3).ending, Ending::kReturned);
    EXPECT_EQ(shape.At(2, 3), 90);
    EXPECT_EQ(shape.mask.dirty.yMax, 3);
}

TEST_F(SetPixelTest, ColumnsPastTheWidthLandInTheNextRow) {
    TestShape shape(4, 4);
    EXPECT_EQ(Set(shape, 7, 4, 0).ending, Ending::kReturned);
    EXPECT_EQ(shape.At(0, 1), 7);
    EXPECT_EQ(shape.mask.dirty.xMax, 4);
    EXPECT_EQ(Set(shape, 8, -1, 2).ending, Ending::kReturned);
    EXPECT_EQ(shape.At(3, 1), 8);
    EXPECT_EQ(shape.mask.dirty.xMin, -1);
}

TEST_F(SetPixelTest, FailureLeavesPixelAndDirtyAsTheyWere) {
    TestShape shape(4, 4);
    shape.mask.origin = {1, 1};
    mftest::ExpectIndexFailure(Set(shape, 9, 0, 0), PlainMessage(-5, 16));
    mftest::ExpectIndexFailure(Set(shape, 9, 1, 5), PlainMessage(16, 16));
    for (uint8_t b : shape.pixels.bytes) {
        EXPECT_EQ(b, 0);
    }
    EXPECT_EQ(shape.mask.dirty.xMin, INT32_MAX);
    EXPECT_EQ(shape.mask.dirty.xMax, INT32_MIN);
}

class CopyPixelTest : public BothWaysTest {
protected:
    hostsim::Outcome Copy(TestBoard& board, TestShape& shape, int32_t x, int32_t y, int32_t sx, int32_t sy) {
        return hostsim::Run([&] { lib.copyPixel(nullptr, &board.mask, &shape.mask, x, y, sx, sy); });
    }
};
MASKFIT_BOTH_WAYS(CopyPixelTest);

TEST_P(CopyPixelTest, CopiesSetPixelsUnchangedAndWidensTheBoard) {
    TestBoard board(5, 5);
    TestShape shape(3, 3);
    shape.mask.origin = {100, 100};  // plays no part
    for (uint8_t value : {234, 90, 79, 3}) {
        shape.Set(1, 2, value);
        board.Set(4, 3, 50);
        ASSERT_EQ(Copy(board, shape, 4, 3, 1, 2).ending, Ending::kReturned);
        EXPECT_EQ(board.At(4, 3), value);
    }
    const DirtyRect dirty = board.mask.dirty;
    EXPECT_EQ((std::array{dirty.xMin, dirty.yMin, dirty.xMax, dirty.yMax}), (std::array{4, 3, 4, 3}));
    EXPECT_EQ(shape.mask.dirty.xMin, INT32_MAX) << "the source is never widened";
}

TEST_P(CopyPixelTest, EmptySourceNeverLooksAtTheBoard) {
    TestBoard board(2, 2);
    TestShape shape(2, 2);
    *board.pixels.versionWord = 8;  // a board write would call the host
    EXPECT_EQ(Copy(board, shape, 50, 50, 1, 1).ending, Ending::kReturned);
    EXPECT_TRUE(Host().safetyCalls.empty());
    EXPECT_EQ(board.mask.dirty.xMax, INT32_MIN);
}

TEST_P(CopyPixelTest, SourceIsCheckedBeforeTheDestination) {
    TestBoard board(2, 2);
    TestShape shape(2, 2);
    mftest::ExpectIndexFailure(Copy(board, shape, 0, 0, 0, 2), PlainMessage(4, 4));
    // A valid set source with a destination outside: the source was read first.
    shape.Set(0, 0, 234);
    *shape.pixels.versionWord = 8;  // the read calls the host, so it is seen
    mftest::ExpectIndexFailure(Copy(board, shape, 0, 2, 0, 0), PlainMessage(4, 4));
    ASSERT_EQ(Host().safetyCalls.size(), 1u);
    EXPECT_FALSE(Host().safetyCalls[0].write);
    EXPECT_EQ(board.pixels.bytes, std::vector<uint8_t>(4, 0));
}

}  // namespace

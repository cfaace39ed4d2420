// PixelsOverlap and CanPlace through the host: the pixel test, the five
// probes with their exact pairs, the half-open scan, which failure comes
// first, and the reads they make.
#include <cstring>

#include "placement_support.h"

namespace {

using mftest::BothWaysTest;
using mftest::CountSafetyCalls;
using mftest::Cover;
using mftest::EachLibraryTest;
using mftest::ForceHostChecks;
using mftest::Point;
using mftest::ResultOf;

constexpr int32_t kBoardSafetyId = 1;
constexpr int32_t kShapeSafetyId = 2;

// A 4 x 3 board (12 pixels) and a 5 x 5 shape (25 pixels): the lengths in a
// failure message tell which buffer failed.
class PixelsOverlapTest : public EachLibraryTest {
protected:
    mftest::TestBoard board{4, 3};
    mftest::TestShape shape{5, 5};

    int32_t Overlap(int32_t x, int32_t y, int32_t sx, int32_t sy) {
        return ResultOf([&] { return Library().pixelsOverlap(&board.mask, &shape.mask, x, y, sx, sy); });
    }
};

TEST_P(PixelsOverlapTest, YieldsOneExactlyWhenBothBytesAreSet) {
    struct Case {
        uint8_t boardByte;
        uint8_t shapeByte;
        int32_t expected;
    };
    const Case cases[] = {{FILL_BORDER, FILL_INTERIOR, 1}, {0, FILL_INTERIOR, 0}, {FILL_BORDER, 0, 0},
                          {0, 0, 0},                       {1, 255, 1},           {128, 1, 1}};
    for (const Case& c : cases) {
        board.Set(1, 2, c.boardByte);
        shape.Set(3, 4, c.shapeByte);
        // The whole 32-bit result is compared: 1 or 0, no other bits.
        EXPECT_EQ(Overlap(1, 2, 3, 4), c.expected) << int(c.boardByte) << " over " << int(c.shapeByte);
    }
}

TEST_P(PixelsOverlapTest, AddressesRowTimesWidthPlusColumnWithoutAColumnCheck) {
    struct Case {
        int32_t x, y, sx, sy;
        size_t boardIndex, shapeIndex;
    };
    const Case cases[] = {
        {4, 0, 5, 0, 4, 5},     // one past the last column is the next row's first pixel
        {-1, 1, -1, 1, 3, 4},   // a negative column reaches back into the previous row
        {3, 2, 4, 4, 11, 24},   // the last pixel of each
        {0, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        std::fill(board.pixels.bytes.begin(), board.pixels.bytes.end(), 0);
        std::fill(shape.pixels.bytes.begin(), shape.pixels.bytes.end(), 0);
        board.pixels[c.boardIndex] = FILL_BORDER;
        shape.pixels[c.shapeIndex] = FILL_INTERIOR;
        EXPECT_EQ(Overlap(c.x, c.y, c.sx, c.sy), 1) << c.x << "," << c.y << " / " << c.sx << "," << c.sy;
    }
}

TEST_P(PixelsOverlapTest, ReadsTheBoardThenTheShapeThroughTheReadCheckAlone) {
    board.mask.pixels.safety.safetyId = kBoardSafetyId;
    shape.mask.pixels.safety.safetyId = kShapeSafetyId;
    ForceHostChecks(board.pixels);
    ForceHostChecks(shape.pixels);
    EXPECT_EQ(Overlap(0, 0, 0, 0), 0);
    const auto& calls = Host().safetyCalls;
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_FALSE(calls[0].write);
    EXPECT_FALSE(calls[1].write);
    // The host gets a copy of each view's handle, board first.
    EXPECT_EQ(std::memcmp(&calls[0].handle, &board.mask.pixels.safety, sizeof(AtomicSafetyHandle)), 0);
    EXPECT_EQ(std::memcmp(&calls[1].handle, &shape.mask.pixels.safety, sizeof(AtomicSafetyHandle)), 0);
}

MASKFIT_EACH_LIBRARY(PixelsOverlapTest);

class PixelsOverlapFailure : public BothWaysTest {};

TEST_P(PixelsOverlapFailure, ChecksTheBoardIndexFirstAndTheShapeIndexEvenOverAnEmptyPixel) {
    struct Case {
        const char* name;
        int32_t x, y, sx, sy;
        int32_t boardMinIndex;
        std::string message;
        size_t readsBefore;  // checked reads that passed before the failure
    };
    const Case cases[] = {
        {"board past its end", 12, 0, 0, 0, 0, mftest::PlainMessage(12, 12), 0},
        {"shape past its end, board pixel empty", 3, 2, 0, 5, 0, mftest::PlainMessage(25, 25), 1},
        {"both outside: the board's failure", -1, 0, 25, 0, 0, mftest::PlainMessage(-1, 12), 0},
        {"board below a restricted window", 1, 0, 0, 0, 2, mftest::kRestrictedWindowMessage, 0},
    };
    for (const mftest::NamedLibrary& library : mftest::kEachLibrary) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(library.name) + ": " + c.name);
            hostsim::ResetState();
            mftest::TestBoard board(4, 3);
            mftest::TestShape shape(5, 5);
            board.mask.pixels.minIndex = c.boardMinIndex;
            ForceHostChecks(board.pixels);
            ForceHostChecks(shape.pixels);
            const hostsim::Outcome outcome =
                hostsim::Run([&] { library.entries().pixelsOverlap(&board.mask, &shape.mask, c.x, c.y, c.sx, c.sy); });
            mftest::ExpectIndexFailure(outcome, c.message);
            EXPECT_EQ(CountSafetyCalls(false), c.readsBefore);
            EXPECT_EQ(CountSafetyCalls(true), 0u);
        }
    }
}

MASKFIT_BOTH_WAYS(PixelsOverlapFailure);

// A 10 x 10 board and a 6 x 6 shape whose content rectangle is (1, 1)-(4, 4),
// so w = h = 3. Placed at (2, 2), shape pixel (sx, sy) lies on (sx + 1, sy + 1).
class CanPlaceTest : public EachLibraryTest {
protected:
    mftest::TestBoard board{10, 10};
    mftest::TestShape shape{6, 6};

    void SetUp() override {
        HostTest::SetUp();
        shape.mask.bounds = MaskBounds{1, 1, 4, 4};
        board.mask.pixels.safety.safetyId = kBoardSafetyId;
        shape.mask.pixels.safety.safetyId = kShapeSafetyId;
    }

    int32_t Place(int32_t x, int32_t y) {
        return ResultOf([&] { return Library().canPlace(&board.mask, &shape.mask, x, y); });
    }
};

TEST_P(CanPlaceTest, ProbesPairExactlyTheTabledPixelsAndTheScanIsHalfOpen) {
    struct Case {
        const char* name;
        uint8_t shapeFill;
        std::vector<Point> shapeSet;
        uint8_t boardFill;
        std::vector<Point> boardSet;
        int32_t expected;
    };
    const std::vector<Point> columnAndRowPastTheContent = {{4, 0}, {4, 1}, {4, 2}, {4, 3}, {4, 5}, {0, 4},
                                                           {1, 4}, {2, 4}, {3, 4}, {5, 4}};
    const Case cases[] = {
        {"scan maps (X0 + j, Y0 + i) to (x + j, y + i)", 0, {{3, 2}}, 0, {{4, 3}}, 0},
        {"scan: the pixels around the mapped one", 0, {{3, 2}}, 0, {{3, 3}, {5, 3}, {4, 2}, {4, 4}}, 1},
        {"probe 2: (X0, Y0) against (x, y + h)", 0, {{1, 1}}, 0, {{2, 5}}, 0},
        {"probe 2 does not read (X0, Y1)", 0, {{1, 4}}, 0, {{2, 5}}, 1},
        {"probe 3: (X1, Y1) against (x + w, y)", 0, {{4, 4}}, 0, {{5, 2}}, 0},
        {"probe 3 does not read (X1, Y0)", 0, {{4, 1}}, 0, {{5, 2}}, 1},
        {"probe 4: (X1, Y1) against (x + w, y + h)", 0, {{4, 4}}, 0, {{5, 5}}, 0},
        {"probe 5: (X1 / 2, Y0 / 2) against (x, y)", 0, {{2, 0}}, 0, {{2, 2}}, 0},
        {"probe 5 is not taken at the placed centre", 0, {{2, 0}}, 0, {{3, 3}}, 1},
        {"column X1 and row Y1 are neither scanned nor probed", 0, columnAndRowPastTheContent, 255, {}, 1},
        {"empty board under a fully set shape", FILL_RECT, {}, 0, {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::fill(shape.pixels.bytes.begin(), shape.pixels.bytes.end(), c.shapeFill);
        std::fill(board.pixels.bytes.begin(), board.pixels.bytes.end(), c.boardFill);
        Cover(shape, c.shapeSet);
        Cover(board, c.boardSet, FILL_BORDER);
        const BoardMask boardBefore = board.mask;
        const ShapeMask shapeBefore = shape.mask;
        const std::vector<uint8_t> boardBytes = board.pixels.bytes;
        const std::vector<uint8_t> shapeBytes = shape.pixels.bytes;

        EXPECT_EQ(Place(2, 2), c.expected);

        EXPECT_EQ(std::memcmp(&board.mask, &boardBefore, sizeof boardBefore), 0) << "board record written";
        EXPECT_EQ(std::memcmp(&shape.mask, &shapeBefore, sizeof shapeBefore), 0) << "shape record written";
        EXPECT_EQ(board.pixels.bytes, boardBytes);
        EXPECT_EQ(shape.pixels.bytes, shapeBytes);
    }
}

TEST_P(CanPlaceTest, ProbeFiveHalvesTowardZero) {
    // X1 = -3 and Y0 = 5: probe 5 reads shape pixel (-1, 2), element 15 of an
    // 8-wide shape; halving toward minus infinity would read (-2, 2), element 14.
    mftest::TestShape wide(8, 10);
    wide.mask.bounds = MaskBounds{-5, 5, -3, 7};
    board.Set(3, 3, FILL_BORDER);
    for (const auto& [shapeIndex, expected] : {std::pair<size_t, int32_t>{15, 0}, {14, 1}}) {
        std::fill(wide.pixels.bytes.begin(), wide.pixels.bytes.end(), 0);
        wide.pixels[shapeIndex] = FILL_INTERIOR;
        EXPECT_EQ(ResultOf([&] { return Library().canPlace(&board.mask, &wide.mask, 3, 3); }), expected)
            << "shape element " << shapeIndex;
    }
}

TEST_P(CanPlaceTest, ScansOnlyWhenTheCornersCompareInOrderNotWhenTheSizeWrapsAboveZero) {
    // Y1 < Y0, yet Y1 - Y0 wraps to a positive height. Row strides of 0 make
    // every row the same strip, so each index stays in its window. The scan's
    // second step, board element 3 against shape element 2, would overlap.
    mftest::TestBoard strip(10, 1);
    strip.mask.width = 0;
    strip.pixels[3] = FILL_BORDER;
    mftest::TestShape shapeStrip(6, 1);
    shapeStrip.mask.width = 0;
    shapeStrip.mask.bounds = MaskBounds{1, 100, 4, INT32_MIN + 5};
    shapeStrip.pixels[2] = FILL_INTERIOR;
    EXPECT_EQ(ResultOf([&] { return Library().canPlace(&strip.mask, &shapeStrip.mask, 2, 0); }), 1);
}

TEST_P(CanPlaceTest, MakesOneReadOfEachBufferPerPixelTestUntilTheFirstOverlap) {
    struct Case {
        const char* name;
        MaskBounds bounds;
        std::vector<Point> shapeSet, boardSet;
        int32_t expected;
        size_t pixelTests;
    };
    const Case cases[] = {
        {"empty columns: the five probes alone", {2, 1, 2, 4}, {{2, 2}}, {{2, 3}}, 1, 5},
        {"rows reversed: the five probes alone", {1, 3, 4, 1}, {}, {}, 1, 5},
        {"a fit: probes and the whole 3 x 3 scan", {1, 1, 4, 4}, {}, {}, 1, 5 + 9},
        {"probe 1 overlaps", {1, 1, 4, 4}, {{1, 1}}, {{2, 2}}, 0, 1},
        {"probe 4 overlaps", {1, 1, 4, 4}, {{4, 4}}, {{5, 5}}, 0, 4},
        {"the fifth scan step overlaps", {1, 1, 4, 4}, {{2, 2}}, {{3, 3}}, 0, 5 + 5},
        {"the last scan step overlaps", {1, 1, 4, 4}, {{3, 3}}, {{4, 4}}, 0, 5 + 9},
    };
    ForceHostChecks(board.pixels);
    ForceHostChecks(shape.pixels);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        hostsim::ResetState();
        std::fill(shape.pixels.bytes.begin(), shape.pixels.bytes.end(), 0);
        std::fill(board.pixels.bytes.begin(), board.pixels.bytes.end(), 0);
        Cover(shape, c.shapeSet);
        Cover(board, c.boardSet);
        shape.mask.bounds = c.bounds;

        EXPECT_EQ(Place(2, 2), c.expected);

        EXPECT_EQ(CountSafetyCalls(false, kBoardSafetyId), c.pixelTests);
        EXPECT_EQ(CountSafetyCalls(false, kShapeSafetyId), c.pixelTests);
        EXPECT_EQ(CountSafetyCalls(true), 0u) << "a fit test never asks for the write check";
        const auto& calls = Host().safetyCalls;
        for (size_t i = 0; i < calls.size(); ++i) {
            EXPECT_EQ(calls[i].handle.safetyId, i % 2 == 0 ? kBoardSafetyId : kShapeSafetyId) << "read " << i;
        }
    }
}

MASKFIT_EACH_LIBRARY(CanPlaceTest);

class CanPlaceFailure : public BothWaysTest {};

// An 8 x 2 shape whose content rectangle (0, 0)-(7, 2) ends at its height:
// the scan stays inside, but probes 3 and 4 read shape element 2 * 8 + 7 = 23.
// The board is 3 wide with 12 pixels.
TEST_P(CanPlaceFailure, ProbeThreeFailsOnTheShapeUnlessSomethingComesFirst) {
    struct Case {
        const char* name;
        Point at;
        std::vector<Point> shapeSet, boardSet;
        std::string message;  // empty: the call returns 0
        size_t readsBefore;
    };
    const Case cases[] = {
        {"probe 3 reads past the shape", {0, 0}, {}, {}, mftest::PlainMessage(23, 16), 4 + 1},
        {"probe 3's board index fails first", {2, 1}, {}, {}, mftest::PlainMessage(12, 12), 4},
        {"probe 1 overlaps before", {0, 0}, {{0, 0}}, {{0, 0}}, "", 2},
        {"probe 2 overlaps before", {0, 0}, {{0, 0}}, {{0, 2}}, "", 4},
    };
    for (const mftest::NamedLibrary& library : mftest::kEachLibrary) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(library.name) + ": " + c.name);
            hostsim::ResetState();
            mftest::TestBoard board(3, 4);
            mftest::TestShape shape(8, 2);
            shape.mask.bounds = MaskBounds{0, 0, 7, 2};
            Cover(shape, c.shapeSet);
            Cover(board, c.boardSet);
            ForceHostChecks(board.pixels);
            ForceHostChecks(shape.pixels);
            int32_t result = -1;
            const hostsim::Outcome outcome =
                hostsim::Run([&] { result = library.entries().canPlace(&board.mask, &shape.mask, c.at.x, c.at.y); });
            if (c.message.empty()) {
                EXPECT_EQ(outcome.ending, hostsim::Ending::kReturned) << outcome.message;
                EXPECT_EQ(result, 0);
            } else {
                mftest::ExpectIndexFailure(outcome, c.message);
            }
            EXPECT_EQ(CountSafetyCalls(false), c.readsBefore);
        }
    }
}

MASKFIT_BOTH_WAYS(CanPlaceFailure);

}  // namespace

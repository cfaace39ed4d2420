// The two failure messages, chosen by index, length and window, and the same
// outcome whatever the element size of the failing view.
#include <cstring>

#include "test_support.h"

namespace {

using mftest::BothWaysTest;
using mftest::kRestrictedWindowMessage;
using mftest::PlainMessage;

struct FailureRow {
    int32_t index;
    int32_t length;
    int32_t minIndex;
    int32_t maxIndex;
    bool restricted;
};

const FailureRow kRows[] = {
    {10, 10, 0, 9, false},  {-1, 10, 0, 9, false}, {0, 0, 0, -1, false}, {7, 10, 2, 5, true},
    {-1, 10, 2, 5, true},   {10, 10, 2, 5, false}, {10, 12, 0, 9, true},
    // The longest plain message: 58 characters.
    {INT32_MIN, INT32_MIN, 0, -1, false},
};

std::string Expected(const FailureRow& row) {
    return row.restricted ? std::string(kRestrictedWindowMessage) : PlainMessage(row.index, row.length);
}

class BoundsFailureTest : public BothWaysTest {
protected:
    // Each view kind fails through a different entry point.
    hostsim::Outcome FailOnBytes(const FailureRow& row) {
        mftest::TestShape shape(1, 1);
        shape.mask.pixels.length = row.length;
        shape.mask.pixels.minIndex = row.minIndex;
        shape.mask.pixels.maxIndex = row.maxIndex;
        return hostsim::Run([&] { lib.setPixel(&shape.mask, nullptr, nullptr, nullptr, 1, 0, 0, row.index, 0); });
    }

    hostsim::Outcome FailOnPlacementResults(const FailureRow& row) {
        // An empty board and shape: the first candidate fits and is written.
        mftest::TestBoard board(4, 4);
        mftest::TestShape shape(2, 2);
        PlacementSearchJob job{};
        job.xRange = {0, 0, 1, 0};
        job.yRange = {0, 0, 1, 0};
        job.outputIndex = row.index;
        job.board = board.mask;
        job.board.bounds = {100, 100, 0, 0};
        job.shape = shape.mask;
        job.shape.bounds = {0, 0, 1, 1};
        PlacementResult results[1]{};
        uint32_t word = 0;
        job.results = mftest::ViewOf(results, row.length, &word);
        job.results.minIndex = row.minIndex;
        job.results.maxIndex = row.maxIndex;
        return hostsim::Run([&] { lib.findPlacement(&job, nullptr, nullptr, nullptr, 0); });
    }

    hostsim::Outcome FailOnShapeMasks(const FailureRow& row) {
        ShapeMask shapes[1]{};
        uint32_t word = 0;
        ShapeBuildJob job{};
        job.shapeIndex = row.index;
        job.shapes = mftest::ViewOf(shapes, row.length, &word);
        job.shapes.minIndex = row.minIndex;
        job.shapes.maxIndex = row.maxIndex;
        return hostsim::Run([&] { lib.buildShapeMask(&job, nullptr, nullptr, nullptr, 0); });
    }
};
MASKFIT_BOTH_WAYS(BoundsFailureTest);

TEST_P(BoundsFailureTest, MessageDependsOnIndexLengthAndWindowOnly) {
    for (const FailureRow& row : kRows) {
        SCOPED_TRACE(testing::Message() << "index " << row.index << " length " << row.length << " window ["
                                        << row.minIndex << ", " << row.maxIndex << "]");
        const std::string expected = Expected(row);
        mftest::ExpectIndexFailure(FailOnBytes(row), expected);
        mftest::ExpectIndexFailure(FailOnPlacementResults(row), expected);
        mftest::ExpectIndexFailure(FailOnShapeMasks(row), expected);
    }
}

TEST_P(BoundsFailureTest, LongestPlainMessageIsDeliveredWhole) {
    const auto outcome = FailOnBytes({INT32_MIN, INT32_MIN, 0, -1, false});
    EXPECT_EQ(outcome.message, "Index -2147483648 is out of range of '-2147483648' Length.");
    EXPECT_EQ(outcome.message.size(), 58u);
}

TEST_P(BoundsFailureTest, EdgesOfTheWindow) {
    mftest::TestShape shape(10, 1);
    shape.mask.pixels.minIndex = 3;
    shape.mask.pixels.maxIndex = 6;
    for (int32_t x : {3, 6}) {
        EXPECT_EQ(hostsim::Run([&] { lib.setPixel(&shape.mask, nullptr, nullptr, nullptr, 1, 0, 0, x, 0); }).ending,
                  hostsim::Ending::kReturned);
    }
    for (int32_t x : {2, 7}) {
        mftest::ExpectIndexFailure(
            hostsim::Run([&] { lib.setPixel(&shape.mask, nullptr, nullptr, nullptr, 1, 0, 0, x, 0); }),
            kRestrictedWindowMessage);
    }
    // An empty window fails every index.
    shape.mask.pixels.minIndex = 5;
    shape.mask.pixels.maxIndex = 4;
    mftest::ExpectIndexFailure(
        hostsim::Run([&] { lib.setPixel(&shape.mask, nullptr, nullptr, nullptr, 1, 0, 0, 5, 0); }),
        kRestrictedWindowMessage);
}

}  // namespace

// The FindPlacement job through the host: search order, the row and column
// limits, the single 16-byte result, outputIndex outside the window, and
// ranges whose steps would never reach their end.
#include <cstring>
#include <optional>

#include "placement_support.h"

namespace {

using mftest::BothWaysTest;
using mftest::CountSafetyCalls;
using mftest::EachLibraryTest;
using mftest::ForceHostChecks;
using mftest::Point;
using mftest::SearchJob;

constexpr int32_t kMax = INT32_MAX;

// Compares every element with what it held before, except one hit.
void ExpectResults(const SearchJob& job, std::optional<Point> hit) {
    for (size_t i = 0; i < job.results.size(); ++i) {
        const bool written = hit.has_value() && static_cast<int32_t>(i) == job.block.outputIndex;
        const PlacementResult expected = written ? PlacementResult{hit->x, hit->y, 1, 0} : SearchJob::kUntouched;
        EXPECT_EQ(job.results[i], expected) << "element " << i;
    }
}

// An 8 x 8 board, all covered except the holes that the test opens, and a
// 2 x 2 shape with content rectangle (0, 0)-(1, 1) and only pixel (0, 0) set.
// Probes 1 and 2 make it fit at (x, y) exactly when board pixels (x, y) and
// (x, y + 1) are both empty: a hole at (x, y) clears those two.
class SearchTest : public EachLibraryTest {
protected:
    mftest::TestBoard board{8, 8};
    mftest::TestShape shape{2, 2};

    void SetUp() override {
        HostTest::SetUp();
        // No limit inside the grid; the fields the search must not read hold nonsense.
        board.mask.bounds = MaskBounds{100, 100, -1, -1};
        board.mask.height = 0;
        shape.mask.bounds = MaskBounds{0, 0, 1, 1};
        shape.Set(0, 0, FILL_INTERIOR);
        CoverBoard();
    }

    void CoverBoard() { std::fill(board.pixels.bytes.begin(), board.pixels.bytes.end(), 255); }

    void OpenHoles(const std::vector<Point>& holes) {
        for (const Point& hole : holes) {
            board.Set(hole.x, hole.y, 0);
            board.Set(hole.x, hole.y + 1, 0);
        }
    }

    SearchJob Job(SearchRange x, SearchRange y) {
        SearchJob job(board.mask, shape.mask);
        job.Ranges(x, y);
        return job;
    }
};

TEST_P(SearchTest, StoresTheHitAsOneElementAtOutputIndexAndNothingElse) {
    OpenHoles({{3, 2}});
    SearchJob job = Job({0, 7, 1, 0}, {0, 6, 1, 0});
    job.block.outputIndex = 2;
    *job.resultsVersion = 2;  // the write check only
    std::vector<uint8_t> blockBefore(sizeof job.block);
    std::memcpy(blockBefore.data(), &job.block, sizeof job.block);

    const hostsim::Outcome outcome = job.Run(Library());

    EXPECT_EQ(outcome.ending, hostsim::Ending::kReturned) << outcome.message;
    ExpectResults(job, Point{3, 2});
    EXPECT_EQ(std::memcmp(blockBefore.data(), &job.block, sizeof job.block), 0) << "the job block changed";
    ASSERT_EQ(Host().safetyCalls.size(), 1u);
    EXPECT_TRUE(Host().safetyCalls[0].write);
    EXPECT_EQ(std::memcmp(&Host().safetyCalls[0].handle, &job.block.results.safety, sizeof(AtomicSafetyHandle)), 0);
}

TEST_P(SearchTest, TriesRowsOuterAndColumnsInnerAlongTheirSteps) {
    struct Case {
        const char* name;
        std::vector<Point> holes;
        SearchRange x, y;
        std::optional<Point> hit;
    };
    const Case cases[] = {
        {"an earlier row wins over a smaller x", {{5, 1}, {1, 3}}, {0, 7, 1, 0}, {0, 6, 1, 0}, Point{5, 1}},
        {"within a row the smaller x wins", {{5, 1}, {2, 1}}, {0, 7, 1, 0}, {0, 6, 1, 0}, Point{2, 1}},
        {"only columns on the x step are tried", {{3, 1}, {4, 2}}, {0, 7, 2, 0}, {0, 6, 1, 0}, Point{4, 2}},
        {"only rows on the y step are tried", {{1, 1}, {1, 2}}, {0, 7, 1, 0}, {0, 6, 2, 0}, Point{1, 2}},
        {"columns before xRange.start are not tried", {{2, 1}, {6, 1}}, {3, 7, 1, 0}, {0, 6, 1, 0}, Point{6, 1}},
        {"columns after xRange.end are not tried", {{6, 1}}, {0, 5, 1, 0}, {0, 6, 1, 0}, std::nullopt},
        {"nowhere to fit", {}, {0, 7, 1, 0}, {0, 6, 1, 0}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CoverBoard();
        OpenHoles(c.holes);
        SearchJob job = Job(c.x, c.y);
        job.block.outputIndex = 1;
        const hostsim::Outcome outcome = job.Run(Library());
        EXPECT_EQ(outcome.ending, hostsim::Ending::kReturned) << outcome.message;
        ExpectResults(job, c.hit);
    }
}

TEST_P(SearchTest, RowLimitEndsAtYPlusY1AndColumnLimitSkipsAtXPlusX1) {
    struct Case {
        const char* name;
        MaskBounds shapeBounds;
        int32_t columnLimit, rowLimit;  // board bounds.x0 and bounds.y0
        SearchRange x, y;
        std::optional<Point> hit;
    };
    const Case cases[] = {
        {"y + Y1 equal to the row limit ends the search", {0, 0, 1, 1}, 100, 5, {0, 0, 1, 0}, {4, 6, 1, 0},
         std::nullopt},
        {"one row less is searched", {0, 0, 1, 1}, 100, 6, {0, 0, 1, 0}, {4, 6, 1, 0}, Point{0, 4}},
        {"x + X1 equal to the column limit is skipped", {0, 0, 1, 1}, 5, 100, {4, 5, 1, 0}, {0, 0, 1, 0},
         std::nullopt},
        {"one column less is tried", {0, 0, 1, 1}, 6, 100, {4, 5, 1, 0}, {0, 0, 1, 0}, Point{4, 0}},
        {"the column limit adds X1, not the width", {2, 3, 3, 4}, 4, 100, {1, 3, 1, 0}, {0, 0, 1, 0},
         std::nullopt},
        {"the row limit adds Y1, not the height", {2, 3, 3, 4}, 100, 4, {0, 0, 1, 0}, {0, 2, 1, 0}, std::nullopt},
        {"below both limits", {2, 3, 3, 4}, 4, 5, {0, 3, 1, 0}, {0, 2, 1, 0}, Point{0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // An empty board and shape: every candidate that is tried fits.
        mftest::TestBoard emptyBoard(8, 8);
        mftest::TestShape emptyShape(6, 6);
        emptyBoard.mask.bounds = MaskBounds{c.columnLimit, c.rowLimit, -1, -1};
        emptyShape.mask.bounds = c.shapeBounds;
        SearchJob job(emptyBoard.mask, emptyShape.mask);
        job.Ranges(c.x, c.y);
        const hostsim::Outcome outcome = job.Run(Library());
        EXPECT_EQ(outcome.ending, hostsim::Ending::kReturned) << outcome.message;
        ExpectResults(job, c.hit);
    }
}

// The limit sums wrap like every other sum, which is the one way a later
// candidate can pass a limit that an earlier one failed.
TEST_P(SearchTest, ColumnLimitSkipsAndTheRowGoesOnToAColumnWhoseSumWraps) {
    // X1 = 65536: x = 0 fails the column limit of 10, and x = 2^31 - 2^16
    // passes it because x + X1 wraps. Shape probes read elements 65536 and
    // 32768; a board width of -(2^31 - 2^16) puts (2^31 - 2^16, 1) at element 0,
    // while (0, 1) lies outside the board's window.
    mftest::TestShape shape(65537, 1);
    shape.mask.bounds = MaskBounds{65536, 0, 65536, 0};
    mftest::TestBoard board(1, 1);
    board.mask.width = INT32_MIN + 65536;
    board.mask.bounds = MaskBounds{10, 10, 0, 0};
    constexpr int32_t kWrappingX = kMax - 65535;
    ForceHostChecks(board.pixels);

    for (const auto& [x, hit] : {std::pair<SearchRange, std::optional<Point>>{{0, 0, 1, 0}, std::nullopt},
                                 {{0, kMax, kWrappingX, 0}, Point{kWrappingX, 1}}}) {
        hostsim::ResetState();
        SearchJob job(board.mask, shape.mask);
        job.Ranges(x, {1, 1, 1, 0});
        const hostsim::Outcome outcome = job.Run(Library());
        EXPECT_EQ(outcome.ending, hostsim::Ending::kReturned) << outcome.message;
        ExpectResults(job, hit);
        // A skipped candidate reads nothing; the tried one makes five pixel tests.
        EXPECT_EQ(CountSafetyCalls(false), hit ? 5u : 0u);
    }
}

TEST_P(SearchTest, RowLimitEndsTheSearchBeforeALaterRowWhoseSumWraps) {
    // Y1 = 65536: y = 0 fails the row limit of 10; y = 2^31 - 2^16 would pass
    // it because y + Y1 wraps, and would fit: board width 65536 and shape
    // width 131072 wrap every read of that row to an empty element.
    mftest::TestShape shape(3, 1);
    shape.mask.width = 131072;
    shape.mask.bounds = MaskBounds{2, 65536, 2, 65536};
    mftest::TestBoard board(1, 1);
    board.mask.width = 65536;
    board.mask.bounds = MaskBounds{10, 10, 0, 0};
    constexpr int32_t kWrappingY = kMax - 65535;
    ForceHostChecks(board.pixels);

    for (const auto& [y, hit] : {std::pair<SearchRange, std::optional<Point>>{{0, kMax, kWrappingY, 0}, std::nullopt},
                                 {{kWrappingY, kMax, 1, 0}, Point{0, kWrappingY}}}) {
        hostsim::ResetState();
        SearchJob job(board.mask, shape.mask);
        job.Ranges({0, 0, 1, 0}, y);
        const hostsim::Outcome outcome = job.Run(Library());
        EXPECT_EQ(outcome.ending, hostsim::Ending::kReturned) << outcome.message;
        ExpectResults(job, hit);
        EXPECT_EQ(CountSafetyCalls(false), hit ? 5u : 0u);
    }
}

// Steps that would never reach their end: 0 or negative steps hold the single
// candidate start, and an axis whose next value would pass INT32_MAX ends.
// A ten-pixel board holds the last ten values of the walked axis: element i
// is the candidate INT32_MAX - 9 + i. The shape's probes 1 to 4 read an empty
// pixel, so each tried candidate makes exactly five pixel tests, and probe 5
// reads a set one, so a candidate fits exactly where the board has a hole.
enum class Axis { kX, kY };

struct AxisTopSearch {
    mftest::TestBoard board{10, 1};
    mftest::TestShape shape{6, 1};
    Axis axis;

    explicit AxisTopSearch(Axis walked) : axis(walked) {
        std::fill(board.pixels.bytes.begin(), board.pixels.bytes.end(), 255);
        shape.pixels[0] = FILL_INTERIOR;  // probe 5 reads (X1 / 2, Y0 / 2) = (0, 0)
        if (axis == Axis::kX) {
            // Candidates (INT32_MAX - 9 + i, 1); probes 1 to 4 read shape (-1, 1), element 3.
            board.mask.width = INT32_MIN + 10;
            board.mask.bounds = MaskBounds{kMax, 100, 0, 0};
            shape.mask.width = 4;
            shape.mask.bounds = MaskBounds{-1, 1, -1, 1};
        } else {
            // Candidates (INT32_MIN + 10, INT32_MAX - 9 + i); probes 1 to 4 read shape (1, -1), element 5.
            board.mask.width = 1;
            board.mask.bounds = MaskBounds{100, kMax, 0, 0};
            shape.mask.width = -4;
            shape.mask.bounds = MaskBounds{1, -1, 1, -1};
        }
        ForceHostChecks(board.pixels);
        ForceHostChecks(shape.pixels);
    }

    SearchJob Job(SearchRange walked) {
        SearchJob job(board.mask, shape.mask);
        if (axis == Axis::kX) {
            job.Ranges(walked, {1, 1, 1, 0});
        } else {
            job.Ranges({INT32_MIN + 10, INT32_MIN + 10, 1, 0}, walked);
        }
        return job;
    }

    Point HitAt(int32_t walkedValue) const {
        return axis == Axis::kX ? Point{walkedValue, 1} : Point{INT32_MIN + 10, walkedValue};
    }
};

TEST_P(SearchTest, RangesThatWouldNeverEndStopOnBothAxes) {
    struct Case {
        const char* name;
        SearchRange walked;
        std::vector<size_t> holes;  // board elements
        std::optional<int32_t> hit;
        size_t candidatesTried;
    };
    const Case cases[] = {
        {"step 1 up to INT32_MAX reaches it", {kMax - 9, kMax, 1, 0}, {9}, kMax, 10},
        {"step 1 up to INT32_MAX ends after it", {kMax - 9, kMax, 1, 0}, {}, std::nullopt, 10},
        {"a step that jumps past INT32_MAX", {kMax - 9, kMax, 4, 0}, {8}, kMax - 1, 3},
        {"the value after the wrap is not tried", {kMax - 9, kMax, 4, 0}, {9}, std::nullopt, 3},
        {"step INT32_MAX", {kMax - 9, kMax, kMax, 0}, {1}, std::nullopt, 1},
        {"step 0 tries start", {kMax - 9, kMax, 0, 0}, {0}, kMax - 9, 1},
        {"step 0 tries start alone", {kMax - 9, kMax, 0, 0}, {1, 2}, std::nullopt, 1},
        {"a negative step tries start", {kMax - 9, kMax, -3, 0}, {0}, kMax - 9, 1},
        {"a negative step tries start alone", {kMax - 9, kMax, -3, 0}, {1, 2}, std::nullopt, 1},
        {"step 0 with start after end", {kMax, kMax - 9, 0, 0}, {0, 9}, std::nullopt, 0},
        {"a positive step ends after end", {kMax - 9, kMax - 5, 1, 0}, {5}, std::nullopt, 5},
    };
    for (const Axis axis : {Axis::kX, Axis::kY}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(axis == Axis::kX ? "x: " : "y: ") + c.name);
            hostsim::ResetState();
            AxisTopSearch search(axis);
            for (const size_t hole : c.holes) {
                search.board.pixels[hole] = 0;
            }
            SearchJob job = search.Job(c.walked);
            const hostsim::Outcome outcome = job.Run(Library());
            EXPECT_EQ(outcome.ending, hostsim::Ending::kReturned) << outcome.message;
            ExpectResults(job, c.hit ? std::optional<Point>(search.HitAt(*c.hit)) : std::nullopt);
            EXPECT_EQ(CountSafetyCalls(false), 10 * c.candidatesTried) << "two reads per pixel test";
        }
    }
}

// Columns left of 0 are candidates like any other: their pixels lie at the
// end of the row above. A fully covered shape on an empty board whose x
// range starts at -1 fits at once at x = -1; the board's unread bounds.x1
// and y1 hold the stale values a host may leave there.
TEST_P(SearchTest, ACandidateAtColumnMinusOneIsTheFirstFit) {
    mftest::TestBoard empty(12, 25);
    empty.mask.bounds = MaskBounds{13, 25, -1423875014, -1491905557};
    mftest::TestShape covered(10, 11);
    std::fill(covered.pixels.bytes.begin(), covered.pixels.bytes.end(), FILL_RECT);
    covered.mask.bounds = MaskBounds{0, 0, 1, 5};
    covered.mask.origin = MaskOrigin{7, -11};
    SearchJob job(empty.mask, covered.mask);
    job.Ranges({-1, 10, 1, 0}, {5, 10, 1, 0});
    ASSERT_EQ(job.Run(Library()).ending, hostsim::Ending::kReturned);
    ExpectResults(job, Point{-1, 5});
}

MASKFIT_EACH_LIBRARY(SearchTest);

class SearchOutput : public BothWaysTest {};

TEST_P(SearchOutput, OutputIndexIsCheckedOnlyAtAHitAndBeforeTheWriteCheck) {
    struct Case {
        const char* name;
        int32_t minIndex, maxIndex, outputIndex;
        bool boardHasRoom;
        std::string message;  // empty: the run returns
    };
    const Case cases[] = {
        {"past the window without a hit", 0, 3, 4, false, ""},
        {"negative without a hit", 0, 3, -1, false, ""},
        {"past the window with a hit", 0, 3, 4, true, mftest::PlainMessage(4, 4)},
        {"negative with a hit", 0, 3, -1, true, mftest::PlainMessage(-1, 4)},
        {"outside a restricted window with a hit", 1, 1, 2, true, mftest::kRestrictedWindowMessage},
        {"maxIndex with a hit", 0, 3, 3, true, ""},
    };
    for (const mftest::NamedLibrary& library : mftest::kEachLibrary) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(library.name) + ": " + c.name);
            hostsim::ResetState();
            mftest::TestBoard board(4, 4);
            mftest::TestShape shape(2, 2);
            std::fill(board.pixels.bytes.begin(), board.pixels.bytes.end(), c.boardHasRoom ? 0 : 255);
            shape.mask.bounds = MaskBounds{0, 0, 1, 1};
            shape.Set(0, 0, FILL_INTERIOR);
            board.mask.bounds = MaskBounds{100, 100, 0, 0};
            SearchJob job(board.mask, shape.mask);
            job.Ranges({1, 2, 1, 0}, {1, 2, 1, 0});
            job.block.results.minIndex = c.minIndex;
            job.block.results.maxIndex = c.maxIndex;
            job.block.outputIndex = c.outputIndex;
            *job.resultsVersion = mftest::kVersionWordForcingChecks;

            const hostsim::Outcome outcome = job.Run(library.entries());

            const bool stored = c.boardHasRoom && c.message.empty();
            if (c.message.empty()) {
                EXPECT_EQ(outcome.ending, hostsim::Ending::kReturned) << outcome.message;
            } else {
                mftest::ExpectIndexFailure(outcome, c.message);
            }
            ExpectResults(job, stored ? std::optional<Point>(Point{1, 1}) : std::nullopt);
            EXPECT_EQ(CountSafetyCalls(true), stored ? 1u : 0u);
        }
    }
}

TEST_P(SearchOutput, ARefusedWriteCheckLeavesTheElementAsItWas) {
    for (const mftest::NamedLibrary& library : mftest::kEachLibrary) {
        SCOPED_TRACE(library.name);
        hostsim::ResetState();
        mftest::TestBoard board(4, 4);
        mftest::TestShape shape(2, 2);
        shape.mask.bounds = MaskBounds{0, 0, 1, 1};
        board.mask.bounds = MaskBounds{100, 100, 0, 0};
        SearchJob job(board.mask, shape.mask);
        *job.resultsVersion = mftest::kVersionWordForcingChecks;
        Host().refuseWrite = true;

        const hostsim::Outcome outcome = job.Run(library.entries());

        EXPECT_EQ(outcome.ending, hostsim::Ending::kRefused);
        EXPECT_TRUE(outcome.refusedWrite);
        ExpectResults(job, std::nullopt);
    }
}

MASKFIT_BOTH_WAYS(SearchOutput);

}  // namespace

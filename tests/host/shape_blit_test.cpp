// BlitShape through the host: set pixels of the half-open content rectangle
// copied, zero pixels transparent, no clipping, dirty widening per written
// pixel, per-pixel checks, and the partial result of a failing blit.
#include <string>
#include <vector>

#include "placement_support.h"

namespace {

using mftest::BothWaysTest;
using mftest::CountSafetyCalls;
using mftest::EachLibraryTest;
using mftest::ForceHostChecks;
using mftest::Point;

using Picture = std::vector<std::string>;

// The characters of mftest::Render.
uint8_t ByteOf(char c) {
    switch (c) {
        case '#': return FILL_INTERIOR;
        case '+': return FILL_BORDER;
        case 'r': return FILL_RECT;
        default: return 0;
    }
}

template <typename Mask>
void Paint(Mask& mask, const Picture& rows) {
    for (size_t y = 0; y < rows.size(); ++y) {
        for (size_t x = 0; x < rows[y].size(); ++x) {
            mask.Set(static_cast<int32_t>(x), static_cast<int32_t>(y), ByteOf(rows[y][x]));
        }
    }
}

std::string Joined(const Picture& rows) {
    std::string text;
    for (const std::string& row : rows) {
        text += row + '\n';
    }
    return text;
}

std::string RenderBoard(const mftest::TestBoard& board) {
    return mftest::Render(board.pixels.bytes.data(), board.mask.width,
                          static_cast<int32_t>(board.pixels.bytes.size()) / board.mask.width);
}

hostsim::Outcome Blit(const hostsim::EntryPoints& entries, mftest::TestBoard& board, const mftest::TestShape& shape,
                      Point at) {
    static const int hostValue = 0;
    return hostsim::Run([&] { entries.blitShape(&hostValue, &board.mask, &shape.mask, at.x, at.y); });
}

const DirtyRect kUntouched = mftest::UntouchedDirty();

class BlitTest : public EachLibraryTest {};

TEST_P(BlitTest, CopiesTheSetPixelsOfTheContentRectangleAndWidensPerWrittenPixel) {
    struct Case {
        const char* name;
        Picture shape;
        MaskBounds bounds;
        Picture boardBefore;
        DirtyRect dirtyBefore;
        Point at;
        Picture boardAfter;
        DirtyRect dirtyAfter;
    };
    const Picture emptyBoard = {".....", ".....", ".....", "....."};
    const Case cases[] = {
        {"a 1 x 1 content rectangle", {"...", ".#.", "..."}, {1, 1, 2, 2}, emptyBoard, kUntouched, {3, 2},
         {".....", ".....", "...#.", "....."}, {3, 2, 3, 2}},
        {"zero pixels leave the board, set pixels overwrite it", {"#.+", ".#."}, {0, 0, 3, 2},
         {"++r++", ".+...", ".....", "....."}, kUntouched, {1, 0},
         {"+#r++", ".+#..", ".....", "....."}, {1, 0, 3, 1}},
        {"columns x0 to x1 - 1 and rows y0 to y1 - 1 only", {"####", "####", "####", "####"}, {1, 1, 3, 3},
         emptyBoard, kUntouched, {0, 2}, {".....", ".....", "##...", "##..."}, {0, 2, 1, 3}},
        {"a row past the right edge goes on in the next row, widening with its own column", {"#+#"},
         {0, 0, 3, 1}, emptyBoard, kUntouched, {3, 1}, {".....", "...#+", "#....", "....."}, {3, 1, 5, 1}},
        {"a negative column reaches back into the previous row", {"#"}, {0, 0, 1, 1}, emptyBoard, kUntouched,
         {-1, 1}, {"....#", ".....", ".....", "....."}, {-1, 1, -1, 1}},
        {"the earlier dirty extent stays", {"#"}, {0, 0, 1, 1}, emptyBoard, {2, 3, 4, 3}, {3, 1},
         {".....", "...#.", ".....", "....."}, {2, 1, 4, 3}},
        {"writing the byte already there still widens", {"#"}, {0, 0, 1, 1},
         {".....", ".....", "...#.", "....."}, kUntouched, {3, 2}, {".....", ".....", "...#.", "....."},
         {3, 2, 3, 2}},
        {"widening covers written pixels only, not the rectangle", {"...", ".#.", "..."}, {0, 0, 3, 3},
         emptyBoard, kUntouched, {0, 0}, {".....", ".#...", ".....", "....."}, {1, 1, 1, 1}},
        {"an all-zero rectangle changes nothing", {"...", "...", "..."}, {0, 0, 3, 3},
         {"+....", ".....", ".....", "....."}, {0, 0, 0, 0}, {1, 1}, {"+....", ".....", ".....", "....."},
         {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mftest::TestShape shape(static_cast<int32_t>(c.shape[0].size()), static_cast<int32_t>(c.shape.size()));
        Paint(shape, c.shape);
        shape.mask.bounds = c.bounds;
        shape.mask.origin = MaskOrigin{7, -5};  // plays no part
        mftest::TestBoard board(5, 4);
        Paint(board, c.boardBefore);
        board.mask.dirty = c.dirtyBefore;
        const ShapeMask shapeBefore = shape.mask;

        const hostsim::Outcome outcome = Blit(Library(), board, shape, c.at);

        EXPECT_EQ(outcome.ending, hostsim::Ending::kReturned) << outcome.message;
        EXPECT_EQ(RenderBoard(board), Joined(c.boardAfter));
        EXPECT_EQ(board.mask.dirty, c.dirtyAfter);
        EXPECT_EQ(std::memcmp(&shape.mask, &shapeBefore, sizeof shapeBefore), 0) << "shape record written";
    }
}

TEST_P(BlitTest, AnEmptyContentRectangleTouchesNothing) {
    const MaskBounds emptyRectangles[] = {
        {2, 0, 2, 3},              // no columns
        {0, 2, 3, 2},              // no rows
        {3, 0, 1, 2},              // columns reversed
        {0, 3, 2, 1},              // rows reversed
        {0, -10, 1, INT32_MAX},    // y1 - y0 wraps below zero
        {INT32_MAX, 0, INT32_MIN, 1},
    };
    for (const MaskBounds& bounds : emptyRectangles) {
        SCOPED_TRACE(::testing::Message() << bounds.x0 << "," << bounds.y0 << "," << bounds.x1 << "," << bounds.y1);
        hostsim::ResetState();
        mftest::TestShape shape(3, 3);
        std::fill(shape.pixels.bytes.begin(), shape.pixels.bytes.end(), FILL_INTERIOR);
        shape.mask.bounds = bounds;
        mftest::TestBoard board(5, 4);
        ForceHostChecks(shape.pixels);
        ForceHostChecks(board.pixels);

        const hostsim::Outcome outcome = Blit(Library(), board, shape, {1, 1});

        EXPECT_EQ(outcome.ending, hostsim::Ending::kReturned) << outcome.message;
        EXPECT_EQ(board.pixels.bytes, std::vector<uint8_t>(20, 0));
        EXPECT_EQ(board.mask.dirty, kUntouched);
        EXPECT_TRUE(Host().safetyCalls.empty());
    }
}

TEST_P(BlitTest, ChecksTheReadOfEveryContentPixelAndTheWriteOfEverySetOne) {
    constexpr int32_t kShapeId = 11;
    constexpr int32_t kBoardId = 12;
    mftest::TestShape shape(4, 3);
    Paint(shape, {"#.#+", "##.+", "++++"});
    shape.mask.bounds = MaskBounds{0, 0, 3, 2};
    shape.mask.pixels.safety.safetyId = kShapeId;
    mftest::TestBoard board(5, 4);
    board.mask.pixels.safety.safetyId = kBoardId;
    ForceHostChecks(shape.pixels);
    ForceHostChecks(board.pixels);

    const hostsim::Outcome outcome = Blit(Library(), board, shape, {1, 1});

    EXPECT_EQ(outcome.ending, hostsim::Ending::kReturned) << outcome.message;
    EXPECT_EQ(CountSafetyCalls(false, kShapeId), 6u) << "one read per content pixel";
    EXPECT_EQ(CountSafetyCalls(true, kBoardId), 4u) << "one write per set pixel";
    EXPECT_EQ(Host().safetyCalls.size(), 10u) << "the shape is never written, the board never read";
    // Each write follows the read of its own source pixel.
    std::string order;
    for (const hostsim::SafetyCall& call : Host().safetyCalls) {
        order += call.write ? 'W' : 'R';
    }
    EXPECT_EQ(order, "RWRRWRWRWR");
}

MASKFIT_EACH_LIBRARY(BlitTest);

class BlitFailure : public BothWaysTest {};

// A 4 x 3 board whose view may end early or start late, and a 3 x 3 shape.
TEST_P(BlitFailure, EndsAtTheFirstPixelOutsideAWindowKeepingWhatItWrote) {
    struct Case {
        const char* name;
        Picture shape;
        MaskBounds bounds;
        int32_t boardViewLength, boardMinIndex;
        Point at;
        std::string message;  // empty: the blit returns
        Picture boardAfter;
        DirtyRect dirtyAfter;
    };
    const Case cases[] = {
        {"a set middle pixel past the board's window", {"###", "###", "###"}, {0, 0, 3, 3}, 6, 0, {1, 0},
         mftest::PlainMessage(6, 6), {".###", ".#..", "...."}, {1, 0, 3, 1}},
        {"zero pixels past the window are never looked at", {"###", "#..", "..."}, {0, 0, 3, 3}, 6, 0, {1, 0},
         "", {".###", ".#..", "...."}, {1, 0, 3, 1}},
        {"a source row past the shape's buffer", {"###", "#.#", "###"}, {0, 0, 3, 4}, 12, 0, {0, 0},
         mftest::PlainMessage(9, 9), {"###.", "#.#.", "###."}, {0, 0, 2, 2}},
        {"the first pixel below a restricted board window", {"###", "###", "###"}, {0, 0, 3, 3}, 12, 2, {1, 0},
         mftest::kRestrictedWindowMessage, {"....", "....", "...."}, kUntouched},
    };
    for (const mftest::NamedLibrary& library : mftest::kEachLibrary) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(library.name) + ": " + c.name);
            mftest::TestShape shape(3, 3);
            Paint(shape, c.shape);
            shape.mask.bounds = c.bounds;
            mftest::TestBoard board(4, 3);
            board.mask.pixels = mftest::ViewOf(board.pixels.bytes.data(), c.boardViewLength, board.pixels.versionWord.get());
            board.mask.pixels.minIndex = c.boardMinIndex;

            const hostsim::Outcome outcome = Blit(library.entries(), board, shape, c.at);

            if (c.message.empty()) {
                EXPECT_EQ(outcome.ending, hostsim::Ending::kReturned) << outcome.message;
            } else {
                mftest::ExpectIndexFailure(outcome, c.message);
            }
            EXPECT_EQ(RenderBoard(board), Joined(c.boardAfter));
            EXPECT_EQ(board.mask.dirty, c.dirtyAfter);
        }
    }
}

MASKFIT_BOTH_WAYS(BlitFailure);

}  // namespace

// PaintBorder through the host: the brush's extent, the clamp of absolute
// positions onto the closed ranges [0, width] and [0, height], the skip tests,
// and the checks made per pixel.
#include "drawing_support.h"

namespace {

using hostsim::Ending;
using mftest::BothWaysTest;
using mftest::Picture;
using mftest::TestShape;

void Brush(const hostsim::EntryPoints& library, ShapeMask& mask, int32_t value, int32_t cx, int32_t cy, int32_t rx,
           int32_t ry) {
    library.paintBorder(&mask, reinterpret_cast<const void*>(0x5A5A), value, cx, cy, rx, ry);
}

class PaintBorderTest : public mftest::EachLibraryTest {};
MASKFIT_EACH_LIBRARY(PaintBorderTest);

TEST_P(PaintBorderTest, NonPositiveHalfSizeTouchesNothingAndCallsNoCheck) {
    const struct {
        int32_t rx, ry;
    } cases[] = {{0, 1}, {1, 0}, {-1, 2}, {2, -1}, {0, 0}, {INT32_MIN, INT32_MIN}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "rx " << c.rx << ", ry " << c.ry);
        hostsim::ResetState();
        Host().refuseRead = Host().refuseWrite = true;
        TestShape shape(8, 8);
        mftest::RequireHostChecks(shape.mask.pixels);
        const hostsim::Outcome outcome =
            hostsim::Run([&] { Brush(Library(), shape.mask, FILL_BORDER, 3, 3, c.rx, c.ry); });
        EXPECT_EQ(outcome.ending, Ending::kReturned);
        EXPECT_TRUE(Host().safetyCalls.empty());
        EXPECT_EQ(Picture(shape), mftest::BlankPicture(8, 8));
        EXPECT_EQ(shape.mask.dirty, mftest::UntouchedDirty());
    }
}

TEST_P(PaintBorderTest, CoversTwoRxColumnsAndTwoRyRowsReachingFurtherUpAndLeft) {
    TestShape shape(8, 8);
    Brush(Library(), shape.mask, FILL_BORDER, 3, 3, 1, 1);
    EXPECT_EQ(Picture(shape),
              "........\n"
              "........\n"
              "..++....\n"
              "..++....\n"
              "........\n"
              "........\n"
              "........\n"
              "........\n");
    EXPECT_EQ(shape.mask.dirty, (DirtyRect{2, 2, 3, 3}));
}

TEST_P(PaintBorderTest, CoveredPixelsKeepTheirValueAndDoNotWiden) {
    TestShape shape(8, 8);
    shape.Set(2, 2, 7);
    shape.Set(3, 2, FILL_INTERIOR);
    Brush(Library(), shape.mask, FILL_BORDER, 3, 3, 1, 1);
    EXPECT_EQ(shape.At(2, 2), 7);
    EXPECT_EQ(shape.At(3, 2), FILL_INTERIOR);
    EXPECT_EQ(shape.At(2, 3), FILL_BORDER);
    EXPECT_EQ(shape.At(3, 3), FILL_BORDER);
    EXPECT_EQ(shape.mask.dirty, (DirtyRect{2, 3, 3, 3}));
}

TEST_P(PaintBorderTest, UsesOnlyTheLowByteOfValueAndWidensEvenForZero) {
    TestShape zero(8, 8);
    Brush(Library(), zero.mask, 0x100, 3, 3, 1, 1);
    EXPECT_EQ(Picture(zero), mftest::BlankPicture(8, 8));
    EXPECT_EQ(zero.mask.dirty, (DirtyRect{2, 2, 3, 3}));

    TestShape full(8, 8);
    Brush(Library(), full.mask, 0x7FFFFFFF, 3, 3, 1, 1);
    EXPECT_EQ(full.At(2, 2), 0xFF);
    EXPECT_EQ(full.At(3, 3), 0xFF);
}

// Positions outside the mask move onto the clamp limits, which include width
// and height themselves; the origin is subtracted after clamping and a
// negative local position is skipped. Writes are counted through the write
// check: a version word of 6 lets reads through and checks every write.
TEST_P(PaintBorderTest, ClampsAbsolutePositionsOntoTheClosedRanges) {
    const struct {
        const char* name;
        MaskOrigin origin;
        int32_t cx, cy, rx, ry;
        const char* picture;
        DirtyRect dirty;
        size_t writes;
    } cases[] = {
        {"left of column 0 lands on column 0 once per row", {0, 0}, 1, 2, 3, 1,
         "........\n++++....\n++++....\n........\n", {0, 1, 3, 2}, 8},
        {"above row 0 lands on row 0", {0, 0}, 2, 0, 1, 2,
         ".++.....\n.++.....\n........\n........\n", {1, 0, 2, 1}, 4},
        {"right of width lands on column width, the next row's first pixel", {0, 0}, 7, 2, 3, 1,
         "........\n....++++\n+...++++\n+.......\n", {4, 1, 8, 2}, 10},
        {"the clamp applies to absolute columns, before the origin", {2, 1}, 9, 2, 2, 1,
         ".....++.\n.....++.\n........\n........\n", {5, 0, 6, 1}, 4},
        {"negative local columns are skipped", {2, 0}, 1, 1, 2, 1,
         "+.......\n+.......\n........\n........\n", {0, 0, 0, 1}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        hostsim::ResetState();
        TestShape shape(8, 4);
        *shape.pixels.versionWord = 6;
        shape.mask.pixels.safety.version = 0;
        shape.mask.origin = c.origin;
        Brush(Library(), shape.mask, FILL_BORDER, c.cx, c.cy, c.rx, c.ry);
        EXPECT_EQ(Picture(shape), c.picture);
        EXPECT_EQ(shape.mask.dirty, c.dirty);
        EXPECT_EQ(mftest::CountChecks(true), c.writes);
        EXPECT_EQ(mftest::CountChecks(false), 0u);
    }
}

TEST_P(PaintBorderTest, ChecksReadThenWriteWithACopyOfTheHandle) {
    TestShape shape(8, 8);
    mftest::RequireHostChecks(shape.mask.pixels);
    Brush(Library(), shape.mask, FILL_BORDER, 3, 3, 1, 1);
    ASSERT_EQ(Host().safetyCalls.size(), 8u);
    for (size_t i = 0; i < Host().safetyCalls.size(); ++i) {
        EXPECT_EQ(Host().safetyCalls[i].write, i % 2 == 1) << "call " << i;
        EXPECT_EQ(Host().safetyCalls[i].handle, shape.mask.pixels.safety) << "call " << i;
    }
}

class PaintBorderFailureTest : public BothWaysTest {};
MASKFIT_BOTH_WAYS(PaintBorderFailureTest);

// Row `height` passes the skip test; its index lies past a window that ends
// at the last pixel. The pixel painted before stays painted and covered.
TEST_P(PaintBorderFailureTest, RowAtHeightEndsInTheBoundsFailure) {
    for (const mftest::NamedLibrary& library : mftest::kEachLibrary) {
        SCOPED_TRACE(library.name);
        TestShape shape(8, 8);
        const hostsim::Outcome outcome =
            hostsim::Run([&] { Brush(library.entries(), shape.mask, FILL_BORDER, 0, 8, 1, 1); });
        mftest::ExpectIndexFailure(outcome, mftest::PlainMessage(64, 64));
        EXPECT_EQ(shape.At(0, 7), FILL_BORDER);
        EXPECT_EQ(shape.mask.dirty, (DirtyRect{0, 7, 0, 7}));
    }
}

// A refused check ends the call at that access: the byte is not stored and
// the dirty rectangle not widened.
TEST_P(PaintBorderFailureTest, RefusedCheckEndsTheCallBeforeTheAccess) {
    for (const mftest::NamedLibrary& library : mftest::kEachLibrary) {
        for (const bool refuseWrite : {false, true}) {
            SCOPED_TRACE(testing::Message() << library.name << (refuseWrite ? ", write refused" : ", read refused"));
            hostsim::ResetState();
            Host().refuseRead = !refuseWrite;
            Host().refuseWrite = refuseWrite;
            TestShape shape(8, 8);
            mftest::RequireHostChecks(shape.mask.pixels);
            const hostsim::Outcome outcome =
                hostsim::Run([&] { Brush(library.entries(), shape.mask, FILL_BORDER, 3, 3, 1, 1); });
            EXPECT_EQ(outcome.ending, Ending::kRefused);
            EXPECT_EQ(outcome.refusedWrite, refuseWrite);
            EXPECT_EQ(Host().safetyCalls.size(), refuseWrite ? 2u : 1u);
            EXPECT_EQ(shape.At(2, 2), 0);
            EXPECT_EQ(shape.mask.dirty, mftest::UntouchedDirty());
        }
    }
}

}  // namespace

// RasterizeTriangle through the host: the filled pixel set follows the
// integer edge rules (truncated start values and steps that wrap), not exact
// geometry, and every filled pixel gets the border brush.
#include <cmath>

#include "drawing_support.h"

namespace {

using mftest::BothWaysTest;
using mftest::Picture;
using mftest::TestShape;

constexpr float kNaN = NAN;

void Fill(const hostsim::EntryPoints& library, ShapeMask& mask, Vec2 a, Vec2 b, Vec2 c, int32_t marginX,
          int32_t marginY) {
    static const uint32_t unread = 0xFEFE4040u;
    library.rasterizeTriangle(0x11, &mask, 0x33, 0x44, &unread, FILL_INTERIOR, &a, &b, &c, marginX, marginY);
}

// A mask of width x height, origin given, scanned up to `limit` exclusive.
TestShape ScannedShape(int32_t width, int32_t height, int32_t limit, MaskOrigin origin = {0, 0}) {
    TestShape shape(width, height);
    shape.mask.bounds = MaskBounds{limit, limit, 0, 0};
    shape.mask.origin = origin;
    return shape;
}

class RasterizeTriangleTest : public mftest::EachLibraryTest {};
MASKFIT_EACH_LIBRARY(RasterizeTriangleTest);

TEST_P(RasterizeTriangleTest, FillsThePixelsTheIntegerEdgeRulesSelect) {
    const struct {
        const char* name;
        Vec2 a, b, c;
        int32_t limit;
        MaskOrigin origin;
        const char* picture;  // the first rows; the rest stay empty
        DirtyRect dirty;
    } cases[] = {
        {"counter-clockwise: vertices and edges included", {0, 0}, {4, 0}, {0, 4}, 8, {0, 0},
         "#####...\n####....\n###.....\n##......\n#.......\n", {0, 0, 4, 4}},
        {"clockwise fills nothing", {0, 0}, {0, 4}, {4, 0}, 8, {0, 0}, "", mftest::UntouchedDirty()},
        {"scan limit is exclusive", {0, 0}, {4, 0}, {0, 4}, 3, {0, 0}, "###.....\n###.....\n###.....\n",
         {0, 0, 2, 2}},
        {"box by truncation, pixels tested at their corner", {0.5f, 0.5f}, {3.5f, 0.5f}, {0.5f, 3.5f}, 8, {0, 0},
         "........\n.###....\n.##.....\n.#......\n", {1, 1, 3, 3}},
        {"box starts at 0", {-2, -2}, {3, -2}, {-2, 3}, 8, {0, 0}, "##......\n#.......\n", {0, 0, 1, 1}},
        {"truncated row steps drift from the exact triangle", {0, 0}, {6, 0}, {0.5f, 3}, 8, {0, 0},
         "#######.\n#####...\n###.....\n##......\n", {0, 0, 6, 3}},
        {"origin is subtracted", {1, 0}, {3, 0}, {1, 2}, 8, {1, 0}, "###.....\n##......\n#.......\n",
         {0, 0, 2, 2}},
        {"a negative local column lands in the row before", {0, 1}, {0, 1}, {0, 1}, 8, {1, 0}, ".......#\n",
         {-1, 1, -1, 1}},
        // The box ignores the NaN in the first operand; the start values and
        // steps that use it are INT32_MIN, and two of them wrap to 0.
        {"NaN in the first vertex", {0, kNaN}, {4, 0}, {0, 4}, 8, {0, 0},
         ".#.#....\n.#.#....\n.#......\n.#......\n", {1, 0, 3, 3}},
        {"NaN in the last vertex", {0, 0}, {4, 0}, {0, kNaN}, 8, {0, 0}, ".#.#....\n", {1, 0, 3, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestShape shape = ScannedShape(8, 8, c.limit, c.origin);
        Fill(Library(), shape.mask, c.a, c.b, c.c, 0, 0);
        EXPECT_EQ(Picture(shape), mftest::Padded(c.picture, 8, 8));
        EXPECT_EQ(shape.mask.dirty, c.dirty);
    }
}

// The brush spans centre - margin .. centre + margin - 1, so the margin lies
// above and to the left of the shape, one pixel thinner below and right.
TEST_P(RasterizeTriangleTest, ShiftsByTheMarginsAndPaintsTheBorderAroundFilledPixels) {
    const struct {
        const char* name;
        Vec2 a, b, c;
        int32_t marginX, marginY;
        const char* picture;
        DirtyRect dirty;
    } cases[] = {
        {"margins 1", {0, 0}, {4, 0}, {0, 4}, 1, 1,
         "++++++....\n+#####....\n+####.....\n+###......\n+##.......\n+#........\n..........\n", {0, 0, 5, 5}},
        {"margins 2", {0, 0}, {2, 0}, {0, 2}, 2, 2,
         "++++++....\n++++++....\n++###+....\n++##++....\n++#++.....\n++++......\n..........\n", {0, 0, 5, 5}},
        {"a zero half-size shifts without a border", {0, 0}, {4, 0}, {0, 4}, 1, 0,
         ".#####....\n.####.....\n.###......\n.##.......\n.#........\n..........\n", {1, 0, 5, 4}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestShape shape = ScannedShape(10, 10, 8);
        Fill(Library(), shape.mask, c.a, c.b, c.c, c.marginX, c.marginY);
        EXPECT_EQ(Picture(shape), mftest::Padded(c.picture, 10, 10));
        EXPECT_EQ(shape.mask.dirty, c.dirty);
    }
}

TEST_P(RasterizeTriangleTest, OverwritesTrianglePixelsAndKeepsCoveredMarginPixels) {
    TestShape shape = ScannedShape(10, 10, 8);
    shape.Set(2, 2, FILL_BORDER);  // inside the shifted triangle
    shape.Set(0, 3, 17);           // in its margin
    Fill(Library(), shape.mask, {0, 0}, {4, 0}, {0, 4}, 1, 1);
    EXPECT_EQ(shape.At(2, 2), FILL_INTERIOR);
    EXPECT_EQ(shape.At(0, 3), 17);
}

// Filled pixels are stored without being read: with both checks demanded,
// only the write check runs, once per filled pixel, on a copy of the handle.
TEST_P(RasterizeTriangleTest, WritesFilledPixelsWithoutReadingThem) {
    TestShape shape = ScannedShape(8, 8, 8);
    mftest::RequireHostChecks(shape.mask.pixels);
    Fill(Library(), shape.mask, {0, 0}, {4, 0}, {0, 4}, 0, 0);
    EXPECT_EQ(mftest::CountChecks(false), 0u);
    ASSERT_EQ(mftest::CountChecks(true), 15u);
    EXPECT_EQ(Host().safetyCalls.front().handle, shape.mask.pixels.safety);
}

class RasterizeTriangleFailureTest : public BothWaysTest {};
MASKFIT_BOTH_WAYS(RasterizeTriangleFailureTest);

// Nothing but the pixel window limits the rows: the third row of an
// 8 x 2 mask is index 16. The rows written before stay, with their widening.
TEST_P(RasterizeTriangleFailureTest, RowPastTheWindowEndsTheCallAndKeepsEarlierRows) {
    for (const mftest::NamedLibrary& library : mftest::kEachLibrary) {
        SCOPED_TRACE(library.name);
        TestShape shape = ScannedShape(8, 2, 8);
        const hostsim::Outcome outcome =
            hostsim::Run([&] { Fill(library.entries(), shape.mask, {0, 0}, {4, 0}, {0, 4}, 0, 0); });
        mftest::ExpectIndexFailure(outcome, mftest::PlainMessage(16, 16));
        EXPECT_EQ(Picture(shape), "#####...\n####....\n");
        EXPECT_EQ(shape.mask.dirty, (DirtyRect{0, 0, 4, 1}));
    }
}

}  // namespace

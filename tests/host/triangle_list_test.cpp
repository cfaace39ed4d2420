// RasterizeTriangles through the host: orientation by the truncated cross
// product, the result 1, whole index triples only, and a result that does
// not depend on the order of the triangles.
#include <cmath>
#include <vector>

#include "drawing_support.h"

namespace {

using mftest::BothWaysTest;
using mftest::Picture;
using mftest::TestShape;

int32_t FillList(const hostsim::EntryPoints& library, ShapeMask& mask, const Vec2* vertices, const int32_t* indices,
                 int32_t indexCount, int32_t margin = 0) {
    return library.rasterizeTriangles(0x11, 0x22, 0x33, vertices, -1, indices, indexCount, &mask, margin, margin);
}

TestShape ScannedShape(int32_t width, int32_t height) {
    TestShape shape(width, height);
    shape.mask.bounds = MaskBounds{8, 8, 0, 0};
    return shape;
}

class RasterizeTrianglesTest : public mftest::EachLibraryTest {};
MASKFIT_EACH_LIBRARY(RasterizeTrianglesTest);

// Nothing at or past entry indexCount is read: the lists are null, or hold
// exactly indexCount entries (a read past them trips AddressSanitizer).
TEST_P(RasterizeTrianglesTest, ReturnsOneAndTouchesNothingWithoutAWholeTriple) {
    const Vec2 vertices[] = {{0, 0}, {4, 0}, {0, 4}};
    for (const int32_t count : {0, -3, INT32_MIN, 1, 2}) {
        SCOPED_TRACE(count);
        hostsim::ResetState();
        Host().refuseRead = Host().refuseWrite = true;
        TestShape shape = ScannedShape(8, 8);
        mftest::RequireHostChecks(shape.mask.pixels);
        const std::vector<int32_t> indices(count > 0 ? static_cast<size_t>(count) : 0, 0);
        int32_t result = 0;
        const hostsim::Outcome outcome = hostsim::Run([&] {
            result = FillList(Library(), shape.mask, count > 0 ? vertices : nullptr,
                              count > 0 ? indices.data() : nullptr, count);
        });
        EXPECT_EQ(outcome.ending, hostsim::Ending::kReturned);
        EXPECT_EQ(result, 1);
        EXPECT_TRUE(Host().safetyCalls.empty());
        EXPECT_EQ(Picture(shape), mftest::BlankPicture(8, 8));
        EXPECT_EQ(shape.mask.dirty, mftest::UntouchedDirty());
    }
}

TEST_P(RasterizeTrianglesTest, DrawsOnlyTheWholeTriplesBeforeATrailingPartOne) {
    const Vec2 vertices[] = {{0, 0}, {4, 0}, {0, 4}, {7, 7}};
    TestShape reference = ScannedShape(8, 8);
    const int32_t triple[] = {0, 1, 2};
    FillList(Library(), reference.mask, vertices, triple, 3);
    for (const int32_t count : {4, 5}) {
        SCOPED_TRACE(count);
        // The trailing entries name a triangle that would cover (7, 7).
        const int32_t entries[] = {0, 1, 2, 3, 3};
        const std::vector<int32_t> indices(entries, entries + count);
        TestShape shape = ScannedShape(8, 8);
        EXPECT_EQ(FillList(Library(), shape.mask, vertices, indices.data(), count), 1);
        EXPECT_EQ(Picture(shape), Picture(reference));
        EXPECT_EQ(shape.mask.dirty, (DirtyRect{0, 0, 4, 4}));
    }
}

// The corners reach the rasterizer exchanged exactly when the cross product,
// truncated to int32 (NaN and out of range give INT32_MIN), is negative.
// Each case's two orders fill different pixels, so the picture tells which
// order the list fill chose.
TEST_P(RasterizeTrianglesTest, ExchangesTheFirstTwoCornersWhenTheTruncatedCrossIsNegative) {
    const struct {
        const char* name;
        Vec2 p0, p1, p2;
        bool exchanged;
    } cases[] = {
        {"cross -16", {0, 0}, {0, 4}, {4, 0}, true},
        {"cross 16", {0, 0}, {4, 0}, {0, 4}, false},
        {"cross -1", {0, 0}, {0, 1}, {1, 0}, true},
        {"cross -0.25 truncates to 0", {2.5f, 1.5f}, {7, 0.5f}, {4.5f, 1}, false},
        {"NaN coordinate", {0, NAN}, {4, 0}, {0, 4}, true},
        {"cross 4.9e9 is out of range", {0, 0}, {70000, 0}, {0, 70000}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Vec2 vertices[] = {c.p0, c.p1, c.p2};
        const int32_t indices[] = {0, 1, 2};
        TestShape listed = ScannedShape(8, 8);
        FillList(Library(), listed.mask, vertices, indices, 3);

        TestShape kept = ScannedShape(8, 8);
        TestShape exchanged = ScannedShape(8, 8);
        const Vec2 unread{};
        Library().rasterizeTriangle(0, &kept.mask, 0, 0, &unread, FILL_INTERIOR, &c.p0, &c.p1, &c.p2, 0, 0);
        Library().rasterizeTriangle(0, &exchanged.mask, 0, 0, &unread, FILL_INTERIOR, &c.p1, &c.p0, &c.p2, 0, 0);
        ASSERT_NE(Picture(kept), Picture(exchanged)) << "the case does not tell the orders apart";
        EXPECT_EQ(Picture(listed), Picture(c.exchanged ? exchanged : kept));
    }
}

TEST_P(RasterizeTrianglesTest, CoversEveryTriangleOfTheList) {
    const struct {
        const char* name;
        std::vector<Vec2> vertices;
        std::vector<int32_t> indices;
        const char* picture;
        DirtyRect dirty;
    } cases[] = {
        {"a square as two triangles sharing a diagonal", {{0, 0}, {4, 0}, {4, 4}, {0, 4}}, {0, 1, 2, 0, 2, 3},
         "#####...\n#####...\n#####...\n#####...\n#####...\n", {0, 0, 4, 4}},
        {"equal indices fill the truncated vertex", {{2.7f, 3.2f}}, {0, 0, 0},
         "........\n........\n........\n..#.....\n", {2, 3, 2, 3}},
        {"a negative coordinate truncates to 0", {{-0.5f, 3.2f}}, {0, 0, 0},
         "........\n........\n........\n#.......\n", {0, 3, 0, 3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestShape shape = ScannedShape(8, 8);
        FillList(Library(), shape.mask, c.vertices.data(), c.indices.data(), static_cast<int32_t>(c.indices.size()));
        EXPECT_EQ(Picture(shape), mftest::Padded(c.picture, 8, 8));
        EXPECT_EQ(shape.mask.dirty, c.dirty);
    }
}

// Triangle pixels are written whatever they hold and the brush paints only
// empty ones, so reversing the list changes nothing, margins included.
TEST_P(RasterizeTrianglesTest, LeavesTheSameMaskWhateverTheTriangleOrder) {
    const Vec2 vertices[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}, {6, 2}, {2.5f, 6.5f}};
    const int32_t forward[] = {0, 1, 2, 0, 2, 3, 1, 4, 2, 3, 2, 5};
    const int32_t backward[] = {3, 2, 5, 1, 4, 2, 0, 2, 3, 0, 1, 2};
    TestShape first = ScannedShape(10, 10);
    TestShape second = ScannedShape(10, 10);
    FillList(Library(), first.mask, vertices, forward, 12, 1);
    FillList(Library(), second.mask, vertices, backward, 12, 1);
    EXPECT_EQ(Picture(first),
              "++++++....\n"
              "+#####+...\n"
              "+######+..\n"
              "+#######..\n"
              "+######...\n"
              "+#####....\n"
              ".+####....\n"
              "..+###....\n"
              "..........\n"
              "..........\n");
    EXPECT_EQ(first.pixels.bytes, second.pixels.bytes);
    EXPECT_EQ(first.mask.dirty, second.mask.dirty);
}

class RasterizeTrianglesFailureTest : public BothWaysTest {};
MASKFIT_BOTH_WAYS(RasterizeTrianglesFailureTest);

// The second triangle's fifth row is index 44 of a 40-pixel mask: the call
// ends there, and the first triangle and the row before stay drawn.
TEST_P(RasterizeTrianglesFailureTest, KeepsTheTrianglesDrawnBeforeABoundsFailure) {
    const Vec2 vertices[] = {{0, 0}, {2, 0}, {0, 2}, {4, 4}, {7, 4}, {4, 7}};
    const int32_t indices[] = {0, 1, 2, 3, 4, 5};
    for (const mftest::NamedLibrary& library : mftest::kEachLibrary) {
        SCOPED_TRACE(library.name);
        TestShape shape = ScannedShape(8, 5);
        const hostsim::Outcome outcome =
            hostsim::Run([&] { FillList(library.entries(), shape.mask, vertices, indices, 6); });
        mftest::ExpectIndexFailure(outcome, mftest::PlainMessage(44, 40));
        EXPECT_EQ(Picture(shape), "###.....\n##......\n#.......\n........\n....####\n");
        EXPECT_EQ(shape.mask.dirty, (DirtyRect{0, 0, 7, 4}));
    }
}

}  // namespace

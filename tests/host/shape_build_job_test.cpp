// BuildShapeMask through the host: fetch into a working copy, reset, draw,
// content rectangle, optional 79 fill, store-back; the array element's
// record changes only at the store-back.
#include <cstring>
#include <vector>

#include "drawing_support.h"

namespace {

using hostsim::Ending;
using mftest::BothWaysTest;
using mftest::Picture;
using mftest::TestShape;

constexpr int32_t kTarget = 1;  // the middle element of three

// Three records in a host array, the middle one rebuilt from a mesh. The
// records carry leftovers of an earlier build, so that both the reset and
// an untouched record can be told from a rebuilt one.
struct BuildScene {
    TestShape shape;
    std::vector<ShapeMask> shapes;
    std::unique_ptr<uint32_t> shapesVersion = std::make_unique<uint32_t>(0);
    std::vector<Vec2> vertices;
    std::vector<int32_t> indices;
    ShapeBuildJob job{};

    BuildScene(int32_t width, int32_t height, std::vector<Vec2> mesh, std::vector<int32_t> triangles)
        : shape(width, height), vertices(std::move(mesh)), indices(std::move(triangles)) {
        shape.mask.bounds = MaskBounds{1, 2, 3, 4};
        shape.mask.dirty = DirtyRect{5, 6, 7, 8};
        shape.mask.hostData = 0x1122334455667788u;
        shapes.assign(3, shape.mask);
        shapes[0].width = shapes[2].width = 99;
        job.margin = 1;
        job.maxCoord = 9;
        job.drawSize = 8;
        job.shapeIndex = kTarget;
        job.vertices = vertices.data();
        job.indices = indices.data();
        job.indexCount = static_cast<int32_t>(indices.size());
        job.shapes = mftest::ViewOf(shapes.data(), 3, shapesVersion.get());
    }

    BuildScene(const BuildScene&) = delete;

    hostsim::Outcome Build(const hostsim::EntryPoints& library) {
        static const int32_t ranges[4] = {};
        return hostsim::Run([&] { library.buildShapeMask(&job, &ranges, &ranges, &ranges, 7); });
    }

    const ShapeMask& Stored() const { return shapes[kTarget]; }

    // Every byte of every record as it was before the run.
    bool RecordsUntouched(const std::vector<ShapeMask>& before) const {
        return std::memcmp(shapes.data(), before.data(), sizeof(ShapeMask) * shapes.size()) == 0;
    }
};

const std::vector<Vec2> kCorner = {{0, 0}, {4, 0}, {0, 4}};

// The one-triangle example on a 10 x 10 mask: drawSize 8, margin 1, maxCoord 9.
const char kCornerBuilt[] =
    "++++++r...\n"
    "+#####r...\n"
    "+####rr...\n"
    "+###rrr...\n"
    "+##rrrr...\n"
    "+#rrrrr...\n"
    "rrrrrrr...\n";

class BuildShapeMaskTest : public mftest::EachLibraryTest {};
MASKFIT_EACH_LIBRARY(BuildShapeMaskTest);

TEST_P(BuildShapeMaskTest, RebuildsPixelsAndRecordFromOneTriangleInEitherCornerOrder) {
    for (const auto& triangle : {std::vector<int32_t>{0, 1, 2}, std::vector<int32_t>{0, 2, 1}}) {
        SCOPED_TRACE(triangle[1]);
        BuildScene scene(10, 10, kCorner, triangle);
        const std::vector<ShapeMask> before = scene.shapes;
        EXPECT_EQ(scene.Build(Library()).ending, Ending::kReturned);
        EXPECT_EQ(Picture(scene.shape), mftest::Padded(kCornerBuilt, 10, 10));
        EXPECT_EQ(scene.Stored().dirty, (DirtyRect{0, 0, 5, 5}));
        EXPECT_EQ(scene.Stored().bounds, (MaskBounds{0, 0, 6, 6}));
        // Only bounds and the dirty rectangle change; the neighbours not at all.
        ShapeMask expected = before[kTarget];
        expected.bounds = scene.Stored().bounds;
        expected.dirty = scene.Stored().dirty;
        EXPECT_EQ(std::memcmp(&scene.Stored(), &expected, sizeof expected), 0);
        EXPECT_EQ(std::memcmp(&scene.shapes[0], &before[0], sizeof(ShapeMask)), 0);
        EXPECT_EQ(std::memcmp(&scene.shapes[2], &before[2], sizeof(ShapeMask)), 0);
    }
}

// The reset puts dirty.xMin and yMin at drawSize, so a shape drawn right of
// it still gets a content rectangle from drawSize - margin, and the fill
// writes 79 there too, outside the stored dirty rectangle.
TEST_P(BuildShapeMaskTest, ContentRectangleStartsNoFurtherThanDrawSize) {
    BuildScene scene(30, 10, kCorner, {0, 1, 2});
    scene.shapes[kTarget].origin = MaskOrigin{-10, 0};
    scene.job.maxCoord = 29;
    scene.Build(Library());
    EXPECT_EQ(Picture(scene.shape), mftest::Padded(".......rrr++++++r.............\n"
                                                   ".......rrr+#####r.............\n"
                                                   ".......rrr+####rr.............\n"
                                                   ".......rrr+###rrr.............\n"
                                                   ".......rrr+##rrrr.............\n"
                                                   ".......rrr+#rrrrr.............\n"
                                                   ".......rrrrrrrrrr.............\n",
                                                   30, 10));
    EXPECT_EQ(scene.Stored().dirty, (DirtyRect{8, 0, 15, 5}));
    EXPECT_EQ(scene.Stored().bounds, (MaskBounds{7, 0, 16, 6}));
}

// With nothing drawn the dirty rectangle stays (S, S, 0, 0) and the content
// rectangle is (max(S - M, 0), max(S - M, 0), min(M, L), min(M, L)).
TEST_P(BuildShapeMaskTest, NothingDrawnLeavesTheResetRectangleGrownByTheMargin) {
    const char* const middleSquare =
        "..........\n..........\n..........\n..........\n....rrr...\n....rrr...\n....rrr...\n";
    const std::vector<Vec2> farCorner = {{10, 10}, {14, 10}, {10, 14}};
    const struct {
        const char* name;
        std::vector<Vec2> vertices;
        std::vector<int32_t> indices;
        int32_t indexCount, drawSize, margin;
        MaskBounds bounds;
        const char* picture;
    } cases[] = {
        {"empty mesh", kCorner, {}, 0, 10, 6, {4, 4, 6, 6}, middleSquare},
        {"negative index count", kCorner, {0, 1, 2}, -3, 10, 6, {4, 4, 6, 6}, middleSquare},
        {"triangle beyond the scan limit", farCorner, {0, 1, 2}, 3, 10, 6, {4, 4, 6, 6}, middleSquare},
        {"inverted content rectangle fills nothing", kCorner, {}, 0, 10, 2, {8, 8, 2, 2}, ""},
        {"drawSize 0 scans nothing", kCorner, {0, 1, 2}, 3, 0, 2, {0, 0, 2, 2}, "rrr.......\nrrr.......\nrrr.......\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BuildScene scene(10, 10, c.vertices, c.indices);
        scene.job.indexCount = c.indexCount;
        scene.job.drawSize = c.drawSize;
        scene.job.margin = c.margin;
        scene.job.maxCoord = 100;
        scene.Build(Library());
        EXPECT_EQ(Picture(scene.shape), mftest::Padded(c.picture, 10, 10));
        EXPECT_EQ(scene.Stored().dirty, (DirtyRect{c.drawSize, c.drawSize, 0, 0}));
        EXPECT_EQ(scene.Stored().bounds, c.bounds);
    }
}

TEST_P(BuildShapeMaskTest, SkippedFillStillStoresTheContentRectangle) {
    BuildScene scene(10, 10, kCorner, {0, 1, 2});
    scene.job.skipRectFill = -1;
    scene.Build(Library());
    std::string unfilled = mftest::Padded(kCornerBuilt, 10, 10);
    std::replace(unfilled.begin(), unfilled.end(), 'r', '.');
    EXPECT_EQ(Picture(scene.shape), unfilled);
    EXPECT_EQ(scene.Stored().bounds, (MaskBounds{0, 0, 6, 6}));
}

// The pixels are not cleared first: a covered pixel outside every triangle
// keeps its value through the fill; one inside a triangle becomes 234.
TEST_P(BuildShapeMaskTest, PixelsCoveredBeforeKeepTheirValueOutsideTriangles) {
    BuildScene scene(10, 10, kCorner, {0, 1, 2});
    scene.shape.Set(6, 6, 17);
    scene.shape.Set(2, 2, 17);
    scene.shape.Set(9, 9, 17);
    scene.Build(Library());
    EXPECT_EQ(scene.shape.At(6, 6), 17);
    EXPECT_EQ(scene.shape.At(2, 2), FILL_INTERIOR);
    EXPECT_EQ(scene.shape.At(9, 9), 17);
    EXPECT_EQ(scene.shape.At(5, 6), FILL_RECT);
}

// Only whole triples are drawn; the index list holds exactly indexCount
// entries, so a read past them trips AddressSanitizer.
TEST_P(BuildShapeMaskTest, IgnoresATrailingPartialTriple) {
    for (const int32_t count : {4, 5}) {
        SCOPED_TRACE(count);
        const int32_t entries[] = {0, 1, 2, 0, 1};
        BuildScene scene(10, 10, kCorner, std::vector<int32_t>(entries, entries + count));
        scene.Build(Library());
        EXPECT_EQ(Picture(scene.shape), mftest::Padded(kCornerBuilt, 10, 10));
    }
}

// The element is read once through the checked read and written once
// through the checked write, each with a copy of the array's handle.
TEST_P(BuildShapeMaskTest, ChecksTheArrayOnceForTheFetchAndOnceForTheStore) {
    BuildScene scene(10, 10, kCorner, {0, 1, 2});
    mftest::RequireHostChecks(scene.job.shapes);
    scene.Build(Library());
    ASSERT_EQ(Host().safetyCalls.size(), 2u);
    EXPECT_FALSE(Host().safetyCalls[0].write);
    EXPECT_TRUE(Host().safetyCalls[1].write);
    EXPECT_EQ(Host().safetyCalls[0].handle, scene.job.shapes.safety);
    EXPECT_EQ(Host().safetyCalls[1].handle, scene.job.shapes.safety);
}

// Outputs pinned byte for byte: the same test runs natively and under Wine
// against the DLL, and against both the shipped and the literal library, so
// it proves that every build draws the same masks. The meshes use coordinates
// that binary floats cannot hold exactly, mixed orientations, and a
// non-zero origin, where a fused multiply-add or another rounding shows.
class PinnedBuildTest : public mftest::EachLibraryTest {};
MASKFIT_EACH_LIBRARY(PinnedBuildTest);

// Each of these triangles fills a different pixel set when a product is
// fused with the difference that follows it.
TEST_P(PinnedBuildTest, SmallMeshBuildsThePinnedPicture) {
    BuildScene scene(30, 24,
                     {{8.60000038f, 16.1000004f}, {9.5f, 14.4000006f}, {5.80000019f, 10.8000002f},
                      {16.0f, 8.80000019f}, {18.2999992f, 13.1999998f}, {14.5f, 14.1999998f},
                      {14.7999992f, 2.4000001f}, {15.0999994f, 5.10000038f}, {20.7999992f, 1.80000007f}},
                     {0, 1, 2, 4, 3, 5, 6, 7, 8});
    scene.shapes[kTarget].origin = MaskOrigin{-3, 1};
    scene.job.margin = 2;
    scene.job.drawSize = 24;
    scene.job.maxCoord = 27;
    ASSERT_EQ(scene.Build(Library()).ending, Ending::kReturned);
    EXPECT_EQ(Picture(scene.shape), mftest::Padded(
                  ".......rrrrrrrrrrrrrrrrrrrrr..\n"
                  ".......rrrrrrrrrrrrrrrrrrrrr..\n"
                  ".......rrrrrrrrrrr++++++++rr..\n"
                  ".......rrrrrrrrrrr++++++++rr..\n"
                  ".......rrrrrrrrrrr++#####+rr..\n"
                  ".......rrrrrrrrrrr++####++rr..\n"
                  ".......rrrrrrrrrrr++##+++rrr..\n"
                  ".......rrrrrrrrrrr+++++rrrrr..\n"
                  ".......rrrrrrrrrrrr++++rrrrr..\n"
                  ".......rrrrrrrrrrrr++++rrrrr..\n"
                  ".......rr++++rrrrrr++#++rrrr..\n"
                  ".......rr+++++rrrrr++#++rrrr..\n"
                  ".......rr++#+++rrrr++##++rrr..\n"
                  ".......rr+++#+++rr+++##++rrr..\n"
                  ".......rrr++##++rr+++###+rrr..\n"
                  ".......rrr++###+rr++####+rrr..\n"
                  ".......rrr+++##+rr+++++++rrr..\n"
                  ".......rrrr++##+rrrrrrrrrrrr..\n"
                  ".......rrrr+++++rrrrrrrrrrrr..\n"
                  ".......rrrrrrrrrrrrrrrrrrrrr..\n"
                  ".......rrrrrrrrrrrrrrrrrrrrr..\n",
                  30, 24));
    EXPECT_EQ(scene.Stored().dirty, (DirtyRect{9, 2, 25, 18}));
    EXPECT_EQ(scene.Stored().bounds, (MaskBounds{7, 0, 27, 20}));
}

// FNV-1a over the bytes.
uint32_t Checksum(const void* data, size_t size, uint32_t hash = 2166136261u) {
    for (size_t i = 0; i < size; ++i) {
        hash = (hash ^ static_cast<const uint8_t*>(data)[i]) * 16777619u;
    }
    return hash;
}

TEST_P(PinnedBuildTest, LargeMeshBuildsThePinnedChecksum) {
    // A fixed linear congruential sequence: the same mesh on every platform.
    // This seed's mesh holds triangles whose pixels change when a product is
    // fused with the difference that follows it.
    uint32_t state = 30;
    const auto next = [&state](uint32_t range) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % range;
    };
    // Small triangles of both orientations scattered over the scan area,
    // so that most edges stay visible instead of vanishing under others.
    std::vector<Vec2> vertices;
    std::vector<int32_t> indices;
    for (int32_t t = 0; t < 60; ++t) {
        const float cx = static_cast<float>(next(420)) / 7.0f;
        const float cy = static_cast<float>(next(320)) / 7.0f;
        for (int32_t corner = 0; corner < 3; ++corner) {
            const auto dx = static_cast<float>(static_cast<int32_t>(next(51)) - 25) / 7.0f;
            const auto dy = static_cast<float>(static_cast<int32_t>(next(51)) - 25) / 7.0f;
            vertices.push_back({cx + dx, cy + dy});
            indices.push_back(3 * t + corner);
        }
    }
    BuildScene scene(72, 56, vertices, indices);
    scene.shapes[kTarget].origin = MaskOrigin{-2, 1};
    scene.job.margin = 2;
    scene.job.drawSize = 60;
    scene.job.maxCoord = 70;
    ASSERT_EQ(scene.Build(Library()).ending, Ending::kReturned);
    EXPECT_EQ(Checksum(scene.shape.pixels.bytes.data(), scene.shape.pixels.bytes.size()), 2018462300u)
        << Picture(scene.shape);
    EXPECT_EQ(scene.Stored().dirty, (DirtyRect{3, 0, 64, 49}));
    EXPECT_EQ(scene.Stored().bounds, (MaskBounds{1, 0, 66, 51}));
}

// A restricted window that admits exactly the element passes.
TEST_P(BuildShapeMaskTest, ElementThatIsARestrictedWindowIsRebuilt) {
    BuildScene scene(10, 10, kCorner, {0, 1, 2});
    scene.job.shapes.minIndex = scene.job.shapes.maxIndex = kTarget;
    EXPECT_EQ(scene.Build(Library()).ending, Ending::kReturned);
    EXPECT_EQ(scene.Stored().bounds, (MaskBounds{0, 0, 6, 6}));
}

class BuildShapeMaskFailureTest : public BothWaysTest {};
MASKFIT_BOTH_WAYS(BuildShapeMaskFailureTest);

// The element index is checked before anything is read, checked or written.
TEST_P(BuildShapeMaskFailureTest, ElementIndexOutsideTheWindowChangesNothing) {
    const struct {
        int32_t minIndex, maxIndex, shapeIndex;
        std::string message;
    } cases[] = {
        {0, 2, 3, mftest::PlainMessage(3, 3)},
        {0, 2, -1, mftest::PlainMessage(-1, 3)},
        {1, 1, 2, mftest::kRestrictedWindowMessage},
        {1, 1, 0, mftest::kRestrictedWindowMessage},
    };
    for (const mftest::NamedLibrary& library : mftest::kEachLibrary) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << library.name << ", index " << c.shapeIndex << " of [" << c.minIndex
                                            << ", " << c.maxIndex << "]");
            hostsim::ResetState();
            BuildScene scene(10, 10, kCorner, {0, 1, 2});
            mftest::RequireHostChecks(scene.job.shapes);
            scene.job.shapes.minIndex = c.minIndex;
            scene.job.shapes.maxIndex = c.maxIndex;
            scene.job.shapeIndex = c.shapeIndex;
            const std::vector<ShapeMask> before = scene.shapes;
            mftest::ExpectIndexFailure(scene.Build(library.entries()), c.message);
            EXPECT_TRUE(Host().safetyCalls.empty());
            EXPECT_TRUE(scene.RecordsUntouched(before));
            EXPECT_EQ(Picture(scene.shape), mftest::BlankPicture(10, 10));
        }
    }
}

// A failure after the fetch ends the run: the pixels written so far stay,
// but the working copy is never stored, so the record keeps its old bounds
// and dirty rectangle, which do not cover the new pixels.
TEST_P(BuildShapeMaskFailureTest, FailureAfterTheFetchLeavesTheRecordUntouched) {
    const struct {
        const char* name;
        int32_t height;
        bool refuseArrayWrite;
        Ending ending;
        std::string message;
        const char* picture;
    } cases[] = {
        {"drawing passes the pixel window", 3, false, Ending::kAborted, mftest::PlainMessage(31, 30),
         "++++++....\n+#####....\n+####.....\n"},
        {"the rectangle fill passes the pixel window", 6, false, Ending::kAborted, mftest::PlainMessage(60, 60),
         "++++++r...\n+#####r...\n+####rr...\n+###rrr...\n+##rrrr...\n+#rrrrr...\n"},
        {"the store-back's write check is refused", 10, true, Ending::kRefused, "", kCornerBuilt},
    };
    for (const mftest::NamedLibrary& library : mftest::kEachLibrary) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << library.name << ", " << c.name);
            hostsim::ResetState();
            BuildScene scene(10, c.height, kCorner, {0, 1, 2});
            if (c.refuseArrayWrite) {
                mftest::RequireHostChecks(scene.job.shapes);
                Host().refuseWrite = true;
            }
            const std::vector<ShapeMask> before = scene.shapes;
            const hostsim::Outcome outcome = scene.Build(library.entries());
            EXPECT_EQ(outcome.ending, c.ending);
            EXPECT_EQ(outcome.message, c.message);
            EXPECT_EQ(Picture(scene.shape), mftest::Padded(c.picture, 10, c.height));
            EXPECT_TRUE(scene.RecordsUntouched(before));
        }
    }
}

}  // namespace

// The drawing operations of the shipped library against its literal twin:
// PaintBorder, RasterizeTriangle, RasterizeTriangles and BuildShapeMask on
// random scenes from fixed seeds. Each scene runs twice at the same
// addresses, once per library, from the same starting bytes; every pixel of
// the allocation, every record, the host checks called, the result and the
// way the call ended must agree. The scenes mix what the fast paths take
// (matching versions, windows that hold everything) with what they must
// leave to the checked path: windows cut one element short, versions that
// call the host, refused checks, positions that wrap, NaN and huge vertices.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "differential_support.h"
#include "drawing_support.h"

namespace {

using Random = std::mt19937;

int32_t Pick(Random& random, int32_t lo, int32_t hi) {
    return lo + static_cast<int32_t>(random() % (static_cast<uint32_t>(hi - lo) + 1u));
}

bool Chance(Random& random, uint32_t percent) { return random() % 100u < percent; }

template <typename T>
T OneOf(Random& random, std::initializer_list<T> values) {
    return values.begin()[random() % values.size()];
}

// Host memory of one scene: a pixel allocation, the records that view it and
// the mesh. The library changes only pixels and records, so a snapshot of
// those two restores the scene at the same addresses.
struct Scene {
    std::vector<uint8_t> pixels;
    uint32_t pixelVersionWord = 0;
    std::vector<ShapeMask> shapes;  // shapes[0] is the mask of the direct calls
    uint32_t shapesVersionWord = 0;
    ShapeBuildJob job{};
    std::vector<Vec2> vertices;
    std::vector<int32_t> indices;
    hostsim::LeaveBy leaveBy = hostsim::LeaveBy::kLongJump;
    bool refuseRead = false;
    bool refuseWrite = false;

    ShapeMask& Mask() { return shapes[0]; }
};

// What one library left behind.
struct Capture {
    mftest::HostSide host;
    std::vector<uint8_t> pixels;
    std::vector<ShapeMask> shapes;
    int32_t result = 0;
};

using Call = std::function<int32_t(const hostsim::EntryPoints&, Scene&)>;

Capture RunOnce(Scene& scene, const Call& call, const hostsim::EntryPoints& entries) {
    const std::vector<uint8_t> pixels = scene.pixels;
    const std::vector<ShapeMask> shapes = scene.shapes;
    Capture capture;
    capture.host = mftest::RunFresh(scene.leaveBy, scene.refuseRead, scene.refuseWrite,
                                    [&] { capture.result = call(entries, scene); });
    capture.pixels = scene.pixels;
    capture.shapes = scene.shapes;
    std::copy(pixels.begin(), pixels.end(), scene.pixels.begin());
    std::copy(shapes.begin(), shapes.end(), scene.shapes.begin());
    return capture;
}

bool SameBytes(const std::vector<ShapeMask>& a, const std::vector<ShapeMask>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(ShapeMask)) == 0;
}

void ExpectSameCapture(const Capture& literal, const Capture& fast) {
    mftest::ExpectSameEnding(literal.host.outcome, fast.host.outcome);
    mftest::ExpectSameHostChecks(literal.host.calls, fast.host.calls);
    EXPECT_EQ(literal.result, fast.result);
    EXPECT_EQ(literal.shapes[0].dirty, fast.shapes[0].dirty);
    EXPECT_EQ(literal.shapes[0].bounds, fast.shapes[0].bounds);
    EXPECT_TRUE(SameBytes(literal.shapes, fast.shapes)) << "mask records differ";
    EXPECT_TRUE(literal.pixels == fast.pixels) << "pixels differ";
}

// Runs the call through both libraries from the same scene and compares.
void ExpectBothAgree(Scene& scene, const Call& call) {
    const Capture literal = RunOnce(scene, call, mftest::LiteralEntries());
    const Capture fast = RunOnce(scene, call, mftest::Entries());
    ExpectSameCapture(literal, fast);
}

// A coordinate in [0, extent] when tidy; else mostly in [-3, extent + 3],
// sometimes NaN, infinite, huge, denormal or -0.
float RandomCoordinate(Random& random, int32_t extent, bool tidy) {
    if (tidy) {
        return static_cast<float>(Pick(random, 0, extent * 100)) / 100.0f;
    }
    switch (random() % 20u) {
        case 0: return std::numeric_limits<float>::quiet_NaN();
        case 1: return OneOf(random, {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()});
        case 2: return OneOf(random, {1e10f, -1e10f, 70000.0f, -70000.0f});
        case 3: return OneOf(random, {1e-40f, -1e-40f, -0.0f});
        case 4:
        case 5: return static_cast<float>(Pick(random, -3, extent + 3));
        default: return static_cast<float>(Pick(random, -300, (extent + 3) * 100)) / 100.0f;
    }
}

std::vector<Vec2> RandomVertices(Random& random, int32_t count, int32_t extent, bool tidy) {
    std::vector<Vec2> vertices;
    for (int32_t i = 0; i < count; ++i) {
        vertices.push_back(Vec2{RandomCoordinate(random, extent, tidy), RandomCoordinate(random, extent, tidy)});
    }
    // Repeated corners make points and segments.
    if (count > 1 && Chance(random, 20)) {
        vertices[1] = vertices[0];
    }
    return vertices;
}

// A brush half-size: mostly 0 to 6, sometimes negative.
int32_t RandomMargin(Random& random) {
    return Chance(random, 5) ? OneOf(random, {-1, -2, INT32_MIN}) : Pick(random, 0, 6);
}

// Half-sizes for the direct calls. A huge shift comes only with a zero
// brush: a brush of 2^30 by 2^30 positions per pixel would never finish.
std::pair<int32_t, int32_t> RandomMargins(Random& random) {
    const int32_t first = RandomMargin(random);
    if (Chance(random, 4)) {
        return OneOf<std::pair<int32_t, int32_t>>(random, {{1 << 30, 0}, {0, 1 << 30}, {INT32_MAX, -3}});
    }
    return {first, Chance(random, 80) ? first : RandomMargin(random)};
}

int32_t RandomOrigin(Random& random) {
    if (Chance(random, 3)) {
        return OneOf(random, {INT32_MIN, INT32_MAX, INT32_MIN + 3, INT32_MAX - 3});
    }
    return Chance(random, 60) ? 0 : Pick(random, -8, 8);
}

// A mask of up to 24 x 24 pixels in an allocation with spare bytes after its
// last row, some pixels already set, and versions that mostly match.
void RandomMask(Random& random, Scene& scene, int32_t records) {
    const int32_t width = Pick(random, 1, 24);
    const int32_t height = Chance(random, 5) ? 0 : Pick(random, 1, 24);
    const int32_t length = width * height + Pick(random, 0, 2 * width + 2);
    scene.pixels.assign(static_cast<size_t>(length), 0);
    if (Chance(random, 50)) {
        const uint32_t density = Pick(random, 1, 60);
        for (uint8_t& pixel : scene.pixels) {
            if (Chance(random, density)) {
                pixel = OneOf<uint8_t>(random, {FILL_INTERIOR, FILL_BORDER, FILL_RECT, 1, 255});
            }
        }
    }
    ShapeMask mask{};
    mask.width = width;
    mask.height = height;
    mask.origin = MaskOrigin{RandomOrigin(random), RandomOrigin(random)};
    mask.bounds = MaskBounds{Pick(random, -2, width + 4), Pick(random, -2, height + 4), Pick(random, -3, 30),
                             Pick(random, -3, 30)};
    if (Chance(random, 5)) {
        mask.bounds.x0 = OneOf(random, {INT32_MAX, INT32_MIN});
    }
    mask.dirty = Chance(random, 70) ? mftest::UntouchedDirty()
                                    : DirtyRect{Pick(random, -2, 30), Pick(random, -2, 30), Pick(random, -2, 30),
                                                Pick(random, -2, 30)};
    mask.hostData = random();
    mask.pixels = mftest::ViewOf(scene.pixels.data(), length, &scene.pixelVersionWord);
    scene.shapes.assign(static_cast<size_t>(records), mask);
}

// Version word and version: matching, or failing the read test, the write
// test or both; a failing test may be refused.
void RandomVersions(Random& random, uint32_t& word, AtomicSafetyHandle& handle, Scene& scene) {
    word = 0;
    handle.version = 0;
    switch (Chance(random, 85) ? 0 : Pick(random, 1, 3)) {
        case 1: word = 6; break;              // the write test fails
        case 2: word = 5; break;              // the read test fails
        case 3: word = 6; handle.version = 1; break;  // both fail
        default: return;
    }
    scene.refuseRead = scene.refuseRead || Chance(random, 15);
    scene.refuseWrite = scene.refuseWrite || Chance(random, 15);
}

// Indices of the first and last byte that differ, or {1, 0} when none do.
std::pair<int32_t, int32_t> ChangedRange(const std::vector<uint8_t>& before, const std::vector<uint8_t>& after) {
    int32_t first = 1;
    int32_t last = 0;
    for (size_t i = 0; i < before.size(); ++i) {
        if (before[i] != after[i]) {
            first = first > last ? static_cast<int32_t>(i) : first;
            last = static_cast<int32_t>(i);
        }
    }
    return {first, last};
}

// Mostly the whole allocation; else a window that starts or ends one element
// before, at or after the first and last byte the call changes; else a
// random one, possibly empty. Never beyond the allocation.
void RandomWindow(Random& random, Scene& scene, const Call& call) {
    CheckedArray& view = scene.Mask().pixels;
    const int32_t last = view.length - 1;
    const uint32_t kind = random() % 10u;
    if (kind == 9) {
        view.minIndex = Pick(random, 0, last + 1);
        view.maxIndex = Pick(random, -1, last);
    } else if (kind >= 6) {
        const auto changed = ChangedRange(scene.pixels, RunOnce(scene, call, mftest::LiteralEntries()).pixels);
        if (changed.first <= changed.second) {
            view.minIndex = std::clamp(changed.first + Pick(random, -1, 1), 0, last);
            view.maxIndex = std::clamp(changed.second + Pick(random, -1, 1), 0, last);
        }
    }
    for (ShapeMask& shape : scene.shapes) {
        shape.pixels = view;
    }
}

// Versions and window of the mask's pixels, then both runs.
void RandomAccessAndCompare(Random& random, Scene& scene, const Call& call) {
    scene.leaveBy = Chance(random, 50) ? hostsim::LeaveBy::kLongJump : hostsim::LeaveBy::kException;
    RandomVersions(random, scene.pixelVersionWord, scene.Mask().pixels.safety, scene);
    RandomWindow(random, scene, call);
    ExpectBothAgree(scene, call);
}

// Small jittered grids whose cells share edges, or random triangles.
void RandomMesh(Random& random, Scene& scene, int32_t extent, bool tidy) {
    scene.indices.clear();
    if (Chance(random, 50)) {
        const int32_t cells = Pick(random, 1, 3);
        const float cell = static_cast<float>(Pick(random, 1, std::max(1, (extent - 2) / cells)));
        const float start = static_cast<float>(tidy ? 1 : Pick(random, -3, 6));
        scene.vertices.clear();
        for (int32_t row = 0; row <= cells; ++row) {
            for (int32_t column = 0; column <= cells; ++column) {
                const float jitter = static_cast<float>(Pick(random, -100, 100)) / 100.0f;
                scene.vertices.push_back(Vec2{start + cell * static_cast<float>(column) + jitter,
                                              start + cell * static_cast<float>(row) - jitter});
            }
        }
        for (int32_t row = 0; row < cells; ++row) {
            for (int32_t column = 0; column < cells; ++column) {
                const int32_t a = row * (cells + 1) + column;
                const int32_t c = a + cells + 1;
                scene.indices.insert(scene.indices.end(), {a, a + 1, c + 1, a, c + 1, c});
            }
        }
    } else {
        scene.vertices = RandomVertices(random, Pick(random, 3, 8), extent, tidy);
        const int32_t triangles = Pick(random, 1, 5);
        for (int32_t i = 0; i < 3 * triangles; ++i) {
            scene.indices.push_back(Pick(random, 0, static_cast<int32_t>(scene.vertices.size()) - 1));
        }
    }
    // Some triangles listed the other way round, for the list fill to turn.
    for (size_t k = 0; k + 2 < scene.indices.size(); k += 3) {
        if (Chance(random, 30)) {
            std::swap(scene.indices[k], scene.indices[k + 1]);
        }
    }
    // Sometimes a trailing partial triple that must be left alone.
    if (Chance(random, 10)) {
        scene.indices.resize(scene.indices.size() - static_cast<size_t>(Pick(random, 1, 2)));
    }
}

// Where the triangles of a scene lie: for a tidy scene, inside the mask
// with room for the margin (the usual case, which the fast paths take);
// otherwise anywhere around it.
struct Extent {
    int32_t extent;
    bool tidy;
};

Extent RandomExtent(Random& random, const ShapeMask& mask, int32_t margin) {
    if (Chance(random, 40)) {
        const int32_t room = std::min(mask.width, mask.height) - 2 * std::clamp(margin, 0, 8) - 1;
        return {std::max(room, 1), true};
    }
    return {Pick(random, 1, std::max(mask.width, mask.height)), false};
}

// Margins and where the triangles lie, for a scene's mask.
struct Drawing {
    int32_t marginX, marginY;
    Extent where;
};

Drawing RandomDrawing(Random& random, const ShapeMask& mask) {
    const auto [marginX, marginY] = RandomMargins(random);
    return {marginX, marginY, RandomExtent(random, mask, std::max(marginX, marginY))};
}

constexpr int kScenes = 1500;

// Scenes from one seed: a random mask of `records` records, completed by
// `make`, which returns the call to compare, run with random access rights.
template <typename Make>
void CompareScenes(uint32_t seed, int32_t records, Make make) {
    Random random(seed);
    for (int i = 0; i < kScenes && !::testing::Test::HasFailure(); ++i) {
        SCOPED_TRACE("scene " + std::to_string(i));
        Scene scene;
        RandomMask(random, scene, records);
        const Call call = make(random, scene);
        RandomAccessAndCompare(random, scene, call);
    }
}

class DrawingDifferentialTest : public mftest::HostTest {};

TEST_F(DrawingDifferentialTest, PaintBorder) {
    CompareScenes(1001, 1, [](Random& random, Scene& scene) -> Call {
        const int32_t value = OneOf<int32_t>(random, {FILL_BORDER, 0, 256 + FILL_BORDER, 7, -1});
        const int32_t extent = std::max(scene.Mask().width, scene.Mask().height);
        int32_t cx = Pick(random, -8, extent + 8);
        const int32_t cy = Pick(random, -8, extent + 8);
        const int32_t rx = Chance(random, 10) ? Pick(random, -1, 0) : Pick(random, 1, 9);
        const int32_t ry = Chance(random, 10) ? Pick(random, -1, 0) : Pick(random, 1, 9);
        if (Chance(random, 4)) {
            cx = OneOf(random, {INT32_MAX - 2, INT32_MIN + 2});  // positions that wrap
        }
        return [=](const hostsim::EntryPoints& lib, Scene& s) {
            lib.paintBorder(&s.Mask(), nullptr, value, cx, cy, rx, ry);
            return 0;
        };
    });
}

TEST_F(DrawingDifferentialTest, RasterizeTriangle) {
    CompareScenes(2002, 1, [](Random& random, Scene& scene) -> Call {
        const Drawing drawing = RandomDrawing(random, scene.Mask());
        scene.vertices = RandomVertices(random, 3, drawing.where.extent, drawing.where.tidy);
        if (Chance(random, 50)) {
            std::swap(scene.vertices[0], scene.vertices[1]);
        }
        const int32_t value = OneOf<int32_t>(random, {FILL_INTERIOR, FILL_INTERIOR, FILL_INTERIOR, 0, Pick(random, 1, 255)});
        return [=](const hostsim::EntryPoints& lib, Scene& s) {
            lib.rasterizeTriangle(0, &s.Mask(), 0, 0, nullptr, value, &s.vertices[0], &s.vertices[1],
                                  &s.vertices[2], drawing.marginX, drawing.marginY);
            return 0;
        };
    });
}

TEST_F(DrawingDifferentialTest, RasterizeTriangles) {
    CompareScenes(3003, 1, [](Random& random, Scene& scene) -> Call {
        const Drawing drawing = RandomDrawing(random, scene.Mask());
        RandomMesh(random, scene, drawing.where.extent, drawing.where.tidy);
        return [=](const hostsim::EntryPoints& lib, Scene& s) {
            return lib.rasterizeTriangles(1, 2, 3, s.vertices.data(), 0, s.indices.data(),
                                          static_cast<int32_t>(s.indices.size()), &s.Mask(), drawing.marginX,
                                          drawing.marginY);
        };
    });
}

TEST_F(DrawingDifferentialTest, BuildShapeMask) {
    constexpr int32_t kRecords = 3;
    CompareScenes(4004, kRecords, [](Random& random, Scene& scene) -> Call {
        const int32_t extent = std::max(scene.Mask().width, scene.Mask().height);
        ShapeBuildJob& job = scene.job;
        job.margin = RandomMargin(random);
        const Extent where = RandomExtent(random, scene.Mask(), job.margin);
        RandomMesh(random, scene, where.extent, where.tidy);
        job.skipRectFill = OneOf(random, {0, 0, 0, 1, -5});
        job.maxCoord = Chance(random, 5) ? INT32_MAX : Pick(random, -2, extent + 4);
        job.drawSize = Chance(random, 5) ? Pick(random, -3, 0) : Pick(random, 1, extent + 4);
        job.shapeIndex = Chance(random, 90) ? Pick(random, 0, kRecords - 1) : OneOf(random, {-1, kRecords});
        job.vertices = scene.vertices.data();
        job.indices = scene.indices.data();
        job.indexCount = static_cast<int32_t>(scene.indices.size());
        job.shapes = mftest::ViewOf(scene.shapes.data(), kRecords, &scene.shapesVersionWord);
        RandomVersions(random, scene.shapesVersionWord, job.shapes.safety, scene);
        if (Chance(random, 10)) {
            job.shapes.minIndex = job.shapes.maxIndex = Pick(random, 0, kRecords - 1);  // one element per job
        }
        return [](const hostsim::EntryPoints& lib, Scene& s) {
            lib.buildShapeMask(&s.job, nullptr, nullptr, nullptr, 0);
            return 0;
        };
    });
}

}  // namespace

namespace {

// Masks over two thousand pixels wide, so that the margin is worked out in
// several strips of rows, with meshes that run past the last row and, from
// column 1 on, past the last column, where brush positions are clamped.
TEST_F(DrawingDifferentialTest, WideMasks) {
    Random random(5005);
    for (int i = 0; i < 6 && !HasFailure(); ++i) {
        SCOPED_TRACE("scene " + std::to_string(i));
        Scene scene;
        const int32_t width = Pick(random, 2100, 2400);
        const int32_t height = Pick(random, 40, 70);
        scene.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height + 12), 0);
        ShapeMask mask{};
        mask.width = width;
        mask.height = height;
        mask.bounds = MaskBounds{width + 8, height + 8, 0, 0};
        mask.dirty = mftest::UntouchedDirty();
        mask.pixels = mftest::ViewOf(scene.pixels.data(), static_cast<int32_t>(scene.pixels.size()),
                                     &scene.pixelVersionWord);
        scene.shapes.assign(1, mask);
        const int32_t columns = Pick(random, 4, 9);
        const float left = static_cast<float>(Pick(random, 1, 40));
        const float cell = (static_cast<float>(width) - left + static_cast<float>(Pick(random, -60, 3))) /
                           static_cast<float>(columns);
        for (int32_t row = 0; row <= 2; ++row) {
            for (int32_t column = 0; column <= columns; ++column) {
                scene.vertices.push_back(Vec2{left + cell * static_cast<float>(column) + static_cast<float>(Pick(random, -9, 9)),
                                              static_cast<float>(row * (height + 4) / 2 + Pick(random, 0, 3))});
            }
        }
        for (int32_t column = 0; column < columns; ++column) {
            const int32_t a = column;
            const int32_t c = a + columns + 1;
            const int32_t e = c + columns + 1;
            scene.indices.insert(scene.indices.end(), {a, a + 1, c + 1, a, c + 1, c, c, c + 1, e + 1, c, e + 1, e});
        }
        const int32_t margin = Pick(random, 1, 3);
        ExpectBothAgree(scene, [margin](const hostsim::EntryPoints& lib, Scene& s) {
            return lib.rasterizeTriangles(1, 2, 3, s.vertices.data(), 0, s.indices.data(),
                                          static_cast<int32_t>(s.indices.size()), &s.Mask(), margin, margin);
        });
    }
}

// Triangles past the last column of a 30 x 10 mask: the brushes of the
// pixels at columns 31 and 32 land on column 30 alone, beside or without a
// triangle whose own brush is elsewhere.
TEST_F(DrawingDifferentialTest, BrushesPastTheLastColumnLandOnIt) {
    for (const bool alone : {false, true}) {
        SCOPED_TRACE(alone ? "alone" : "beside another");
        Scene scene;
        scene.pixels.assign(30 * 12, 0);
        ShapeMask mask{};
        mask.width = 30;
        mask.height = 10;
        mask.bounds = MaskBounds{40, 40, 0, 0};
        mask.dirty = mftest::UntouchedDirty();
        mask.pixels = mftest::ViewOf(scene.pixels.data(), 30 * 12, &scene.pixelVersionWord);
        scene.shapes.assign(1, mask);
        scene.vertices = {{31, 6}, {32.9f, 6}, {31, 7.9f}, {8, 2}, {12.9f, 2}, {8, 4.9f}};
        scene.indices = alone ? std::vector<int32_t>{0, 1, 2} : std::vector<int32_t>{0, 1, 2, 3, 4, 5};
        ExpectBothAgree(scene, [](const hostsim::EntryPoints& lib, Scene& s) {
            return lib.rasterizeTriangles(0, 0, 0, s.vertices.data(), 0, s.indices.data(),
                                          static_cast<int32_t>(s.indices.size()), &s.Mask(), 2, 2);
        });
    }
}

// Host memory that the margin reaches: the mask record's dirty rectangle,
// the version word, or the vertices of a later triangle, placed inside the
// pixel allocation where the brush of a one-pixel triangle at (34, 10) paints
// bytes 674 and 675 (and 738) of a mask 64 pixels wide: the top bytes of the
// 32-bit value at 672. The checked path sees that paint between its steps;
// the fast paths must leave such a call to it.
enum class Inside { kDirty, kVersionWord, kVertices };

class HostMemoryInPixelsTest : public mftest::HostTest, public ::testing::WithParamInterface<Inside> {};

TEST_P(HostMemoryInPixelsTest, IsLeftToTheCheckedPath) {
    constexpr int32_t kWidth = 64;
    constexpr size_t kPainted = 672;
    constexpr size_t kRecordAt = kPainted - offsetof(ShapeMask, dirty.xMax);
    constexpr size_t kVerticesAt = kPainted - 3 * sizeof(Vec2);  // the x of the fourth vertex
    Scene scene;
    scene.pixels.assign(static_cast<size_t>(kWidth) * 40, 0);
    uint8_t* const pixels = scene.pixels.data();
    ShapeMask mask{};
    mask.width = kWidth;
    mask.height = 30;
    mask.bounds = MaskBounds{64, 64, 0, 0};
    mask.dirty = DirtyRect{40, 40, 0, 0};
    mask.pixels = mftest::ViewOf(pixels, static_cast<int32_t>(scene.pixels.size()), &scene.pixelVersionWord);
    if (GetParam() == Inside::kVersionWord) {
        mask.pixels.safety.versionWord = reinterpret_cast<uint32_t*>(pixels + kPainted);
    }
    scene.shapes.assign(1, mask);
    if (GetParam() == Inside::kDirty) {
        std::memcpy(pixels + kRecordAt, &mask, sizeof mask);
    }
    // Triangle 0 is the one pixel (34, 10); triangle 1 the point (0, 20), whose
    // x turns huge when its top bytes are painted.
    scene.vertices = {{34.5f, 10.5f}, {34.5f, 10.5f}, {34.5f, 10.5f}, {0.0f, 20.0f}};
    if (GetParam() == Inside::kVertices) {
        std::memcpy(pixels + kVerticesAt, scene.vertices.data(), 4 * sizeof(Vec2));
    }
    scene.indices = {0, 1, 2, 3, 3, 3};
    ExpectBothAgree(scene, [](const hostsim::EntryPoints& lib, Scene& s) {
        uint8_t* const base = s.pixels.data();
        ShapeMask* const target = GetParam() == Inside::kDirty ? reinterpret_cast<ShapeMask*>(base + kRecordAt) : &s.Mask();
        const Vec2* const vertices = GetParam() == Inside::kVertices ? reinterpret_cast<const Vec2*>(base + kVerticesAt)
                                                                     : s.vertices.data();
        return lib.rasterizeTriangles(0, 0, 0, vertices, 0, s.indices.data(), 6, target, 1, 1);
    });
}

INSTANTIATE_TEST_SUITE_P(Drawing, HostMemoryInPixelsTest,
                         ::testing::Values(Inside::kDirty, Inside::kVersionWord, Inside::kVertices));

}  // namespace

namespace {

// Meshes as modelling tools export them: jittered grids of cells of one to
// six pixels, with holes, on masks of up to 96 pixels a side, so that a
// call draws thousands of rows of tiny triangles; sometimes with a few
// triangles wider than sixteen columns, one whose edge values wrap, or
// triangles scattered far apart.
void DenseMesh(Random& random, Scene& scene, float extent) {
    const float cell = static_cast<float>(Pick(random, 100, 600)) / 100.0f;
    const int32_t cells = std::clamp(static_cast<int32_t>(extent / cell), 1, 40);
    const float start = static_cast<float>(Pick(random, 0, 300)) / 100.0f;
    const float jitter = 0.3f * cell;
    for (int32_t row = 0; row <= cells; ++row) {
        for (int32_t column = 0; column <= cells; ++column) {
            const auto shake = [&] { return jitter * static_cast<float>(Pick(random, -100, 100)) / 100.0f; };
            scene.vertices.push_back(Vec2{start + cell * static_cast<float>(column) + shake(),
                                          start + cell * static_cast<float>(row) + shake()});
        }
    }
    for (int32_t row = 0; row < cells; ++row) {
        for (int32_t column = 0; column < cells; ++column) {
            if (Chance(random, 8)) {
                continue;  // a hole
            }
            const int32_t a = row * (cells + 1) + column, b = a + 1, c = a + cells + 1, d = c + 1;
            const bool other = Chance(random, 50);
            scene.indices.insert(scene.indices.end(), {a, b, other ? d : c, other ? a : b, d, c});
        }
    }
}

void ScatteredTriangles(Random& random, Scene& scene, int32_t extent) {
    const int32_t count = Pick(random, 1, 6);
    for (int32_t i = 0; i < count; ++i) {
        const float x = static_cast<float>(Pick(random, 0, extent * 100)) / 100.0f;
        const float y = static_cast<float>(Pick(random, 0, extent * 100)) / 100.0f;
        const auto base = static_cast<int32_t>(scene.vertices.size());
        // Mostly a few pixels; sometimes wider than a tile, or reaching far
        // out; or a sliver whose rows' runs lie apart.
        const float size = OneOf(random, {2.5f, 4.0f, 7.0f, 20.0f, 30.0f, 60.0f, 1e9f});
        if (Chance(random, 20)) {
            const float rise = static_cast<float>(Pick(random, 2, 6));
            scene.vertices.insert(scene.vertices.end(), {{x, y}, {x + size, y + rise}, {x + size + 0.6f, y + rise + 0.2f}});
        } else {
            scene.vertices.insert(scene.vertices.end(), {{x, y}, {x + size, y + 0.4f * size}, {x + 0.3f, y + size}});
        }
        scene.indices.insert(scene.indices.end(), {base, base + 1, base + 2});
    }
}

// Some triangles listed the other way round, for the list fill to turn.
void TurnSome(Random& random, Scene& scene) {
    for (size_t k = 0; k + 2 < scene.indices.size(); k += 3) {
        if (Chance(random, 40)) {
            std::swap(scene.indices[k], scene.indices[k + 1]);
        }
    }
}

// A mask of 8 to 96 pixels a side: mostly empty, where the margin of the
// whole mesh is swept at once, else holding pixels, where each triangle
// paints its own; mostly at origin (0, 0).
void DenseMask(Random& random, Scene& scene) {
    const int32_t width = Pick(random, 8, 96);
    const int32_t height = Pick(random, 8, 96);
    const int32_t length = width * height + Pick(random, 0, 2 * width);
    scene.pixels.assign(static_cast<size_t>(length), 0);
    if (Chance(random, 35)) {
        const uint32_t density = Pick(random, 1, 10);
        for (uint8_t& pixel : scene.pixels) {
            pixel = Chance(random, density) ? OneOf<uint8_t>(random, {FILL_INTERIOR, FILL_BORDER, FILL_RECT, 7}) : 0;
        }
    }
    ShapeMask mask{};
    mask.width = width;
    mask.height = height;
    if (Chance(random, 25)) {
        mask.origin = MaskOrigin{Pick(random, -6, 6), Pick(random, -6, 6)};
    }
    mask.dirty = Chance(random, 80) ? mftest::UntouchedDirty() : DirtyRect{3, 3, 5, 5};
    mask.pixels = mftest::ViewOf(scene.pixels.data(), length, &scene.pixelVersionWord);
    scene.shapes.assign(1, mask);
}

// Margins of 1 to 4 mostly, up to 8, sometimes 0 or far wider; wide ones
// with a few triangles only, as the literal path paints every position of
// every brush.
int32_t DenseMargin(Random& random) {
    switch (random() % 20u) {
        case 0:
        case 1: return 0;
        case 2: return Pick(random, 20, 40);
        case 3:
        case 4: return Pick(random, 5, 8);
        default: return Pick(random, 1, 4);
    }
}

// A dense scene's mesh, scan limits and margin: mostly inside the mask with
// room for the margin, else past its right and bottom edges, where brush
// positions are clamped; scan limits past the mesh, or cutting through it.
int32_t DenseDrawing(Random& random, Scene& scene) {
    ShapeMask& mask = scene.Mask();
    const int32_t margin = DenseMargin(random);
    const int32_t room = std::max(
        std::min(mask.width, mask.height) - (Chance(random, 75) ? 2 * std::min(margin, 8) + 1 : -4), 1);
    if (margin >= 20 || Chance(random, 30)) {
        ScatteredTriangles(random, scene, room);
    } else {
        DenseMesh(random, scene, static_cast<float>(room));
        if (Chance(random, 15)) {
            ScatteredTriangles(random, scene, room);
        }
    }
    TurnSome(random, scene);
    const int32_t limit = Chance(random, 80) ? std::max(mask.width, mask.height) + 8 : Pick(random, 1, room + 2);
    mask.bounds = MaskBounds{limit, Chance(random, 90) ? limit : Pick(random, 1, limit), 0, 0};
    return margin;
}

Call BuildJobCall(Random& random, Scene& scene, int32_t margin) {
    ShapeBuildJob& job = scene.job;
    const ShapeMask& mask = scene.Mask();
    job.margin = margin;
    job.skipRectFill = Chance(random, 70) ? 0 : 1;
    job.maxCoord = Chance(random, 80) ? std::max(mask.width, mask.height) - 1 : Pick(random, 0, 100);
    job.drawSize = mask.bounds.x0;
    job.vertices = scene.vertices.data();
    job.indices = scene.indices.data();
    job.indexCount = static_cast<int32_t>(scene.indices.size());
    job.shapes = mftest::ViewOf(scene.shapes.data(), 1, &scene.shapesVersionWord);
    return [](const hostsim::EntryPoints& lib, Scene& s) {
        lib.buildShapeMask(&s.job, nullptr, nullptr, nullptr, 0);
        return 0;
    };
}

// The build job, the list fill (sometimes with another vertical margin), or
// one triangle of the mesh with any value, 0 included.
Call DenseCall(Random& random, Scene& scene, int32_t margin) {
    const auto count = static_cast<int32_t>(scene.indices.size());
    if (Chance(random, 45)) {
        return BuildJobCall(random, scene, margin);
    }
    if (Chance(random, 85)) {
        const int32_t marginY = Chance(random, 85) ? margin : DenseMargin(random) % 9;
        return [=](const hostsim::EntryPoints& lib, Scene& s) {
            return lib.rasterizeTriangles(0, 0, 0, s.vertices.data(), 0, s.indices.data(), count, &s.Mask(), margin,
                                          marginY);
        };
    }
    const int32_t k = 3 * Pick(random, 0, count / 3 - 1);
    const int32_t value = OneOf<int32_t>(random, {FILL_INTERIOR, 0, 90, Pick(random, 1, 255)});
    return [=](const hostsim::EntryPoints& lib, Scene& s) {
        lib.rasterizeTriangle(0, &s.Mask(), 0, 0, nullptr, value, &s.vertices[s.indices[k]],
                              &s.vertices[s.indices[k + 1]], &s.vertices[s.indices[k + 2]], margin, margin);
        return 0;
    };
}

TEST_F(DrawingDifferentialTest, DenseMeshes) {
    Random random(6006);
    for (int i = 0; i < 300 && !HasFailure(); ++i) {
        SCOPED_TRACE("scene " + std::to_string(i));
        Scene scene;
        DenseMask(random, scene);
        const int32_t margin = DenseDrawing(random, scene);
        const Call call = DenseCall(random, scene, margin);
        RandomAccessAndCompare(random, scene, call);
    }
}

}  // namespace

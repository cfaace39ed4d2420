// CanPlace, FindPlacement and BlitShape of the shipped library against its
// literal twin, on random scenes from fixed seeds. Each scene runs once per
// library at the same addresses from the same starting bytes; the bytes of
// the whole allocation, the records, the result element, the answer, the
// host checks called and the way the call ended must all agree. The scenes
// mix what the fast paths take (matching versions, windows that hold every
// pixel a call may touch) with what they must leave to the checked path:
// windows one element short of that reach, versions that call the host,
// refused checks, a shape whose pixels lie among the board's, limit sums
// and positions that wrap, and steps of 0, below 0 or near INT32_MAX.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "differential_support.h"
#include "drawing_support.h"
#include "placement_support.h"

namespace {

using mftest::Dice;

constexpr int64_t kGuard = 256;      // spare bytes around each mask's pixels
constexpr int32_t kResultSlots = 4;  // results elements the views may reach

int32_t ClampToInt32(int64_t value) { return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX)); }

// Host memory of one scene. One allocation holds guard bytes, the board's
// pixels, guard bytes, the shape's pixels and guard bytes, so that every
// window a scene sets up stays inside memory the test owns.
struct Scene {
    std::vector<uint8_t> memory;
    uint32_t boardWord = 0;
    uint32_t shapeWord = 0;
    uint32_t resultsWord = 0;
    std::vector<PlacementResult> results;  // a spare element on either side of the slots
    PlacementSearchJob job{};              // its board and shape are also the direct calls' records
    int32_t x = 0;  // board position
    int32_t y = 0;
    int32_t shapeX = 0;  // shape pixel of the single-pixel calls
    int32_t shapeY = 0;
    bool refuseRead = false;
    bool refuseWrite = false;
    hostsim::LeaveBy leaveBy = hostsim::LeaveBy::kLongJump;
    bool windowsByHand = false;

    BoardMask& Board() { return job.board; }
    ShapeMask& Shape() { return job.shape; }
};

// What one library left behind.
struct Capture {
    mftest::HostSide host;
    std::vector<uint8_t> memory;
    std::vector<PlacementResult> results;
    PlacementSearchJob job{};
    int32_t answer = 0;
};

using Call = std::function<int32_t(const hostsim::EntryPoints&, Scene&)>;

Capture RunOnce(Scene& scene, const Call& call, const hostsim::EntryPoints& entries) {
    const Scene before = scene;
    Capture capture;
    capture.host = mftest::RunFresh(scene.leaveBy, scene.refuseRead, scene.refuseWrite,
                                    [&] { capture.answer = call(entries, scene); });
    capture.memory = scene.memory;
    capture.results = scene.results;
    capture.job = scene.job;
    // Back to the starting bytes at the same addresses.
    std::copy(before.memory.begin(), before.memory.end(), scene.memory.begin());
    std::copy(before.results.begin(), before.results.end(), scene.results.begin());
    scene.job = before.job;
    return capture;
}

// Indices a call may touch through one view, lowest and highest.
struct Reach {
    int64_t lo;
    int64_t hi;
};

// Indices of `view` that land inside the scene's allocation.
Reach MemoryOf(const Scene& scene, const CheckedArray& view) {
    const int64_t offset = static_cast<const uint8_t*>(view.data) - scene.memory.data();
    return Reach{-offset, static_cast<int64_t>(scene.memory.size()) - offset - 1};
}

// Whatever a scene did to its pixel views, no window reaches past the
// allocation, unless the scene set its windows up by hand.
void ConfineWindows(Scene& scene) {
    if (scene.windowsByHand) {
        return;
    }
    for (CheckedArray* view : {&scene.Board().pixels, &scene.Shape().pixels}) {
        const Reach memory = MemoryOf(scene, *view);
        view->minIndex = static_cast<int32_t>(std::clamp<int64_t>(view->minIndex, memory.lo, memory.hi));
        view->maxIndex = static_cast<int32_t>(std::clamp<int64_t>(view->maxIndex, memory.lo, memory.hi));
    }
}

// Returns what the shipped library left behind.
Capture ExpectBothAgree(Scene& scene, const Call& call) {
    ConfineWindows(scene);
    const Capture literal = RunOnce(scene, call, mftest::LiteralEntries());
    const Capture fast = RunOnce(scene, call, mftest::Entries());
    mftest::ExpectSameEnding(literal.host.outcome, fast.host.outcome);
    EXPECT_EQ(literal.answer, fast.answer);
    mftest::ExpectSameHostChecks(literal.host.calls, fast.host.calls);
    EXPECT_EQ(literal.job.board.dirty, fast.job.board.dirty);
    EXPECT_EQ(0, std::memcmp(&literal.job, &fast.job, sizeof literal.job)) << "records differ";
    EXPECT_TRUE(literal.memory == fast.memory) << "pixels differ";
    const size_t resultBytes = literal.results.size() * sizeof(PlacementResult);
    EXPECT_TRUE(resultBytes == 0 || std::memcmp(literal.results.data(), fast.results.data(), resultBytes) == 0)
        << "results differ";
    return fast;
}

struct Pixel {
    int64_t x;
    int64_t y;
};

Reach ReachOf(int32_t width, std::initializer_list<Pixel> pixels) {
    Reach reach{INT64_MAX, INT64_MIN};
    for (const Pixel& p : pixels) {
        const int64_t index = p.y * width + p.x;
        reach = Reach{std::min(reach.lo, index), std::max(reach.hi, index)};
    }
    return reach;
}

// Mostly all elements; else a window that starts or ends one element before,
// at or after the call's reach, or one element short of all; else a random,
// possibly empty one.
void RandomWindow(Dice& dice, CheckedArray& view, Reach reach) {
    int64_t lo = 0;
    int64_t hi = view.length - 1LL;
    const int32_t kind = dice.Between(0, 9);
    if (kind >= 6 && kind <= 7 && reach.lo <= reach.hi) {
        lo = reach.lo + dice.Between(-1, 1);
        hi = reach.hi + dice.Between(-1, 1);
    } else if (kind == 8) {
        (dice.Percent(50) ? lo : hi) += dice.Percent(50) ? 1 : -1;
    } else if (kind == 9) {
        lo = dice.Between(-2, view.length + 1LL);
        hi = dice.Between(-2, view.length + 1LL);
    }
    view.minIndex = ClampToInt32(lo);
    view.maxIndex = ClampToInt32(hi);
}

uint8_t RandomSetValue(Dice& dice) { return dice.Among<uint8_t>({FILL_INTERIOR, FILL_BORDER, FILL_RECT, 1, 255}); }

void Scatter(Dice& dice, uint8_t* pixels, int64_t count, uint32_t percent) {
    for (int64_t i = 0; i < count; ++i) {
        pixels[i] = dice.Percent(percent) ? RandomSetValue(dice) : 0;
    }
}

struct Sizes {
    int32_t boardWidth;
    int32_t boardHeight;
    int32_t shapeWidth;
    int32_t shapeHeight;
};

// Shapes taller than the search keeps core rows of, on narrow boards.
Sizes TallSizes(Dice& dice) {
    return Sizes{dice.Between(3, 9), dice.Between(258, 280), dice.Between(1, 3), dice.Between(254, 270)};
}

// Now and then rows stored bottom-up: a negative width from the last row.
template <typename Mask>
void MaybeBottomUp(Dice& dice, Mask& mask) {
    if (dice.Percent(4)) {
        mask.pixels.data = static_cast<uint8_t*>(mask.pixels.data) + static_cast<int64_t>(mask.height - 1) * mask.width;
        mask.width = -mask.width;
    }
}

// A position mostly where the shape's rectangle lies on the board, half of
// the time with room for the fit test's probes one pixel past it; else up
// to two pixels before it.
int32_t RandomPosition(Dice& dice, int32_t boardExtent, int32_t low, int32_t high) {
    const int32_t first = dice.Percent(80) ? 0 : -2;
    const int64_t last = boardExtent - (static_cast<int64_t>(high) - low) - (dice.Percent(50) ? 1 : 0);
    return dice.Between(first, std::max<int64_t>(first, last));
}

// Percent of set pixels.
struct Density {
    uint32_t board;
    uint32_t shape;
};

// Shapes mostly covered all over, as the build job's fill leaves them, or
// with a few holes, or sparse.
Density RandomDensity(Dice& dice) {
    const uint32_t holes = dice.Among<uint32_t>({0, 0, 0, 2, 30});
    return Density{dice.Among<uint32_t>({0, 2, 5, 10, 25, 50}),
                   dice.Percent(85) ? 100 - holes : dice.Among<uint32_t>({0, 40})};
}

// A content rectangle as a host may pass it stale: empty, inverted, far off
// or huge, on either axis.
MaskBounds StaleRectangle(Dice& dice, int32_t width, int32_t height) {
    auto corners = [&dice](int32_t extent, int32_t& low, int32_t& high) {
        low = dice.Among<int32_t>({0, 0, -1, extent, INT32_MIN, INT32_MAX, dice.Between(-3 * extent, 3 * extent)});
        switch (dice.Between(0, 3)) {
            case 0: high = low; break;
            case 1: high = ClampToInt32(static_cast<int64_t>(low) - dice.Between(1, extent + 40LL)); break;
            case 2: high = ClampToInt32(static_cast<int64_t>(low) + dice.Between(1 << 20, INT32_MAX)); break;
            default: high = dice.Among<int32_t>({INT32_MIN, INT32_MAX, extent, -1}); break;
        }
    };
    MaskBounds bounds{};
    corners(width, bounds.x0, bounds.x1);
    corners(height, bounds.y0, bounds.y1);
    if (static_cast<int64_t>(bounds.x1) - bounds.x0 > INT32_MAX) {
        // Columns that wrap below zero leave every row empty: with a huge
        // row count the call would spin through empty rows for seconds.
        bounds.y1 = ClampToInt32(static_cast<int64_t>(bounds.y0) + dice.Between(-1, 3));
    }
    return bounds;
}

// Board and shape with their pixels. Now and then the shape's view points
// among the board's pixels.
void RandomMasks(Dice& dice, Scene& scene, const Sizes& sizes, const Density& density) {
    const int64_t boardLength = static_cast<int64_t>(sizes.boardWidth) * sizes.boardHeight;
    const int64_t shapeLength = static_cast<int64_t>(sizes.shapeWidth) * sizes.shapeHeight;
    scene.memory.assign(static_cast<size_t>(3 * kGuard + boardLength + shapeLength), 0);
    uint8_t* board = scene.memory.data() + kGuard;
    uint8_t* shape = board + boardLength + kGuard;
    Scatter(dice, board, boardLength, density.board);
    Scatter(dice, shape, shapeLength, density.shape);
    if (dice.Percent(5)) {
        shape = board + dice.Between(-kGuard / 2, boardLength);
    }
    BoardMask& b = scene.Board();
    b.width = sizes.boardWidth;
    b.height = sizes.boardHeight;
    // Placement limits mostly the board's size, else one off, or stale.
    const int32_t off = dice.Percent(60) ? 0 : 1;
    b.bounds =
        MaskBounds{sizes.boardWidth + dice.Between(-off, off), sizes.boardHeight + dice.Between(-off, off), 5, 6};
    if (dice.Percent(6)) {
        b.bounds = StaleRectangle(dice, sizes.boardWidth, sizes.boardHeight);
    }
    b.dirty = dice.Percent(70)
                  ? mftest::UntouchedDirty()
                  : DirtyRect{dice.Between(-2, 30), dice.Between(-2, 30), dice.Between(-2, 30), dice.Between(-2, 30)};
    b.pixels = mftest::ViewOf(board, static_cast<int32_t>(boardLength), &scene.boardWord);
    b.pixels.safety.safetyId = 11;
    ShapeMask& s = scene.Shape();
    s.width = sizes.shapeWidth;
    s.height = sizes.shapeHeight;
    // The content rectangle mostly inside the mask with its high corner on
    // the last row and column at most, where probes 3 and 4 read it.
    const int32_t edge = dice.Percent(80) ? 1 : 0;
    const int32_t x0 = dice.Percent(80) ? 0 : dice.Between(-1, sizes.shapeWidth);
    const int32_t y0 = dice.Percent(80) ? 0 : dice.Between(-1, sizes.shapeHeight);
    const int32_t x1 = dice.Percent(60) ? sizes.shapeWidth - edge : dice.Between(x0 - 1, sizes.shapeWidth - edge);
    const int32_t y1 = dice.Percent(60) ? sizes.shapeHeight - edge : dice.Between(y0 - 1, sizes.shapeHeight - edge);
    s.bounds = dice.Percent(6) ? StaleRectangle(dice, sizes.shapeWidth, sizes.shapeHeight) : MaskBounds{x0, y0, x1, y1};
    s.dirty = mftest::UntouchedDirty();
    s.origin = MaskOrigin{dice.Between(-5, 5), dice.Between(-5, 5)};
    s.pixels = mftest::ViewOf(shape, static_cast<int32_t>(shapeLength), &scene.shapeWord);
    s.pixels.safety.safetyId = 22;
    MaybeBottomUp(dice, b);
    MaybeBottomUp(dice, s);
    scene.leaveBy = dice.Percent(50) ? hostsim::LeaveBy::kLongJump : hostsim::LeaveBy::kException;
}

// Shapes mostly no larger than the board, so that they can be placed on it.
Sizes SmallSizes(Dice& dice) {
    const int32_t boardWidth = dice.Between(1, 40);
    const int32_t boardHeight = dice.Between(1, 24);
    const bool fits = dice.Percent(80);
    return Sizes{boardWidth, boardHeight, dice.Between(1, fits ? std::min(boardWidth, 14) : 14),
                 dice.Between(1, fits ? std::min(boardHeight, 12) : 12)};
}

// Wide enough for several words of 64 columns, and shapes of 64 or more.
Sizes WideSizes(Dice& dice) {
    return Sizes{dice.Between(64, 200), dice.Between(3, 14), dice.Between(40, 90), dice.Between(1, 5)};
}

// Grids wider than one tile of the search for their shape's height, so that
// the search takes them band by band: a tile holds 256 columns under shapes
// of 130 rows or more, 768 under shapes of 64 to 85 rows. Some shapes are
// wider than a word, some wider than a tile takes, and the board's rows run
// past a block of core rows or two.
Sizes BandSizes(Dice& dice) {
    const bool tall = dice.Percent(60);
    const int32_t h = tall ? dice.Between(130, 180) : dice.Between(64, 85);
    const int32_t w = dice.Percent(60) ? dice.Between(1, 40) : dice.Between(60, 210);
    const int32_t width = tall ? dice.Between(w + 180, w + 420) : dice.Between(w + 700, w + 900);
    return Sizes{width, h + dice.Between(1, tall ? 60 : 2 * h + 20), w, h};
}

// Moves a position by `columns` board widths right and as many rows up:
// the same pixels, reached through sums that wrap past INT32_MAX.
int32_t ShiftForWrap(Dice& dice, int32_t x, int32_t width, int32_t& y) {
    const int64_t rows = (INT32_MAX - static_cast<int64_t>(x) - dice.Between(0, 40)) / std::max(width, 1);
    y = static_cast<int32_t>(std::max<int64_t>(y - rows, INT32_MIN));
    return static_cast<int32_t>(x + rows * width);
}

// Half the scenes keep matching versions and whole windows.
void RandomAccess(Dice& dice, Scene& scene, Reach boardReach, Reach shapeReach) {
    if (dice.Percent(50)) {
        return;
    }
    mftest::RandomVersions(dice, scene.boardWord, scene.Board().pixels.safety, scene.refuseRead, scene.refuseWrite);
    mftest::RandomVersions(dice, scene.shapeWord, scene.Shape().pixels.safety, scene.refuseRead, scene.refuseWrite);
    RandomWindow(dice, scene.Board().pixels, boardReach);
    RandomWindow(dice, scene.Shape().pixels, shapeReach);
}

// The shape pixels the fit test reads: probes and scan rectangle.
Reach ShapeFitReach(const ShapeMask& shape) {
    const MaskBounds& b = shape.bounds;
    return ReachOf(shape.width, {{b.x0, b.y0}, {b.x1, b.y1}, {b.x1 / 2, b.y0 / 2}, {b.x1 - 1LL, b.y1 - 1LL}});
}

// The board pixels the fit test reads for the candidates from (x, y) to (lastX, lastY).
Reach BoardFitReach(const Scene& scene, int64_t x, int64_t y, int64_t lastX, int64_t lastY) {
    const MaskBounds& b = scene.job.shape.bounds;
    const int64_t w = static_cast<int32_t>(static_cast<uint32_t>(b.x1) - static_cast<uint32_t>(b.x0));
    const int64_t h = static_cast<int32_t>(static_cast<uint32_t>(b.y1) - static_cast<uint32_t>(b.y0));
    return ReachOf(scene.job.board.width, {{x, y}, {lastX + w, y}, {x, lastY + h}, {lastX + w, lastY + h}});
}

class PlacementDifferentialTest : public mftest::HostTest {};

// Masks, and a position mostly where the content rectangle lies on the board.
void RandomPlacement(Dice& dice, Scene& scene) {
    RandomMasks(dice, scene, dice.Percent(85) ? SmallSizes(dice) : WideSizes(dice), RandomDensity(dice));
    const MaskBounds& b = scene.Shape().bounds;
    scene.x = RandomPosition(dice, std::abs(scene.Board().width), b.x0, b.x1);
    scene.y = RandomPosition(dice, scene.Board().height, b.y0, b.y1);
}

int32_t RunCanPlace(const hostsim::EntryPoints& lib, Scene& scene) {
    return lib.canPlace(&scene.Board(), &scene.Shape(), scene.x, scene.y);
}

int32_t RunBlit(const hostsim::EntryPoints& lib, Scene& scene) {
    lib.blitShape(nullptr, &scene.Board(), &scene.Shape(), scene.x, scene.y);
    return 0;
}

TEST_F(PlacementDifferentialTest, CanPlace) {
    mftest::ForEachScene(7001, 1500, 33, [](Dice& dice) {
        Scene scene;
        RandomPlacement(dice, scene);
        RandomAccess(dice, scene, BoardFitReach(scene, scene.x, scene.y, scene.x, scene.y),
                     ShapeFitReach(scene.Shape()));
        if (dice.Percent(5)) {
            scene.x = ShiftForWrap(dice, scene.x, scene.Board().width, scene.y);
        }
        return mftest::RanUnchecked(ExpectBothAgree(scene, RunCanPlace).host);
    });
}

int32_t RunCopyPixel(const hostsim::EntryPoints& lib, Scene& scene) {
    lib.copyPixel(nullptr, &scene.Board(), &scene.Shape(), scene.x, scene.y, scene.shapeX, scene.shapeY);
    return 0;
}

int32_t RunPixelsOverlap(const hostsim::EntryPoints& lib, Scene& scene) {
    return lib.pixelsOverlap(&scene.Board(), &scene.Shape(), scene.x, scene.y, scene.shapeX, scene.shapeY);
}

// One board pixel and one shape pixel, now and then through sums that wrap.
void ComparePixelPairs(uint32_t seed, uint32_t uncheckedFloorPercent, const Call& call) {
    mftest::ForEachScene(seed, 1500, uncheckedFloorPercent, [&](Dice& dice) {
        Scene scene;
        RandomPlacement(dice, scene);
        const BoardMask& board = scene.Board();
        const ShapeMask& shape = scene.Shape();
        scene.x = mftest::RandomPixelCoordinate(dice, std::abs(board.width));
        scene.y = mftest::RandomPixelCoordinate(dice, board.height);
        scene.shapeX = mftest::RandomPixelCoordinate(dice, std::abs(shape.width));
        scene.shapeY = mftest::RandomPixelCoordinate(dice, shape.height);
        RandomAccess(dice, scene, ReachOf(board.width, {{scene.x, scene.y}}),
                     ReachOf(shape.width, {{scene.shapeX, scene.shapeY}}));
        if (dice.Percent(5)) {
            scene.x = ShiftForWrap(dice, scene.x, board.width, scene.y);
        }
        return mftest::RanUnchecked(ExpectBothAgree(scene, call).host);
    });
}

TEST_F(PlacementDifferentialTest, CopyPixel) { ComparePixelPairs(7008, 50, RunCopyPixel); }

TEST_F(PlacementDifferentialTest, PixelsOverlap) { ComparePixelPairs(7009, 50, RunPixelsOverlap); }

// Points the shape's view at board pixels a few bytes from where the blit
// writes, often with the board's row width, so that the blit reads bytes it
// has just written.
void ReadWhereWritten(Dice& dice, Scene& scene) {
    ShapeMask& shape = scene.Shape();
    const BoardMask& board = scene.Board();
    if (dice.Percent(50)) {
        shape.width = board.width;
    }
    const int64_t target = static_cast<int64_t>(scene.y) * board.width + scene.x;
    const int64_t source = static_cast<int64_t>(shape.bounds.y0) * shape.width + shape.bounds.x0;
    shape.pixels.data = static_cast<uint8_t*>(board.pixels.data) + (target - source + dice.Between(-3, 3));
    shape.pixels.minIndex = INT32_MIN;
    shape.pixels.maxIndex = INT32_MAX;
}

TEST_F(PlacementDifferentialTest, BlitShape) {
    mftest::ForEachScene(7002, 1200, 70, [](Dice& dice) {
        Scene scene;
        RandomPlacement(dice, scene);
        const MaskBounds& b = scene.Shape().bounds;
        const int64_t lastX = scene.x + (b.x1 - 1LL - b.x0);
        const int64_t lastY = scene.y + (b.y1 - 1LL - b.y0);
        RandomAccess(
            dice, scene,
            ReachOf(scene.Board().width, {{scene.x, scene.y}, {lastX, scene.y}, {scene.x, lastY}, {lastX, lastY}}),
            ReachOf(scene.Shape().width,
                    {{b.x0, b.y0}, {b.x1 - 1LL, b.y0}, {b.x0, b.y1 - 1LL}, {b.x1 - 1LL, b.y1 - 1LL}}));
        if (dice.Percent(5)) {
            scene.x = ShiftForWrap(dice, scene.x, scene.Board().width, scene.y);
        }
        if (dice.Percent(10)) {
            ReadWhereWritten(dice, scene);
        }
        return mftest::RanUnchecked(ExpectBothAgree(scene, RunBlit).host);
    });
}

// Where a range starts: mostly at the board's first columns or rows, else
// anywhere from far below them to past the board's end.
int32_t RandomStart(Dice& dice, int32_t extent) {
    switch (dice.Between(0, 9)) {
        case 0: return dice.Between(INT32_MIN, INT32_MIN + 64LL);
        case 1: return dice.Between(-4LL * extent - 64, -1);
        case 2: return dice.Between(extent, 2LL * extent + 64);
        default: return dice.Between(-2, extent / 2);
    }
}

// A range of at most a few hundred steps: single, ordinary or huge steps,
// ending past, at or before its start, and now and then one that ends at
// INT32_MAX, where the walk must stop rather than wrap.
SearchRange RandomRange(Dice& dice, int32_t extent) {
    SearchRange range{RandomStart(dice, extent), 0, dice.Among<int32_t>({1, 1, 1, 1, 2, 3, 7, 64, 65}), -1};
    range.end = ClampToInt32(static_cast<int64_t>(range.start) +
                             (dice.Percent(5) ? -dice.Between(1, INT32_MAX) : dice.Between(-2, extent + 4LL)));
    if (dice.Percent(8)) {
        range.step = dice.Among<int32_t>({0, -1, INT32_MIN});
    } else if (dice.Percent(5)) {
        range.step = dice.Among<int32_t>({INT32_MAX, 1 << 30, 1 << 28});
        range.end = INT32_MAX;
    }
    return range;
}

// The last candidate a range offers below the limit, for placing windows.
int64_t LastCandidate(const SearchRange& range, int32_t edge, int32_t limit) {
    const int64_t last = std::min<int64_t>(range.end, static_cast<int64_t>(limit) - 1 - edge);
    if (range.step <= 0 || last < range.start) {
        return range.start;
    }
    return range.start + (last - range.start) / range.step * range.step;
}

// A search scene whose result view has spare elements on either side, an
// output index that may lie outside its window, and candidates that may run
// near INT32_MAX.
void RandomSearch(Dice& dice, Scene& scene, bool edgeCases) {
    PlacementSearchJob& job = scene.job;
    job.xRange = RandomRange(dice, std::abs(job.board.width));
    job.yRange = RandomRange(dice, job.board.height);
    scene.results.assign(kResultSlots + 2, mftest::SearchJob::kUntouched);
    job.results = mftest::ViewOf(scene.results.data() + 1, kResultSlots, &scene.resultsWord);
    job.results.safety.safetyId = 33;
    job.outputIndex = dice.Between(0, kResultSlots - 1);
    if (!edgeCases) {
        // From a little before or after the corner over the whole board, so
        // that most searches have candidates; a board view over the whole
        // allocation holds the pixels of candidates left of or above the
        // board, and the limits stay as drawn, mostly the board's size.
        job.xRange.start = dice.Between(-3, 2);
        job.yRange.start = dice.Between(dice.Percent(20) ? -1 : 0, 2);
        job.xRange.end = std::max(job.xRange.end, job.xRange.start + std::abs(job.board.width));
        job.yRange.end = std::max(job.yRange.end, job.yRange.start + job.board.height);
        if (job.xRange.start < 0 || job.yRange.start < 0 || dice.Percent(30)) {
            const Reach memory = MemoryOf(scene, job.board.pixels);
            job.board.pixels.minIndex = ClampToInt32(memory.lo);
            job.board.pixels.maxIndex = ClampToInt32(memory.hi);
        }
        return;
    }
    const int64_t lastX = LastCandidate(job.xRange, job.shape.bounds.x1, job.board.bounds.x0);
    const int64_t lastY = LastCandidate(job.yRange, job.shape.bounds.y1, job.board.bounds.y0);
    RandomAccess(dice, scene, BoardFitReach(scene, job.xRange.start, job.yRange.start, lastX, lastY),
                 ShapeFitReach(job.shape));
    if (dice.Percent(5)) {
        // Limits and candidates near INT32_MAX: the limit sums wrap.
        const bool columns = dice.Percent(50);
        SearchRange& range = columns ? job.xRange : job.yRange;
        const int64_t shift = static_cast<int64_t>(INT32_MAX) - range.end - dice.Between(2, 8);
        range.start = ClampToInt32(range.start + shift);
        range.end = ClampToInt32(range.end + shift);
        int32_t& limit = columns ? job.board.bounds.x0 : job.board.bounds.y0;
        limit = dice.Among<int32_t>({INT32_MAX, INT32_MIN, limit});
    }
    job.outputIndex = dice.Between(-1, kResultSlots);
    mftest::RandomVersions(dice, scene.resultsWord, job.results.safety, scene.refuseRead, scene.refuseWrite);
    if (dice.Percent(10)) {
        job.results.minIndex = job.results.maxIndex = dice.Between(0, kResultSlots - 1);
    }
}

int32_t RunSearch(const hostsim::EntryPoints& lib, Scene& scene) {
    lib.findPlacement(&scene.job, nullptr, nullptr, nullptr, 0);
    return 0;
}

bool SearchedUnchecked(Scene& scene) { return mftest::RanUnchecked(ExpectBothAgree(scene, RunSearch).host); }

TEST_F(PlacementDifferentialTest, FindPlacement) {
    mftest::ForEachScene(7003, 500, 45, [](Dice& dice) {
        Scene scene;
        RandomMasks(dice, scene, dice.Percent(80) ? SmallSizes(dice) : WideSizes(dice), RandomDensity(dice));
        RandomSearch(dice, scene, true);
        return SearchedUnchecked(scene);
    });
}

// Clears up to two rectangles a little larger than the shape's, so that a
// crowded board has a fit somewhere, or a few.
void CarveSpaces(Dice& dice, Scene& scene) {
    BoardMask& board = scene.Board();
    const int32_t width = std::abs(board.width);
    const MaskBounds& b = scene.Shape().bounds;
    const Reach memory = MemoryOf(scene, board.pixels);
    for (int32_t space = dice.Between(0, 2); space > 0; --space) {
        const int32_t x0 = dice.Between(0, width - 1);
        const int32_t y0 = dice.Between(0, board.height - 1);
        // A stale content rectangle may span more than int or be inverted.
        const auto end = [&](int32_t start, int32_t from, int32_t to, int32_t limit) {
            return static_cast<int32_t>(std::clamp<int64_t>(
                start + (static_cast<int64_t>(to) - from) + dice.Between(1, 3), start, limit));
        };
        const int32_t x1 = end(x0, b.x0, b.x1, width);
        const int32_t y1 = end(y0, b.y0, b.y1, board.height);
        for (int32_t y = y0; y < y1; ++y) {
            for (int32_t x = x0; x < x1; ++x) {
                const int64_t index = static_cast<int64_t>(y) * width + x;
                if (index <= memory.hi) {  // a board may hold fewer pixels than its size says
                    static_cast<uint8_t*>(board.pixels.data)[index] = 0;
                }
            }
        }
    }
}

// Covered shapes, every candidate inside the windows: the searches that
// read the board as bits, in one tile or band by band, shapes of 64 columns
// or more among them, on crowded boards with a few spaces, or sparse ones.
TEST_F(PlacementDifferentialTest, FindPlacementOfCoveredShapes) {
    mftest::ForEachScene(7004, 600, 65, [](Dice& dice) {
        Scene scene;
        // Tall shapes fit on a narrow board only where it is nearly empty.
        const bool tall = dice.Percent(15);
        const bool bands = !tall && dice.Percent(15);
        const Sizes sizes = tall    ? TallSizes(dice)
                            : bands ? BandSizes(dice)
                            : dice.Percent(50) ? SmallSizes(dice)
                                               : WideSizes(dice);
        const uint32_t board = tall    ? dice.Among<uint32_t>({0, 1})
                               : bands ? dice.Among<uint32_t>({1, 2, 30})
                                       : dice.Among<uint32_t>({0, 1, 2, 30, 60});
        RandomMasks(dice, scene, sizes, Density{board, 100});
        CarveSpaces(dice, scene);
        const MaskBounds& b = scene.Shape().bounds;
        if (dice.Percent(30) && b.x1 >= 0 && b.x1 < std::abs(scene.Shape().width) && b.y1 >= 0 &&
            b.y1 < scene.Shape().height) {
            // Probes 3 and 4 then find nothing, whatever the board holds.
            static_cast<uint8_t*>(scene.Shape().pixels.data)[static_cast<int64_t>(b.y1) * scene.Shape().width + b.x1] =
                0;
        }
        RandomSearch(dice, scene, false);
        return SearchedUnchecked(scene);
    });
}

// Searches at the edges of the tried grid, each with one free place that
// the search must or must not reach: a limit sum equal to the board's limit
// skips the candidate (column) or ends the search (row); a last row or column
// whose limit sum passes INT32_MAX wraps below the limit and is tried. Boards
// one pixel wide keep the far candidates' pixels inside the window, their
// index sums wrapping back.
struct EdgeSearch {
    const char* name;
    int32_t boardWidth;  // the board holds 64 pixels
    MaskBounds limits;
    SearchRange xRange;
    SearchRange yRange;
    uint8_t fill;                 // every board pixel but
    std::vector<int32_t> others;  // these, which hold the other value
    bool found;
    int32_t x;
    int32_t y;
};

TEST_F(PlacementDifferentialTest, SearchesAtTheEdgesOfTheGrid) {
    constexpr int32_t kFar = INT32_MAX - 14;
    // A 1 x 1 rectangle of a covered 2 x 2 shape reads (x, y) to (x + 1, y + 1).
    const EdgeSearch searches[] = {
        // name, board width, limits, x range, y range, fill, other pixels, found, x, y
        {"limit sum of the column equals the limit", 8, {5, 8, 0, 0}, {0, 7, 1, 0}, {0, 7, 1, 0}, FILL_INTERIOR,
         {4, 5, 12, 13}, false, 0, 0},
        {"limit sum of the column one below", 8, {6, 8, 0, 0}, {0, 7, 1, 0}, {0, 7, 1, 0}, FILL_INTERIOR,
         {4, 5, 12, 13}, true, 4, 0},
        {"limit sum of the row equals the limit", 8, {8, 5, 0, 0}, {0, 7, 1, 0}, {0, 7, 1, 0}, FILL_INTERIOR,
         {32, 33, 40, 41}, false, 0, 0},
        {"limit sum of the row one below", 8, {8, 6, 0, 0}, {0, 7, 1, 0}, {0, 7, 1, 0}, FILL_INTERIOR,
         {32, 33, 40, 41}, true, 0, 4},
        {"rows kFar, kFar + 7, INT32_MAX: the last sum wraps", 1, {INT32_MAX, INT32_MAX, 0, 0},
         {-kFar + 10, -kFar + 10, 1, 0}, {kFar, INT32_MAX, 7, 0}, 0, {11, 18}, true, -kFar + 10, INT32_MAX},
        {"columns kFar, kFar + 7, INT32_MAX: the last sum wraps", 1, {INT32_MAX, INT32_MAX, 0, 0},
         {kFar, INT32_MAX, 7, 0}, {-kFar + 10, -kFar + 10, 1, 0}, 0, {11, 18}, true, INT32_MAX, -kFar + 10},
    };
    for (const EdgeSearch& search : searches) {
        SCOPED_TRACE(search.name);
        Dice dice(7005);
        Scene scene;
        RandomMasks(dice, scene, Sizes{1, 64, 2, 2}, Density{0, 100});
        RandomSearch(dice, scene, false);
        PlacementSearchJob& job = scene.job;
        job.xRange = search.xRange;
        job.yRange = search.yRange;
        job.board.width = search.boardWidth;
        job.board.bounds = search.limits;
        job.board.pixels = mftest::ViewOf(scene.memory.data() + kGuard, 64, &scene.boardWord);
        job.shape.width = 2;
        job.shape.bounds = MaskBounds{0, 0, 1, 1};
        job.shape.pixels = mftest::ViewOf(scene.memory.data() + 2 * kGuard + 64, 4, &scene.shapeWord);
        std::fill_n(scene.memory.begin() + kGuard, 64, search.fill);
        for (const int32_t index : search.others) {
            scene.memory[static_cast<size_t>(kGuard + index)] = search.fill == 0 ? FILL_INTERIOR : 0;
        }
        const PlacementResult result = RunOnce(scene, RunSearch, mftest::LiteralEntries()).results[1 + job.outputIndex];
        EXPECT_EQ(result.found, 1);  // the element's earlier hit, if nothing was found
        if (search.found) {
            EXPECT_EQ(result.x, search.x);
            EXPECT_EQ(result.y, search.y);
        } else {
            EXPECT_EQ(result.x, mftest::SearchJob::kUntouched.x);
        }
        ExpectBothAgree(scene, RunSearch);
    }
}

// Searches whose grid takes several tiles of the search, on a board covered
// all over but for the places cleared for the fits: a fit in a tile to the
// right wins over one to the left when it lies in an earlier row, not in
// the same row; a fit lies in the second band, or either side of the rows
// where the bands meet; rows a core height apart, each a band of its own;
// columns 65 apart, a few to a tile; and a shape wider than a tile takes,
// searched by part of its core.
struct TiledSearch {
    const char* name;
    int32_t shapeWidth;  // the mask, covered all over; its content rectangle one short of it each way
    int32_t shapeHeight;
    std::vector<Pixel> fits;
    int32_t xStep;
    int32_t yStep;
    Pixel first;
};

TEST_F(PlacementDifferentialTest, SearchesAcrossTilesFindTheFirstFitInRowOrder) {
    constexpr int32_t kWidth = 600;
    constexpr int32_t kHeight = 720;
    // A core 139 rows tall leaves a tile 256 columns; a band is 556 rows.
    const TiledSearch searches[] = {
        {"right tile, earlier row", 10, 140, {{10, 20}, {400, 5}}, 1, 1, {400, 5}},
        {"same row: the left tile", 10, 140, {{400, 5}, {10, 5}}, 1, 1, {10, 5}},
        {"second band", 10, 140, {{300, 570}}, 1, 1, {300, 570}},
        {"last row of the first band", 10, 140, {{450, 556}, {20, 555}}, 1, 1, {20, 555}},
        {"a band for each row", 10, 140, {{350, 280}, {20, 281}}, 1, 140, {350, 280}},
        {"columns 65 apart", 10, 140, {{100, 2}, {390, 30}}, 65, 1, {390, 30}},
        {"a shape wider than a tile takes", 200, 140, {{300, 100}, {20, 101}}, 1, 1, {300, 100}},
    };
    for (const TiledSearch& search : searches) {
        SCOPED_TRACE(search.name);
        Dice dice(7008);
        Scene scene;
        RandomMasks(dice, scene, Sizes{kWidth, kHeight, search.shapeWidth, search.shapeHeight}, Density{100, 100});
        RandomSearch(dice, scene, false);
        PlacementSearchJob& job = scene.job;
        uint8_t* board = scene.memory.data() + kGuard;
        const int32_t shapeLength = search.shapeWidth * search.shapeHeight;
        job.board.width = kWidth;
        job.board.bounds = MaskBounds{kWidth, kHeight, 0, 0};
        job.board.pixels = mftest::ViewOf(board, kWidth * kHeight, &scene.boardWord);
        job.shape.width = search.shapeWidth;
        job.shape.bounds = MaskBounds{0, 0, search.shapeWidth - 1, search.shapeHeight - 1};
        job.shape.pixels = mftest::ViewOf(board + kWidth * kHeight + kGuard, shapeLength, &scene.shapeWord);
        std::fill_n(board + kWidth * kHeight + kGuard, shapeLength, FILL_RECT);
        job.xRange = SearchRange{0, kWidth - 1, search.xStep, 0};
        job.yRange = SearchRange{0, kHeight - 1, search.yStep, 0};
        for (const Pixel& fit : search.fits) {
            for (int64_t y = fit.y; y < fit.y + search.shapeHeight; ++y) {
                std::fill_n(board + y * kWidth + fit.x, search.shapeWidth, 0);
            }
        }
        const PlacementResult result = RunOnce(scene, RunSearch, mftest::LiteralEntries()).results[1 + job.outputIndex];
        EXPECT_EQ(result.x, search.first.x);
        EXPECT_EQ(result.y, search.first.y);
        ExpectBothAgree(scene, RunSearch);
    }
}

// A blit whose board columns run past INT32_MAX: the dirty rectangle takes
// the wrapped columns, its minimum from the far side of the wrap.
TEST_F(PlacementDifferentialTest, BlitAcrossTheWrap) {
    Dice dice(7006);
    Scene scene;
    RandomMasks(dice, scene, Sizes{1, 64, 4, 1}, Density{0, 100});
    scene.Board().width = 1;
    scene.Board().dirty = mftest::UntouchedDirty();
    scene.Board().pixels = mftest::ViewOf(scene.memory.data() + kGuard, 64, &scene.boardWord);
    scene.Shape().width = 4;
    scene.Shape().bounds = MaskBounds{0, 0, 4, 1};
    scene.Shape().pixels = mftest::ViewOf(scene.memory.data() + 2 * kGuard + 64, 4, &scene.shapeWord);
    scene.x = INT32_MAX - 1;
    scene.y = -(INT32_MAX - 1) + 2;
    const DirtyRect dirty = RunOnce(scene, RunBlit, mftest::LiteralEntries()).job.board.dirty;
    EXPECT_EQ(dirty, (DirtyRect{INT32_MIN, scene.y, INT32_MAX, scene.y}));
    ExpectBothAgree(scene, RunBlit);
}

// A shape whose pixels are the board's dirty rectangle: each pixel the blit
// writes changes bytes that it reads later.
TEST_F(PlacementDifferentialTest, BlitReadingTheDirtyRectangleItWidens) {
    Dice dice(7007);
    Scene scene;
    RandomMasks(dice, scene, Sizes{16, 4, 4, 4}, Density{0, 100});
    scene.Board().bounds = MaskBounds{16, 4, 0, 0};
    scene.Board().dirty = mftest::UntouchedDirty();
    scene.Board().width = 16;
    scene.Board().pixels = mftest::ViewOf(scene.memory.data() + kGuard, 64, &scene.boardWord);
    scene.Shape().width = 4;
    scene.Shape().bounds = MaskBounds{0, 0, 4, 4};
    scene.Shape().pixels = mftest::ViewOf(&scene.job.board.dirty, sizeof(DirtyRect), &scene.shapeWord);
    scene.windowsByHand = true;
    scene.x = 2;
    ExpectBothAgree(scene, RunBlit);
}

}  // namespace

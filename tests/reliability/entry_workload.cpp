#include "entry_workload.h"

#include <ostream>

namespace mfreliability {
namespace {

using mftest::TestBoard;
using mftest::TestShape;

// Version words against a handle issued with version 0.
constexpr uint32_t kWritesAskHost = 6;  // reads pass, writes call the check
constexpr uint32_t kBothAskHost = 8;

// Record fields ahead of the pixel view: everything a call may change.
constexpr size_t kShapeFields = offsetof(ShapeMask, pixels);
constexpr size_t kBoardFields = offsetof(BoardMask, pixels);

class Digest {
public:
    Digest& Bytes(const void* data, size_t size) {
        const auto* p = static_cast<const uint8_t*>(data);
        for (size_t i = 0; i < size; ++i) {
            hash_ = (hash_ ^ p[i]) * 1099511628211ull;
        }
        return *this;
    }
    Digest& Shape(const TestShape& s) {
        return Bytes(&s.mask, kShapeFields).Bytes(s.pixels.bytes.data(), s.pixels.bytes.size());
    }
    Digest& Board(const TestBoard& b) {
        return Bytes(&b.mask, kBoardFields).Bytes(b.pixels.bytes.data(), b.pixels.bytes.size());
    }
    uint64_t Value() const { return hash_; }

private:
    uint64_t hash_ = 14695981039346656037ull;
};

struct Refusals {
    bool read = false;
    bool write = false;
};

class Pass {
public:
    Pass(const hostsim::EntryPoints& lib, uint32_t variant, const CallHooks& hooks)
        : lib(lib), offset(static_cast<int32_t>(variant % 3)), variant_(variant), hooks_(hooks) {}

    // Runs one entry call through the host; `call` returns the entry's
    // result (0 for entries without one), `digest` sums up what it changed.
    template <typename Call, typename Summary>
    void Record(const char* name, Call&& call, Summary&& digest, Refusals refuse = {}) {
        hostsim::ResetState();
        hostsim::ThreadState& state = hostsim::State();
        state.leaveBy = variant_ % 2 == 0 ? hostsim::LeaveBy::kLongJump : hostsim::LeaveBy::kException;
        state.refuseRead = refuse.read;
        state.refuseWrite = refuse.write;
        void* const headBefore = *hostsim::ChainHeadSlot();
        int32_t returned = 0;
        const hostsim::Outcome outcome = hostsim::Run([&] {
            if (hooks_.before != nullptr) {
                hooks_.before(name);
            }
            returned = call();
            if (hooks_.after != nullptr) {
                hooks_.after();
            }
        });
        CallResult result;
        result.name = name;
        result.ending = outcome.ending;
        result.message = outcome.message;
        result.hostChecks = state.safetyCalls.size();
        result.returned = returned;
        result.digest = digest().Value();
        result.chainRestored = *hostsim::ChainHeadSlot() == headBefore;
        results_.push_back(std::move(result));
    }

    std::vector<CallResult> Take() { return std::move(results_); }

    const hostsim::EntryPoints& lib;
    const int32_t offset;  // moves positions with the variant

private:
    uint32_t variant_;
    CallHooks hooks_;
    std::vector<CallResult> results_;
};

void PixelCalls(Pass& pass) {
    const auto& lib = pass.lib;
    TestShape shape(8, 8);
    TestBoard board(8, 8);
    auto changed = [&] { return Digest().Shape(shape).Board(board); };
    auto set = [&](int32_t x, int32_t y) {
        return [&, x, y] { return lib.setPixel(&shape.mask, nullptr, nullptr, nullptr, 90, 0, 0, x, y), 0; };
    };
    pass.Record("SetPixel", set(1 + pass.offset, 2), changed);
    pass.Record("SetPixel past the window", set(0, 8), changed);
    *shape.pixels.versionWord = kWritesAskHost;
    pass.Record("SetPixel refused", set(2, 2), changed, Refusals{false, true});
    pass.Record("SetPixel checked", set(3, 2), changed);
    auto copy = [&](int32_t x, int32_t y) {
        return [&, x, y] { return lib.copyPixel(nullptr, &board.mask, &shape.mask, x, y, 1 + pass.offset, 2), 0; };
    };
    pass.Record("CopyPixel", copy(4, 4), changed);
    board.mask.pixels.maxIndex = 40;  // a restricted window
    pass.Record("CopyPixel past a restricted window", copy(1, 7), changed);
}

void BrushAndTriangleCalls(Pass& pass) {
    const auto& lib = pass.lib;
    TestShape shape(10, 10);
    shape.mask.bounds = MaskBounds{8, 8, 0, 0};
    auto changed = [&] { return Digest().Shape(shape); };
    *shape.pixels.versionWord = kBothAskHost;
    pass.Record("PaintBorder checked", [&] { return lib.paintBorder(&shape.mask, nullptr, 90, 3 + pass.offset, 3, 2, 1), 0; },
                changed);
    *shape.pixels.versionWord = 0;
    pass.Record("PaintBorder past the last row", [&] { return lib.paintBorder(&shape.mask, nullptr, 90, 3, 11, 2, 2), 0; },
                changed);
    const Vec2 a{0, 0}, b{4.0f + static_cast<float>(pass.offset), 0}, c{0, 4};
    pass.Record("RasterizeTriangle",
                [&] { return lib.rasterizeTriangle(0, &shape.mask, 0, 0, nullptr, 234, &a, &b, &c, 1, 1), 0; }, changed);

    const Vec2 square[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
    const int32_t indices[] = {0, 1, 2, 0, 2, 3};
    TestShape mesh(8, 8);
    mesh.mask.bounds = MaskBounds{8, 8, 0, 0};
    auto meshChanged = [&] { return Digest().Shape(mesh); };
    auto drawSquare = [&] { return lib.rasterizeTriangles(0, 0, 0, square, 4, indices, 6, &mesh.mask, 1, 1); };
    pass.Record("RasterizeTriangles", drawSquare, meshChanged);
    mesh.mask.pixels.maxIndex = 20 + pass.offset;
    pass.Record("RasterizeTriangles past a restricted window", drawSquare, meshChanged);
}

void BuildCalls(Pass& pass) {
    const Vec2 vertices[] = {{0, 0}, {4, 0}, {0, static_cast<float>(4 + pass.offset)}};
    const int32_t indices[] = {0, 1, 2};
    TestShape target(10, 10);
    uint32_t shapesVersion = 0;
    ShapeBuildJob job{};
    job.margin = 1;
    job.maxCoord = 9;
    job.drawSize = 8;
    job.vertices = vertices;
    job.indices = indices;
    job.indexCount = 3;
    job.shapes = mftest::ViewOf(&target.mask, 1, &shapesVersion);
    shapesVersion = kBothAskHost;
    auto changed = [&] { return Digest().Shape(target); };
    auto build = [&] { return pass.lib.buildShapeMask(&job, nullptr, nullptr, nullptr, 0), 0; };
    pass.Record("BuildShapeMask checked", build, changed);
    job.shapeIndex = 1;
    pass.Record("BuildShapeMask past the shapes", build, changed);
}

void FitCalls(Pass& pass) {
    const auto& lib = pass.lib;
    TestBoard board(12, 12);
    TestShape shape(4, 4);
    shape.mask.bounds = MaskBounds{0, 0, 3, 3};
    for (int32_t x = 0; x < 3; ++x) {
        shape.Set(x, 1, FILL_INTERIOR);
        board.Set(x + 6, 6, FILL_BORDER);
    }
    auto changed = [&] { return Digest().Board(board).Shape(shape); };
    pass.Record("PixelsOverlap", [&] { return lib.pixelsOverlap(&board.mask, &shape.mask, 6 + pass.offset, 6, 1, 1); },
                changed);
    pass.Record("PixelsOverlap past the board",
                [&] { return lib.pixelsOverlap(&board.mask, &shape.mask, 0, 12, 1, 1); }, changed);
    pass.Record("CanPlace fits", [&] { return lib.canPlace(&board.mask, &shape.mask, pass.offset, 0); }, changed);
    pass.Record("CanPlace blocked", [&] { return lib.canPlace(&board.mask, &shape.mask, 5, 5); }, changed);
    pass.Record("CanPlace probe past the board", [&] { return lib.canPlace(&board.mask, &shape.mask, 10, 10); },
                changed);

    PlacementResult results[2]{};
    uint32_t resultsVersion = 0;
    PlacementSearchJob job{};
    job.xRange = SearchRange{0, 8, 1 + pass.offset, 0};
    job.yRange = SearchRange{4, 8, 1, 0};
    job.board = board.mask;
    job.board.bounds = MaskBounds{12, 12, 0, 0};
    job.shape = shape.mask;
    job.results = mftest::ViewOf(results, 2, &resultsVersion);
    resultsVersion = kWritesAskHost;
    job.outputIndex = 1;
    auto placed = [&] { return Digest().Bytes(results, sizeof results); };
    auto search = [&] { return lib.findPlacement(&job, nullptr, nullptr, nullptr, 0), 0; };
    pass.Record("FindPlacement checked", search, placed);
    job.outputIndex = 2;
    pass.Record("FindPlacement past the results", search, placed);
    // No candidate fits, the first few not among them: the search reads the board as bits.
    job.xRange = SearchRange{4, 8, 1, 0};
    job.yRange = SearchRange{5, 5 + pass.offset, 1, 0};
    job.outputIndex = 1;
    pass.Record("FindPlacement over the board's bits", search, placed);

    auto blit = [&](int32_t x, int32_t y) {
        return [&, x, y] { return lib.blitShape(nullptr, &board.mask, &shape.mask, x, y), 0; };
    };
    pass.Record("BlitShape", blit(1 + pass.offset, 1), changed);
    pass.Record("BlitShape off the board", blit(11, 10), changed);
}

}  // namespace

std::vector<CallResult> RunEveryEntryPoint(const hostsim::EntryPoints& lib, uint32_t variant,
                                           const CallHooks& hooks) {
    Pass pass(lib, variant, hooks);
    PixelCalls(pass);
    BrushAndTriangleCalls(pass);
    BuildCalls(pass);
    FitCalls(pass);
    return pass.Take();
}

SharedBoard::SharedBoard() {
    board.mask.bounds = MaskBounds{48, 48, 0, 0};
    // Obstacles that make the searches walk several rows before a hit.
    for (int32_t y = 0; y < 48; ++y) {
        for (int32_t x = 0; x < 48; ++x) {
            if ((x * 7 + y * 3) % 11 == 0 || (y < 20 && x % 5 == 2)) {
                board.Set(x, y, FILL_INTERIOR);
            }
        }
    }
}

std::vector<CallResult> SearchSharedBoard(const hostsim::EntryPoints& lib, const SharedBoard& shared,
                                          uint32_t variant) {
    Pass pass(lib, variant, {});
    TestShape shape(5, 5);
    shape.mask.bounds = MaskBounds{0, 0, 3 + static_cast<int32_t>(variant % 2), 3};
    shape.Set(1, 1, FILL_INTERIOR);
    shape.Set(2, 1, FILL_INTERIOR);
    auto nothing = [] { return Digest(); };
    for (int32_t y = 0; y < 40; y += 9) {
        const int32_t x = static_cast<int32_t>(variant % 17) + y / 3;
        pass.Record("CanPlace on the shared board", [&] { return lib.canPlace(&shared.board.mask, &shape.mask, x, y); },
                    nothing);
    }
    PlacementResult result{};
    uint32_t resultVersion = 0;
    PlacementSearchJob job{};
    job.xRange = SearchRange{static_cast<int32_t>(variant % 5), 44, 1, 0};
    job.yRange = SearchRange{0, 44, 1 + static_cast<int32_t>(variant % 3), 0};
    job.board = shared.board.mask;
    job.shape = shape.mask;
    job.results = mftest::ViewOf(&result, 1, &resultVersion);
    pass.Record("FindPlacement on the shared board",
                [&] { return lib.findPlacement(&job, nullptr, nullptr, nullptr, 0), 0; },
                [&] { return Digest().Bytes(&result, sizeof result); });
    return pass.Take();
}

void PrintTo(const CallResult& result, std::ostream* out) {
    *out << result.name << ": ending " << static_cast<int>(result.ending) << " \"" << result.message << "\", "
         << result.hostChecks << " host checks, returned " << result.returned << ", digest " << result.digest
         << (result.chainRestored ? "" : ", chain head NOT restored");
}

}  // namespace mfreliability

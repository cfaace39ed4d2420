#include "entry_calls.h"

#include <algorithm>
#include <cstring>

#include "placement_support.h"

extern "C" MASKFIT_HOSTCALL uint64_t maskfit_test_call_with_registers(const void* fn, const uint64_t* args,
                                                                      const mftest::RegisterSet* load,
                                                                      mftest::RegisterSet* store);

namespace mftest {

RegisterSet RegisterPattern() {
    RegisterSet set{};
    for (int i = 0; i < 8; ++i) {
        set.general[i] = 0x0123456789ABCDEFull ^ (0x1111111111111111ull * static_cast<uint64_t>(i + 1));
    }
    for (int i = 0; i < 160; ++i) {
        set.xmm6to15[i] = static_cast<uint8_t>(0xA5 ^ (i * 7));
    }
    return set;
}

ArgSlots::ArgSlots(std::initializer_list<uint64_t> values) { std::copy(values.begin(), values.end(), slots); }

uint64_t CallWithRegisters(const void* fn, const ArgSlots& args, const RegisterSet& load, RegisterSet& after) {
    return maskfit_test_call_with_registers(fn, args.slots, &load, &after);
}

EveryEntryScene::EveryEntryScene(uint32_t version, uint32_t word) {
    for (uint32_t* versionWord :
         {shape.pixels.versionWord.get(), placed.pixels.versionWord.get(), board.pixels.versionWord.get(), &jobWord}) {
        *versionWord = word;
    }
    for (CheckedArray* view : {&shape.mask.pixels, &placed.mask.pixels, &board.mask.pixels}) {
        view->safety.version = version;
    }
    shape.mask.bounds = MaskBounds{8, 8, 0, 0};
    placed.mask.bounds = MaskBounds{0, 0, 4, 4};
    Cover(placed, {{0, 0}, {1, 1}, {2, 3}, {3, 2}});
    shapes[0] = shape.mask;
    build.margin = 1;
    build.maxCoord = 7;
    build.drawSize = 6;
    build.vertices = corners;
    build.indices = indices;
    build.indexCount = 3;
    build.shapes = ViewOf(shapes, 1, &jobWord);
    build.shapes.safety.version = version;
    search.xRange = SearchRange{0, 8, 1, 0};
    search.yRange = SearchRange{0, 8, 1, 0};
    search.board = board.mask;
    search.board.bounds = MaskBounds{16, 16, 0, 0};
    search.shape = placed.mask;
    search.results = ViewOf(results, 2, &jobWord);
    search.results.safety.version = version;
}

template <typename Visit>
void EveryEntryScene::ForEachChangeable(Visit visit) {
    for (TestShape* s : {&shape, &placed}) {
        visit(&s->mask, sizeof s->mask);
        visit(s->pixels.bytes.data(), s->pixels.bytes.size());
    }
    visit(&board.mask, sizeof board.mask);
    visit(board.pixels.bytes.data(), board.pixels.bytes.size());
    visit(shapes, sizeof shapes);
    visit(results, sizeof results);
}

std::vector<uint8_t> EveryEntryScene::Snapshot() {
    std::vector<uint8_t> bytes;
    ForEachChangeable([&bytes](const void* data, size_t size) {
        const auto* p = static_cast<const uint8_t*>(data);
        bytes.insert(bytes.end(), p, p + size);
    });
    return bytes;
}

void EveryEntryScene::Restore(const std::vector<uint8_t>& snapshot) {
    size_t at = 0;
    ForEachChangeable([&](void* data, size_t size) {
        std::memcpy(data, snapshot.data() + at, size);
        at += size;
    });
}

std::vector<EntryCall> EveryEntryCall(const hostsim::EntryPoints& lib, EveryEntryScene& s) {
    const auto fn = [](auto entry) { return reinterpret_cast<const void*>(entry); };
    ShapeMask* shape = &s.shape.mask;
    ShapeMask* placed = &s.placed.mask;
    BoardMask* board = &s.board.mask;
    return {
        {"RasterizeTriangles", fn(lib.rasterizeTriangles),
         {kJunk, kJunk, kJunk, Ptr(s.corners), kJunk, Ptr(s.indices), I32(3), Ptr(shape), I32(1), I32(1)}},
        {"RasterizeTriangle", fn(lib.rasterizeTriangle),
         {kJunk, Ptr(shape), kJunk, kJunk, kJunk, I32(FILL_INTERIOR), Ptr(&s.corners[0]), Ptr(&s.corners[1]),
          Ptr(&s.corners[2]), I32(1), I32(1)}},
        {"PaintBorder", fn(lib.paintBorder), {Ptr(shape), kJunk, I32(FILL_BORDER), I32(3), I32(3), I32(2), I32(2)}},
        {"FindPlacement", fn(lib.findPlacement), {Ptr(&s.search), kJunk, kJunk, kJunk, I32(0)}},
        {"SetPixel", fn(lib.setPixel), {Ptr(shape), kJunk, kJunk, kJunk, I32(7), kJunk, kJunk, I32(2), I32(5)}},
        {"BuildShapeMask", fn(lib.buildShapeMask), {Ptr(&s.build), kJunk, kJunk, kJunk, I32(0)}},
        {"CopyPixel", fn(lib.copyPixel), {kJunk, Ptr(board), Ptr(placed), I32(1), I32(1), I32(1), I32(1)}},
        {"BlitShape", fn(lib.blitShape), {kJunk, Ptr(board), Ptr(placed), I32(3), I32(2)}},
        {"PixelsOverlap", fn(lib.pixelsOverlap), {Ptr(board), Ptr(placed), I32(1), I32(1), I32(2), I32(3)}},
        {"CanPlace", fn(lib.canPlace), {Ptr(board), Ptr(placed), I32(9), I32(9)}},
    };
}

}  // namespace mftest

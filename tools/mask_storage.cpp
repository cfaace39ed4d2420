#include "mask_storage.h"

#include <climits>

namespace demo {
namespace {

// Minimums above and maximums below every coordinate: nothing written yet.
constexpr DirtyRect kUntouched{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};

}  // namespace

CheckedArray VersionedMemory::ViewOf(void* data, int32_t length) const {
    CheckedArray view{};
    view.data = data;
    view.length = length;
    view.minIndex = 0;
    view.maxIndex = length - 1;
    view.safety.versionWord = versionWord.get();
    view.safety.version = *versionWord;
    return view;
}

OwnedShape MakeShape(int32_t side) {
    OwnedShape shape;
    shape.pixels.bytes.assign(static_cast<size_t>(side) * static_cast<size_t>(side), FILL_EMPTY);
    shape.mask.width = side;
    shape.mask.height = side;
    shape.mask.dirty = kUntouched;
    shape.mask.pixels = shape.pixels.View();
    return shape;
}

OwnedBoard MakeBoard(int32_t width, int32_t height) {
    OwnedBoard board;
    board.pixels.bytes.assign(static_cast<size_t>(width) * static_cast<size_t>(height), FILL_EMPTY);
    board.mask.width = width;
    board.mask.height = height;
    board.mask.bounds = MaskBounds{width, height, width, height};
    board.mask.dirty = kUntouched;
    board.mask.pixels = board.pixels.View();
    return board;
}

}  // namespace demo

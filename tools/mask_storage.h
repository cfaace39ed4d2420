// Masks as the host owns them: pixel memory, its safety handle and the
// record that the library is given.
#ifndef MASKFIT_TOOLS_MASK_STORAGE_H
#define MASKFIT_TOOLS_MASK_STORAGE_H

#include <cstdint>
#include <memory>
#include <vector>

#include "maskfit/maskfit.h"

namespace demo {

// The handle's version always matches its word: the demo never revokes
// access, so the library never has to ask the host's safety checks.
struct VersionedMemory {
    std::unique_ptr<uint32_t> versionWord = std::make_unique<uint32_t>(0);
    CheckedArray ViewOf(void* data, int32_t length) const;  // window: every element
};

struct PixelBuffer {
    std::vector<uint8_t> bytes;
    VersionedMemory memory;
    CheckedArray View() { return memory.ViewOf(bytes.data(), static_cast<int32_t>(bytes.size())); }
};

// The records point into their buffers; moving the owner keeps them valid.
struct OwnedShape {
    PixelBuffer pixels;
    ShapeMask mask{};
};

struct OwnedBoard {
    PixelBuffer pixels;
    BoardMask mask{};
};

// An empty square shape mask, origin (0, 0).
OwnedShape MakeShape(int32_t side);
// An empty board whose placement limits are its own size.
OwnedBoard MakeBoard(int32_t width, int32_t height);

}  // namespace demo

#endif

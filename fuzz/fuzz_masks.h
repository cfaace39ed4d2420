// Shape and board masks decoded from fuzz input, and copies of them backed
// by window-exact pixel memory.
#ifndef MASKFIT_FUZZ_FUZZ_MASKS_H
#define MASKFIT_FUZZ_FUZZ_MASKS_H

#include <cstdint>
#include <cstring>
#include <vector>

#include "backed_array.h"

namespace mffuzz {

// A mask as decoded: every field but the pixel view, which `pixels` describes.
struct ShapePlan {
    ShapeMask record{};
    ArrayPlan pixels;
};

struct BoardPlan {
    BoardMask record{};
    ArrayPlan pixels;
};

ShapePlan ReadShapePlan(FuzzReader& in, int32_t maxPixels);
BoardPlan ReadBoardPlan(FuzzReader& in, int32_t maxPixels);

struct BackedShape {
    BackedShape(const ShapePlan& plan, int32_t safetyId);
    BackedArray pixels;
    ShapeMask mask;
};

struct BackedBoard {
    BackedBoard(const BoardPlan& plan, int32_t safetyId);
    BackedArray pixels;
    BoardMask mask;
};

// Appends a record's bytes with its pixel view's addresses zeroed: copies of
// one world in different memory compare equal.
void AppendRecord(std::vector<uint8_t>& out, ShapeMask record);
void AppendRecord(std::vector<uint8_t>& out, BoardMask record);
// The record and the pixel window's bytes.
void AppendMask(std::vector<uint8_t>& out, const BackedShape& shape);
void AppendMask(std::vector<uint8_t>& out, const BackedBoard& board);

// Equal but for the addresses of their pixel views.
bool SameRecord(const ShapeMask& a, const ShapeMask& b);
void AppendBytes(std::vector<uint8_t>& out, const std::vector<uint8_t>& bytes);

}  // namespace mffuzz

#endif

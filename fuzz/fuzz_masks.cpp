#include "fuzz_masks.h"

#include <climits>

namespace mffuzz {
namespace {

int32_t NaturalLength(int32_t width, int32_t height) {
    const int64_t area = static_cast<int64_t>(width) * height;
    return area > 0 && area <= INT32_MAX ? static_cast<int32_t>(area) : 0;
}

MaskBounds ReadBounds(FuzzReader& in) { return MaskBounds{in.Int(), in.Int(), in.Int(), in.Int()}; }

// Mostly the host's "nothing written yet"; sometimes any four values.
DirtyRect ReadDirty(FuzzReader& in) {
    if (in.Flag()) {
        return DirtyRect{in.Int(), in.Int(), in.Int(), in.Int()};
    }
    return DirtyRect{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
}

template <typename Record>
void AppendWithoutAddresses(std::vector<uint8_t>& out, Record record) {
    record.pixels.data = nullptr;
    record.pixels.safety.versionWord = nullptr;
    const auto* bytes = reinterpret_cast<const uint8_t*>(&record);
    out.insert(out.end(), bytes, bytes + sizeof record);
}

// The fields both kinds of mask share.
template <typename Record>
void ReadMaskFields(FuzzReader& in, Record& r) {
    r.width = in.Int();
    r.height = in.Int();
    r.bounds = ReadBounds(in);
    r.dirty = ReadDirty(in);
}

}  // namespace

ShapePlan ReadShapePlan(FuzzReader& in, int32_t maxPixels) {
    ShapePlan plan;
    ShapeMask& r = plan.record;
    ReadMaskFields(in, r);
    r.origin = MaskOrigin{in.Int(), in.Int()};
    r.hostData = 0x0101010101010101ull * in.Byte();
    plan.pixels = ReadPixelPlan(in, NaturalLength(r.width, r.height), maxPixels);
    return plan;
}

BoardPlan ReadBoardPlan(FuzzReader& in, int32_t maxPixels) {
    BoardPlan plan;
    BoardMask& r = plan.record;
    ReadMaskFields(in, r);
    plan.pixels = ReadPixelPlan(in, NaturalLength(r.width, r.height), maxPixels);
    return plan;
}

BackedShape::BackedShape(const ShapePlan& plan, int32_t safetyId) : pixels(plan.pixels, safetyId), mask(plan.record) {
    mask.pixels = pixels.View();
}

BackedBoard::BackedBoard(const BoardPlan& plan, int32_t safetyId) : pixels(plan.pixels, safetyId), mask(plan.record) {
    mask.pixels = pixels.View();
}

void AppendRecord(std::vector<uint8_t>& out, ShapeMask record) { AppendWithoutAddresses(out, record); }
void AppendRecord(std::vector<uint8_t>& out, BoardMask record) { AppendWithoutAddresses(out, record); }

void AppendMask(std::vector<uint8_t>& out, const BackedShape& shape) {
    AppendRecord(out, shape.mask);
    AppendBytes(out, shape.pixels.Contents());
}

void AppendMask(std::vector<uint8_t>& out, const BackedBoard& board) {
    AppendRecord(out, board.mask);
    AppendBytes(out, board.pixels.Contents());
}

bool SameRecord(const ShapeMask& a, const ShapeMask& b) {
    std::vector<uint8_t> x;
    std::vector<uint8_t> y;
    AppendRecord(x, a);
    AppendRecord(y, b);
    return x == y;
}

void AppendBytes(std::vector<uint8_t>& out, const std::vector<uint8_t>& bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

}  // namespace mffuzz

// Turns a fuzzer's bytes into call arguments. Most choices take one byte and
// favour small values, where the interesting arithmetic is; reserved selector
// values reach the edges of the 32-bit range and raw bit patterns. Bytes are
// read from the front and a short input reads as zeros, so every prefix of an
// input is itself an input and seeds can be written by hand.
#ifndef MASKFIT_FUZZ_FUZZ_READER_H
#define MASKFIT_FUZZ_FUZZ_READER_H

#include <cstddef>
#include <cstdint>

namespace mffuzz {

class FuzzReader {
public:
    FuzzReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    uint8_t Byte();
    bool Flag() { return (Byte() & 1u) != 0; }
    uint32_t Raw32();
    uint64_t Raw64();

    // Selector below 128: a small value, zigzag-coded (0, -1, 1, -2, ... 63);
    // 128 to 159: an edge constant; 160 and above: four raw bytes follow.
    int32_t Int();

    // One byte, mapped onto lo..hi (hi - lo below 256).
    int32_t Between(int32_t lo, int32_t hi);

    // Selector below 128: quarter steps from -16 to 15.75; 128 to 159: a
    // special value (NaN, infinities, denormals, the int32 limits); 160 and
    // above: a raw bit pattern follows.
    float Float();

    // Pixel content in one of a few patterns: empty, one value, raw bytes,
    // or a bit pattern of one covered value.
    void Fill(uint8_t* out, size_t count);

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};

}  // namespace mffuzz

#endif

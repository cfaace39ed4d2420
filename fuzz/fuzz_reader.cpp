#include "fuzz_reader.h"

#include <cfloat>
#include <climits>
#include <cstring>
#include <limits>

namespace mffuzz {
namespace {

constexpr int32_t kEdgeInts[32] = {
    INT32_MAX,  INT32_MIN,  INT32_MAX - 1, INT32_MIN + 1, 255,         256,     -256,   65535,
    65536,      -65536,     1 << 30,       -(1 << 30),    46340,       -46341,  1 << 24, 0x7FFFFF00,
    INT32_MIN + 256, 10000, -10000,        128,           -129,        1000,    4096,   -4096,
    (1 << 30) + 1,   100,   -100,          200,           0x10000001,  64,      -65,    INT32_MAX / 2,
};

float FloatFromBits(uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The values at which conversions, comparisons and products change behaviour.
float SpecialFloat(uint8_t which) {
    switch (which % 32) {
        case 0: return std::numeric_limits<float>::quiet_NaN();
        case 1: return -std::numeric_limits<float>::quiet_NaN();
        case 2: return FloatFromBits(0x7F800001u);  // signalling NaN
        case 3: return std::numeric_limits<float>::infinity();
        case 4: return -std::numeric_limits<float>::infinity();
        case 5: return -0.0f;
        case 6: return FLT_MAX;
        case 7: return -FLT_MAX;
        case 8: return FLT_MIN;
        case 9: return std::numeric_limits<float>::denorm_min();
        case 10: return -std::numeric_limits<float>::denorm_min();
        case 11: return FloatFromBits(0x007FFFFFu);  // largest denormal
        case 12: return 2147483648.0f;
        case 13: return -2147483648.0f;
        case 14: return 2147483520.0f;  // largest float below 2^31
        case 15: return -2147483904.0f;  // first float below -2^31
        case 16: return 0.99999994f;
        case 17: return -0.99999994f;
        case 18: return 70000.0f;
        case 19: return -70000.0f;
        case 20: return 1e9f;
        case 21: return -1e9f;
        case 22: return 16777216.0f;
        case 23: return 16777218.0f;
        case 24: return 1e-20f;
        case 25: return 65536.5f;
        case 26: return 1e38f;
        case 27: return -1e38f;
        case 28: return 46340.95f;
        case 29: return 0.5f;
        case 30: return -0.5f;
        default: return 3.0e-39f;  // a denormal product of two small values
    }
}

int32_t Zigzag(uint8_t code) {
    const int32_t half = code >> 1;
    return (code & 1u) != 0 ? -half - 1 : half;
}

}  // namespace

uint8_t FuzzReader::Byte() {
    if (position_ >= size_) {
        return 0;
    }
    return data_[position_++];
}

uint32_t FuzzReader::Raw32() {
    uint32_t value = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        value |= static_cast<uint32_t>(Byte()) << shift;
    }
    return value;
}

uint64_t FuzzReader::Raw64() {
    const uint64_t low = Raw32();
    return low | (static_cast<uint64_t>(Raw32()) << 32);
}

int32_t FuzzReader::Int() {
    const uint8_t selector = Byte();
    if (selector < 128) {
        return Zigzag(selector);
    }
    if (selector < 160) {
        return kEdgeInts[selector - 128];
    }
    return static_cast<int32_t>(Raw32());
}

int32_t FuzzReader::Between(int32_t lo, int32_t hi) {
    const auto span = static_cast<uint32_t>(hi - lo) + 1u;
    return lo + static_cast<int32_t>(Byte() % span);
}

float FuzzReader::Float() {
    const uint8_t selector = Byte();
    if (selector < 128) {
        return static_cast<float>(Zigzag(selector)) / 4.0f;
    }
    if (selector < 160) {
        return SpecialFloat(static_cast<uint8_t>(selector - 128));
    }
    return FloatFromBits(Raw32());
}

void FuzzReader::Fill(uint8_t* out, size_t count) {
    if (count == 0) {
        return;
    }
    switch (Byte() % 4) {
        case 0:
            std::memset(out, 0, count);
            break;
        case 1:
            std::memset(out, Byte(), count);
            break;
        case 2:
            for (size_t i = 0; i < count; ++i) {
                out[i] = Byte();
            }
            break;
        default: {
            const uint8_t chosen = Byte();
            const uint8_t covered = chosen != 0 ? chosen : 234;
            uint8_t bits = 0;
            for (size_t i = 0; i < count; ++i) {
                if (i % 8 == 0) {
                    bits = Byte();
                }
                out[i] = ((bits >> (i % 8)) & 1u) != 0 ? covered : 0;
            }
            break;
        }
    }
}

}  // namespace mffuzz

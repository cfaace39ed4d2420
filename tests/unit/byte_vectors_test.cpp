// The byte-vector kernels against byte-at-a-time answers, for every run
// length across the chunk boundaries and every position of a lone set byte,
// with guard bytes around each run that no kernel may read into or write.
// The kernels with a version per instruction set are checked in each
// version this CPU can run, the baseline one always.
#include "simd/byte_kernels.h"
#include "simd/sse2_lanes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "simd/byte_kernel_variants.h"
#include "host/page_memory.h"

namespace {

using maskfit::AllSet;
using maskfit::AnySet;
using maskfit::SetBits;

using AnyBothSetFn = bool (*)(const uint8_t*, int64_t, const uint8_t*, int64_t, int64_t, int64_t);
using CopySetBytesFn = maskfit::CopiedSpan (*)(uint8_t*, const uint8_t*, int64_t);

template <typename Fn>
struct Variant {
    const char* name;
    Fn fn;
};

std::vector<Variant<AnyBothSetFn>> AnyBothSetVariants() {
    std::vector<Variant<AnyBothSetFn>> variants{{"chosen", maskfit::AnyBothSet}, {"sse2", maskfit::AnyBothSetSse2}};
    if (maskfit::HasAvx2()) {
        variants.push_back({"avx2", maskfit::AnyBothSetAvx2});
    }
    return variants;
}

std::vector<Variant<CopySetBytesFn>> CopySetBytesVariants() {
    std::vector<Variant<CopySetBytesFn>> variants{{"chosen", maskfit::CopySetBytes},
                                                  {"sse2", maskfit::CopySetBytesSse2}};
    if (maskfit::HasAvx2()) {
        variants.push_back({"avx2", maskfit::CopySetBytesAvx2});
    }
    return variants;
}

constexpr int64_t kLongest = 140;  // past two blocks of four 16-byte chunks
constexpr size_t kGuard = 32;
constexpr uint8_t kGuardByte = 0xEE;

// A run of `count` bytes with guard bytes on either side. The guards are set,
// so a kernel that reads past the run answers wrongly.
struct Guarded {
    std::vector<uint8_t> bytes;
    explicit Guarded(int64_t count, uint8_t fill = 0)
        : bytes(kGuard + static_cast<size_t>(count) + kGuard, kGuardByte) {
        std::fill(Data(), Data() + count, fill);
    }
    uint8_t* Data() { return bytes.data() + kGuard; }
};

TEST(ByteVectors, LoneSetByteIsFoundAtEveryPosition) {
    for (const auto& [name, AnyBothSet] : AnyBothSetVariants()) {
        SCOPED_TRACE(name);
        for (int64_t count = 0; count <= kLongest; ++count) {
            Guarded empty(count);
            EXPECT_FALSE(AnySet(empty.Data(), count)) << count;
            EXPECT_EQ(AllSet(empty.Data(), count), count == 0) << count;
            for (int64_t at = 0; at < count; ++at) {
                Guarded one(count);
                Guarded other(count);
                one.Data()[at] = 90;
                other.Data()[at] = 7;
                EXPECT_TRUE(AnySet(one.Data(), count)) << count << " at " << at;
                EXPECT_TRUE(AnyBothSet(one.Data(), 0, other.Data(), 0, count, 1)) << count << " at " << at;
                EXPECT_FALSE(AnyBothSet(one.Data(), 0, empty.Data(), 0, count, 1)) << count << " at " << at;
                // Set everywhere but one place in the other run: no common byte.
                Guarded allButOne(count, 234);
                allButOne.Data()[at] = 0;
                EXPECT_FALSE(AnyBothSet(one.Data(), 0, allButOne.Data(), 0, count, 1)) << count << " at " << at;
                EXPECT_FALSE(AllSet(allButOne.Data(), count)) << count << " at " << at;
            }
            EXPECT_TRUE(AllSet(Guarded(count, 79).Data(), count)) << count;
        }
    }
}

TEST(ByteVectors, AnyBothSetLooksAtEveryRowWithItsOwnStride) {
    for (const auto& [name, AnyBothSet] : AnyBothSetVariants()) {
        SCOPED_TRACE(name);
        constexpr int64_t kRows = 11;  // a whole group of rows read together, and part of one
        constexpr int64_t kCount = 40;
        constexpr int64_t kStrideA = 50;
        constexpr int64_t kStrideB = 43;
        for (int64_t row = 0; row < kRows; ++row) {
            for (int64_t at : {int64_t{0}, kCount - 1}) {
                Guarded a(kRows * kStrideA);
                Guarded b(kRows * kStrideB);
                a.Data()[row * kStrideA + at] = 1;
                b.Data()[row * kStrideB + at] = 1;
                EXPECT_TRUE(AnyBothSet(a.Data(), kStrideA, b.Data(), kStrideB, kCount, kRows)) << row << " " << at;
                EXPECT_FALSE(AnyBothSet(a.Data(), kStrideA, b.Data(), kStrideB, kCount, row)) << row << " " << at;
                // The same byte one row further on in b: not a common position.
                b.Data()[row * kStrideB + at] = 0;
                if (row + 1 < kRows) {
                    b.Data()[(row + 1) * kStrideB + at] = 1;
                }
                EXPECT_FALSE(AnyBothSet(a.Data(), kStrideA, b.Data(), kStrideB, kCount, kRows)) << row << " " << at;
            }
        }
    }
}

TEST(ByteVectors, SetBitsMirrorsEveryByte) {
    std::mt19937 random(11);
    for (int32_t count = 0; count <= 64; ++count) {
        for (int trial = 0; trial < 20; ++trial) {
            Guarded run(count);
            uint64_t expected = 0;
            for (int32_t t = 0; t < count; ++t) {
                run.Data()[t] = random() % 3 == 0 ? static_cast<uint8_t>(random()) : 0;
                expected |= static_cast<uint64_t>(run.Data()[t] != 0) << t;
            }
            EXPECT_EQ(SetBits(run.Data(), count), expected) << count;
        }
    }
}

// Rows of a few shapes of board, both below and from zero, across
// several rows with their own strides.
TEST(ByteVectors, AnyBothSetMatchesByteAtATimeOverManyRows) {
    for (const auto& [name, AnyBothSet] : AnyBothSetVariants()) {
        SCOPED_TRACE(name);
        std::mt19937 random(13);
        for (int trial = 0; trial < 3000; ++trial) {
            const int64_t count = random() % (kLongest + 1);
            const int64_t rows = random() % 20;
            const int64_t strideA = count + random() % 5;
            const int64_t strideB = count + random() % 3;
            Guarded a(rows * strideA);
            Guarded b(rows * strideB);
            // Mostly one rare set byte in a, so that the rows all zero in a are skipped and the rest tested.
            const uint32_t densityA = random() % 3 == 0 ? 1 : random() % 60;
            const uint32_t densityB = random() % 100;
            bool expected = false;
            for (int64_t r = 0; r < rows; ++r) {
                for (int64_t i = 0; i < count; ++i) {
                    uint8_t& pa = a.Data()[r * strideA + i];
                    uint8_t& pb = b.Data()[r * strideB + i];
                    pa = random() % 100 < densityA ? static_cast<uint8_t>(1 + random() % 255) : 0;
                    pb = random() % 100 < densityB ? static_cast<uint8_t>(1 + random() % 255) : 0;
                    expected = expected || (pa != 0 && pb != 0);
                }
            }
            EXPECT_EQ(AnyBothSet(a.Data(), strideA, b.Data(), strideB, count, rows), expected)
                << count << " x " << rows;
        }
    }
}

TEST(ByteVectors, CopySetBytesCopiesExactlyTheSetBytes) {
    for (const auto& [name, CopySetBytes] : CopySetBytesVariants()) {
        SCOPED_TRACE(name);
        std::mt19937 random(12);
        for (int64_t count = 0; count <= kLongest; ++count) {
            for (int trial = 0; trial < 8; ++trial) {
                Guarded source(count);
                Guarded target(count);
                const uint32_t density = random() % 4 == 0 ? 100 : random() % 100;
                for (int64_t i = 0; i < count; ++i) {
                    source.Data()[i] = random() % 100 < density ? static_cast<uint8_t>(1 + random() % 255) : 0;
                    target.Data()[i] = static_cast<uint8_t>(random());
                }
                std::vector<uint8_t> expected = target.bytes;
                int64_t first = -1;
                int64_t last = -1;
                for (int64_t i = 0; i < count; ++i) {
                    if (source.Data()[i] != 0) {
                        expected[kGuard + static_cast<size_t>(i)] = source.Data()[i];
                        first = first < 0 ? i : first;
                        last = i;
                    }
                }
                const maskfit::CopiedSpan span = CopySetBytes(target.Data(), source.Data(), count);
                EXPECT_EQ(target.bytes, expected) << count;
                EXPECT_EQ(span.first, first) << count;
                EXPECT_EQ(span.last, last) << count;
            }
        }
    }
}

}  // namespace

// A write of an unchanged byte leaves no trace in memory, so the bytes under
// zero source bytes sit on a read-only page: a run of set bytes ends where
// the page begins, or begins where it ends, at every split of every length.
TEST(ByteVectors, CopySetBytesStoresNothingUnderZeroSourceBytes) {
    mftest::PageMemory memory(3);
    memory.MakeReadOnly(1);
    std::mt19937 random(13);
    for (const auto& [name, CopySetBytes] : CopySetBytesVariants()) {
        SCOPED_TRACE(name);
        for (int64_t count = 1; count <= kLongest; ++count) {
            for (int64_t split = 0; split <= count; ++split) {
                std::vector<uint8_t> source(static_cast<size_t>(count), 0);
                for (int64_t i = 0; i < split; ++i) {
                    source[static_cast<size_t>(i)] = random() % 8 == 0 ? 0 : static_cast<uint8_t>(1 + random() % 255);
                }
                // Set bytes before the read-only page, then the same bytes after it.
                uint8_t* before = memory.Page(1) - split;
                const maskfit::CopiedSpan spanBefore = CopySetBytes(before, source.data(), count);
                std::reverse(source.begin(), source.end());
                uint8_t* after = memory.Page(2) - (count - split);
                const maskfit::CopiedSpan spanAfter = CopySetBytes(after, source.data(), count);
                for (int64_t i = 0; i < count; ++i) {
                    const uint8_t byte = source[static_cast<size_t>(i)];
                    if (byte != 0) {
                        ASSERT_EQ(after[i], byte) << count << " split " << split << " at " << i;
                        ASSERT_EQ(before[count - 1 - i], byte) << count << " split " << split << " at " << i;
                    }
                }
                EXPECT_LT(spanBefore.last, split) << count << " split " << split;
                EXPECT_TRUE(spanAfter.first < 0 || spanAfter.first >= count - split) << count << " split " << split;
            }
        }
    }
}

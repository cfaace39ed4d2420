// The empty-bit kernels of each instruction set this CPU runs against a bit
// at a time: packing every run length across the vector and word
// boundaries, with zero bytes around the run, which read as empty were a
// kernel to read past it, and marking the all-set bytes of what it ANDs; the word ANDs and the erosion for every width,
// with words around the runs that must stay as they were.
#include "simd/empty_bits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "simd/byte_kernel_variants.h"

namespace {

using maskfit::EmptyBitKernels;

struct Variant {
    const char* name;
    EmptyBitKernels kernels;
};

std::vector<Variant> Variants() {
    std::vector<Variant> variants{{"chosen", maskfit::ChooseEmptyBitKernels(32)},
                                  {"sse2", maskfit::EmptyBitKernelsSse2()}};
    if (maskfit::HasAvx2()) {
        variants.push_back({"avx2", maskfit::EmptyBitKernelsAvx2()});
    }
    return variants;
}

constexpr int64_t kGuard = 40;
constexpr uint64_t kUntouched = 0x5A5A5A5A5A5A5A5AULL;

// Runs are whole multiples of kRunWordMultiple words, with a guard word
// after them that no kernel may write.
int64_t RunWords(int64_t words) {
    return (words + maskfit::kRunWordMultiple - 1) / maskfit::kRunWordMultiple * maskfit::kRunWordMultiple;
}

uint64_t RandomBits(std::mt19937& random) { return random() | static_cast<uint64_t>(random()) << 32; }

// Half set, three quarters, seven eighths, or all but at most one bit: so
// that runs of every length up to whole words turn up.
uint64_t RandomWord(std::mt19937& random) {
    switch (random() % 4) {
        case 0: return RandomBits(random);
        case 1: return RandomBits(random) | RandomBits(random);
        case 2: return ~(RandomBits(random) & RandomBits(random) & RandomBits(random));
        default: return random() % 2 == 0 ? ~uint64_t{0} : ~(uint64_t{1} << (random() % 64));
    }
}

TEST(EmptyBits, PackMirrorsEveryByteAndClearsThePadding) {
    constexpr int64_t kWords = 8;
    for (const auto& [name, kernels] : Variants()) {
        SCOPED_TRACE(name);
        std::mt19937 random(14);
        int64_t fullBytes = 0;
        for (int64_t count = std::string(name) == "sse2" ? 1 : 32; count <= 64 * kWords; ++count) {
            for (int trial = 0; trial < 8; ++trial) {
                std::vector<uint8_t> bytes(static_cast<size_t>(count + 2 * kGuard), 0);
                uint8_t* run = bytes.data() + kGuard;
                // One run just long enough, one a multiple longer.
                const int64_t n = RunWords((count + 63) / 64) + (trial % 2) * maskfit::kRunWordMultiple;
                std::vector<uint64_t> expected(n + 1, 0);
                expected[n] = kUntouched;
                for (int64_t t = 0; t < count; ++t) {
                    // A third empty, or nearly all, so that whole bytes of bits are set.
                    const bool empty = trial < 4 ? random() % 3 == 0 : random() % 40 != 0;
                    run[t] = empty ? 0 : static_cast<uint8_t>(1 + random() % 255);
                    expected[t / 64] |= static_cast<uint64_t>(run[t] == 0) << (t % 64);
                }
                std::vector<uint64_t> words(n + 1, kUntouched);
                kernels.pack(run, count, words.data(), n);
                EXPECT_EQ(words, expected) << count;
                // The same words, each ANDed into the accumulator.
                std::vector<uint64_t> acc(n + 1);
                std::vector<uint64_t> accExpected(n + 1);
                for (int64_t k = 0; k <= n; ++k) {
                    acc[k] = random() | static_cast<uint64_t>(random()) << 32;
                    accExpected[k] = k < n ? acc[k] & expected[k] : acc[k];
                }
                std::fill(words.begin(), words.end(), kUntouched);
                kernels.packAndInto(run, count, words.data(), acc.data(), n);
                EXPECT_EQ(words, expected) << count;
                EXPECT_EQ(acc, accExpected) << count;
                // Once more, marking the all-set bytes of the ANDed words and
                // the words below them.
                std::vector<uint64_t> below(n + 1);
                for (int64_t k = 0; k <= n; ++k) {
                    acc[k] = RandomWord(random);
                    below[k] = RandomWord(random);
                    accExpected[k] = k < n ? acc[k] & expected[k] : acc[k];
                }
                const int64_t fullWords = (n + 7) / 8;
                std::vector<uint64_t> fullExpected(fullWords + 1, 0);
                fullExpected[fullWords] = kUntouched;
                for (int64_t j = 0; j < 8 * n; ++j) {
                    const uint64_t byte = (accExpected[j / 8] & below[j / 8]) >> (8 * (j % 8)) & 0xFF;
                    fullExpected[j / 64] |= static_cast<uint64_t>(byte == 0xFF) << (j % 64);
                }
                std::vector<uint64_t> full(fullWords + 1, kUntouched);
                std::fill(words.begin(), words.end(), kUntouched);
                kernels.packStep(run, count, words.data(), acc.data(), below.data(), full.data(), n);
                EXPECT_EQ(words, expected) << count;
                EXPECT_EQ(acc, accExpected) << count;
                EXPECT_EQ(full, fullExpected) << count;
                fullBytes += std::count_if(full.begin(), full.end() - 1, [](uint64_t f) { return f != 0; });
            }
        }
        EXPECT_GT(fullBytes, 1000);  // the scenes mark bytes, not only clear them
    }
}

TEST(EmptyBits, AndUpwardsLeavesEachRunTheAndOfItAndThoseAfter) {
    for (const auto& [name, kernels] : Variants()) {
        SCOPED_TRACE(name);
        std::mt19937 random(15);
        for (int64_t words = maskfit::kRunWordMultiple; words <= 12; words += maskfit::kRunWordMultiple) {
            for (int64_t rows = 1; rows <= 5; ++rows) {
                std::vector<uint64_t> runs(static_cast<size_t>(rows * words + 1), kUntouched);
                for (int64_t i = 0; i < rows * words; ++i) {
                    runs[i] = RandomWord(random);
                }
                std::vector<uint64_t> expected = runs;
                for (int64_t i = rows - 2; i >= 0; --i) {
                    for (int64_t k = 0; k < words; ++k) {
                        expected[i * words + k] &= expected[(i + 1) * words + k];
                    }
                }
                kernels.andUpwards(runs.data(), rows, words);
                EXPECT_EQ(runs, expected) << words << " x " << rows;
            }
        }
    }
}

// Bit t of the run, or clear past its end.
bool BitOf(const std::vector<uint64_t>& run, int64_t t) {
    return t < static_cast<int64_t>(run.size()) * 64 && (run[t / 64] >> (t % 64) & 1) != 0;
}

TEST(EmptyBits, ErodeAndKeepsTheBitsWhoseWholeSpanIsSet) {
    for (const auto& [name, kernels] : Variants()) {
        SCOPED_TRACE(name);
        std::mt19937 random(16);
        for (int64_t w = 1; w <= 64; ++w) {
            int eroded = 0;
            for (int trial = 0; trial < 150; ++trial) {
                const int64_t words = RunWords(1 + random() % 12);
                std::vector<uint64_t> a(words);
                std::vector<uint64_t> b(words);
                std::vector<uint64_t> both(words);
                for (int64_t k = 0; k < words; ++k) {
                    a[k] = RandomWord(random);
                    b[k] = RandomWord(random);
                    both[k] = a[k] & b[k];
                }
                std::vector<uint64_t> expected(words + 1, kUntouched);
                uint64_t any = 0;
                for (int64_t k = 0; k < words; ++k) {
                    expected[k] = 0;
                    for (int64_t bit = 0; bit < 64; ++bit) {
                        bool all = true;
                        for (int64_t s = 0; s < w && all; ++s) {
                            all = BitOf(both, 64 * k + bit + s);
                        }
                        expected[k] |= static_cast<uint64_t>(all) << bit;
                    }
                    any |= expected[k];
                }
                eroded += any != 0 ? 1 : 0;
                // Where nothing erodes to set, out may be left as it was.
                std::vector<uint64_t> out(words + 1, kUntouched);
                EXPECT_EQ(kernels.erodeAnd(a.data(), b.data(), out.data(), words, w), any) << w << ", " << words;
                if (any != 0) {
                    EXPECT_EQ(out, expected) << w << ", " << words;
                }
                // In place, as the search erodes its row again for wider cores.
                std::vector<uint64_t> run = both;
                run.push_back(kUntouched);
                EXPECT_EQ(kernels.erodeAnd(run.data(), run.data(), run.data(), words, w), any) << w;
                if (any != 0) {
                    EXPECT_EQ(run, expected) << w << ", " << words;
                }
            }
            EXPECT_GT(eroded, 10) << w;  // the scenes reach the erosion itself
        }
    }
}

}  // namespace

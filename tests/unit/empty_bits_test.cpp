// The empty-bit kernels of each instruction set this CPU runs against a bit
// at a time: packing every run length across the vector and word
// boundaries, with zero bytes around the run, which read as empty were a
// kernel to read past it, alone or a few rows in turn, stopping after the
// first row whose ANDed words have enough all-set bytes; the word ANDs and the erosion for every width,
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

TEST(EmptyBits, PackMirrorsEveryByteAndClearsThePadding) {
    constexpr int64_t kWords = 8;
    for (const auto& [name, kernels] : Variants()) {
        SCOPED_TRACE(name);
        std::mt19937 random(14);
        for (int64_t count = std::string(name) == "sse2" ? 1 : 32; count <= 64 * kWords; ++count) {
            for (int trial = 0; trial < 4; ++trial) {
                std::vector<uint8_t> bytes(static_cast<size_t>(count + 2 * kGuard), 0);
                uint8_t* run = bytes.data() + kGuard;
                // One run just long enough, one a multiple longer.
                const int64_t n = RunWords((count + 63) / 64) + (trial % 2) * maskfit::kRunWordMultiple;
                std::vector<uint64_t> expected(n + 1, 0);
                expected[n] = kUntouched;
                for (int64_t t = 0; t < count; ++t) {
                    run[t] = random() % 3 == 0 ? 0 : static_cast<uint8_t>(1 + random() % 255);
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
            }
        }
    }
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

// Rows of mostly empty pixels ANDed with mostly set words leave
// all-set bytes now and then, so that runs of them of every length turn up.
TEST(EmptyBits, PackRowsStopsAfterTheFirstRowWithEnoughAllSetBytesInARow) {
    constexpr int64_t kMaxRows = 4;
    for (const auto& [name, kernels] : Variants()) {
        SCOPED_TRACE(name);
        std::mt19937 random(17);
        int64_t stopped[kMaxRows + 1] = {};
        // Every length up to 8 words, then a few runs of more words of bytes' bits.
        for (int64_t count = std::string(name) == "sse2" ? 1 : 32; count <= 1400; count += count < 512 ? 1 : 29) {
            for (int trial = 0; trial < 3; ++trial) {
                const int64_t rows = 1 + random() % kMaxRows;
                const int64_t n = RunWords((count + 63) / 64) + (trial % 2) * maskfit::kRunWordMultiple;
                const int64_t bytes = random() % 8 == 0 ? 1 + random() % 64 : 1 + random() % 6;
                const int64_t stride = count + 3;
                std::vector<uint8_t> pixels(static_cast<size_t>(rows * stride + 2 * kGuard), 0);
                uint8_t* first = pixels.data() + kGuard;
                std::vector<uint64_t> packed(static_cast<size_t>(rows * n), 0);
                for (int64_t j = 0; j < rows; ++j) {
                    for (int64_t t = 0; t < count; ++t) {
                        const bool covered = random() % (trial == 2 ? 3 : 60) == 0;
                        first[j * stride + t] = covered ? static_cast<uint8_t>(1 + random() % 255) : 0;
                        packed[j * n + t / 64] |= static_cast<uint64_t>(!covered) << (t % 64);
                    }
                }
                std::vector<uint64_t> acc(n + 1);
                std::vector<uint64_t> below(static_cast<size_t>(rows * n));
                for (uint64_t& word : acc) {
                    word = random() % 2 == 0 ? ~uint64_t{0} : RandomWord(random);
                }
                for (uint64_t& word : below) {
                    word = random() % 2 == 0 ? ~uint64_t{0} : RandomWord(random);
                }
                // The oracle: each row's words ANDed in, its bytes read in turn.
                std::vector<uint64_t> accExpected = acc;
                std::vector<uint64_t> wordsExpected(static_cast<size_t>(rows * n + 1), kUntouched);
                int64_t expected = rows;
                for (int64_t j = 0; j < rows && expected == rows; ++j) {
                    int64_t inARow = 0;
                    for (int64_t k = 0; k < n; ++k) {
                        wordsExpected[j * n + k] = packed[j * n + k];
                        accExpected[k] &= packed[j * n + k];
                        for (int64_t b = 0; b < 8; ++b) {
                            const uint64_t both = (accExpected[k] & below[j * n + k]) >> (8 * b) & 0xFF;
                            inARow = both == 0xFF ? inARow + 1 : 0;
                            expected = inARow >= bytes ? j : expected;
                        }
                    }
                }
                std::vector<uint64_t> words(static_cast<size_t>(rows * n + 1), kUntouched);
                EXPECT_EQ(kernels.packRowsUntilFull(first, stride, count, rows, words.data(), acc.data(),
                                                    below.data(), n, bytes),
                          expected)
                    << count << ", " << bytes << " bytes";
                EXPECT_EQ(words, wordsExpected) << count;
                EXPECT_EQ(acc, accExpected) << count;
                ++stopped[expected];
            }
        }
        for (int64_t j = 0; j <= kMaxRows; ++j) {
            EXPECT_GT(stopped[j], 20) << "stopped after row " << j;  // every way out is taken
        }
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

// The empty-bit kernels written once over a vector width (byte_lanes.h),
// for runs of at least one vector: each chunk's zero test gives its bits
// at once; the last chunk of a run that does not end on a chunk boundary
// ends at count, and the bits it re-reads are shifted out. The word kernels
// take as many 64-bit words per vector as it holds, and the rest one by
// one. Runs that a kernel reads as vectors are stored as vectors, put
// together in registers, and read at the offsets they were stored at: a
// vector load of words stored one by one, or straddling two stores, waits
// for the stores to leave the core.
#ifndef MASKFIT_SIMD_EMPTY_BITS_WIDE_INL
#define MASKFIT_SIMD_EMPTY_BITS_WIDE_INL

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "simd/byte_kernels_wide.inl"
#include "simd/empty_bits.h"

namespace maskfit {
namespace {

// The 64 pixels from p.
template <typename Lanes>
uint64_t EmptyWord(const uint8_t* p) {
    uint64_t bits = 0;
    for (int64_t c = 0; c < 64; c += Lanes::kWidth) {
        bits |= static_cast<uint64_t>(ZeroMask<Lanes>(p + c)) << c;
    }
    return bits;
}

// The first `count` pixels from p, 0 < count < 64, the rest clear; the
// chunk ending at count may start before p, inside the run.
template <typename Lanes>
uint64_t EmptyPartWord(const uint8_t* p, int64_t count) {
    constexpr int64_t kWidth = Lanes::kWidth;
    uint64_t bits = 0;
    int64_t t = 0;
    for (; t + kWidth <= count; t += kWidth) {
        bits |= static_cast<uint64_t>(ZeroMask<Lanes>(p + t)) << t;
    }
    if (t < count) {
        bits |= static_cast<uint64_t>(ZeroMask<Lanes>(p + count - kWidth) >> (kWidth - (count - t))) << t;
    }
    return bits;
}

// 64-bit words in a vector of this many bytes.
template <int64_t Width>
struct WordVector;
template <>
struct WordVector<16> {
    typedef uint64_t Type __attribute__((vector_size(16)));
};
template <>
struct WordVector<32> {
    typedef uint64_t Type __attribute__((vector_size(32)));
};

template <typename Lanes>
struct WordLanes {
    using Vector = typename WordVector<Lanes::kWidth>::Type;
    static constexpr int64_t kWords = Lanes::kWidth / 8;

    static Vector Load(const uint64_t* p) {
        Vector v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    static void Store(uint64_t* p, Vector v) { std::memcpy(p, &v, sizeof v); }

    // The words word(k), word(k + 1), ... as one vector.
    template <typename Word>
    static Vector Gather(Word word, int64_t k) {
        if constexpr (kWords == 2) {
            return Vector{word(k), word(k + 1)};
        } else {
            return Vector{word(k), word(k + 1), word(k + 2), word(k + 3)};
        }
    }

    // The words after those of cur: the rest of cur, then the first of next.
    static Vector Following(Vector cur, Vector next) {
        if constexpr (kWords == 2) {
            return __builtin_shufflevector(cur, next, 1, 2);
        } else {
            return __builtin_shufflevector(cur, next, 1, 2, 3, 4);
        }
    }
};

template <typename Lanes>
uint64_t OrOfLanes(typename WordLanes<Lanes>::Vector v) {
    uint64_t any = 0;
    for (int64_t i = 0; i < WordLanes<Lanes>::kWords; ++i) {
        any |= v[i];
    }
    return any;
}

// What a pack kernel does with each vector of words besides storing it.
enum class PackMode { kStore, kAndInto, kStep };

// Whether `run` set bits in a row, 1 <= run <= 64, start in low, with high
// the word after it: eroded by doubling spans.
inline bool RunStartsIn(uint64_t low, uint64_t high, int64_t run) {
    for (int64_t span = 1; span < run && low != 0;) {
        const int64_t step = span < run - span ? span : run - span;
        low &= low >> step | high << (64 - step);
        high &= high >> step;
        span += step;
    }
    return low != 0;
}

// Writes n words, n a whole number of vectors, for a run of count >=
// kWidth pixels; kAndInto ANDs each into acc, and kStep also returns whether
// acc & below then holds `bytes` all-set bytes in a row (in memory order),
// from their bits, a bit a byte, put together a word at a time: whole
// vectors of whole words, then vectors that hold the run's last word or
// lie past it.
template <typename Lanes, PackMode kMode>
bool PackEmptyBitsOver(const uint8_t* p, int64_t count, uint64_t* words, uint64_t* acc, const uint64_t* below,
                       int64_t n, int64_t bytes) {
    using Words = WordLanes<Lanes>;
    constexpr int64_t kWords = Words::kWords;
    uint64_t fullWord = 0;     // of the bytes of the word being put together
    uint64_t fullBefore = 0;   // of the 64 bytes before them
    bool found = false;
    const auto store = [&](int64_t k, typename Words::Vector bits) {
        Words::Store(words + k, bits);
        if constexpr (kMode != PackMode::kStore) {
            const typename Words::Vector anded = Words::Load(acc + k) & bits;
            Words::Store(acc + k, anded);
            if constexpr (kMode == PackMode::kStep) {
                const auto both = reinterpret_cast<typename Lanes::Vector>(anded & Words::Load(below + k));
                fullWord |= static_cast<uint64_t>(Lanes::Mask(reinterpret_cast<typename Lanes::Vector>(both == Lanes::Ones())))
                            << (8 * k % 64);
                if ((k + kWords) % 8 == 0) {
                    found |= k >= 8 && RunStartsIn(fullBefore, fullWord, bytes);
                    fullBefore = fullWord;
                    fullWord = 0;
                }
            }
        }
    };
    const auto whole = [p](int64_t k) { return EmptyWord<Lanes>(p + 64 * k); };
    // The word that holds the run's end: the 64 pixels up to the end,
    // shifted down, or for a run shorter than a word, its pixels.
    const int64_t wholeWords = count / 64;
    const int64_t rest = count % 64;
    const uint64_t partial = rest == 0   ? 0
                             : count > 64 ? EmptyWord<Lanes>(p + count - 64) >> (64 - rest)
                                          : EmptyPartWord<Lanes>(p, count);
    const auto last = [whole, wholeWords, partial](int64_t k) {
        return k < wholeWords ? whole(k) : k == wholeWords ? partial : 0;
    };
    int64_t k = 0;
    for (; 64 * (k + kWords) <= count; k += kWords) {
        store(k, Words::Gather(whole, k));
    }
    for (; k < n; k += kWords) {
        store(k, Words::Gather(last, k));
    }
    if constexpr (kMode == PackMode::kStep) {
        // The last word of bits, filled or not, with nothing after it.
        found |= n % 8 != 0 ? (n > 8 && RunStartsIn(fullBefore, fullWord, bytes)) || RunStartsIn(fullWord, 0, bytes)
                            : RunStartsIn(fullBefore, 0, bytes);
    }
    return found;
}

// Packs rows of count pixels, p, p + stride and on, row j into words + j * n
// and ANDed into acc, up to the first after which acc & (below + j * n)
// holds `bytes` all-set bytes in a row; returns its j, or rows when none does.
template <typename Lanes>
int64_t PackRowsUntilFullOver(const uint8_t* p, int64_t stride, int64_t count, int64_t rows, uint64_t* words,
                              uint64_t* acc, const uint64_t* below, int64_t n, int64_t bytes) {
    for (int64_t j = 0; j < rows; ++j) {
        if (PackEmptyBitsOver<Lanes, PackMode::kStep>(p + j * stride, count, words + j * n, acc, below + j * n, n,
                                                      bytes)) {
            return j;
        }
    }
    return rows;
}

template <typename Lanes>
void AndUpwardsOver(uint64_t* runs, int64_t rows, int64_t words) {
    using Words = WordLanes<Lanes>;
    for (int64_t i = rows - 2; i >= 0; --i) {
        uint64_t* acc = runs + i * words;
        const uint64_t* after = acc + words;
        for (int64_t k = 0; k < words; k += Words::kWords) {
            Words::Store(acc + k, Words::Load(acc + k) & Words::Load(after + k));
        }
    }
}

// Bit t of low[i] set where bits [t, t + w) of high[i]:low[i] are all set,
// for w <= 64 and each of the n pairs, by doubling spans: after each step
// a bit of low holds the AND of the span from it, a bit of high the AND of
// the span from it within high, which is the whole span for every bit of
// high that a later step reads. Each 64-bit lane of a vector on its own;
// the pairs share the loop and its shift counts.
template <int64_t N, typename Word>
void ErodePairs(Word (&low)[N], Word (&high)[N], int64_t w) {
    int64_t span = 1;
    for (; span * 2 <= w; span *= 2) {
        for (int64_t i = 0; i < N; ++i) {
            low[i] &= low[i] >> span | high[i] << (64 - span);
            high[i] &= high[i] >> span;
        }
    }
    if (span < w) {
        for (int64_t i = 0; i < N; ++i) {
            low[i] &= low[i] >> (w - span) | high[i] << (64 - (w - span));
        }
    }
}

// A run of w set bits holds a whole aligned lane of the widest power of
// two b with 2b - 1 <= w, up to 64, so words without one erode to nothing.
template <typename Lanes>
bool AnyFullLane(const uint64_t* a, const uint64_t* b, int64_t words, int64_t w) {
    using Words = WordLanes<Lanes>;
    using Vector = typename Words::Vector;
    const int64_t width = std::min<int64_t>(64, int64_t{1} << (63 - __builtin_clzll(static_cast<uint64_t>(w + 1) / 2)));
    const uint64_t low = width == 64 ? 1 : ~uint64_t{0} / ((uint64_t{1} << width) - 1);
    const uint64_t high = low << (width - 1);
    // A lane of x all set is a lane of ~x all clear, which alone borrows
    // in the subtraction; the lowest such lane is always marked.
    const auto full = [low, high](auto x) { return (~x - low) & x & high; };
    Vector fullVector{};
    for (int64_t k = 0; k < words; k += Words::kWords) {
        fullVector |= full(Words::Load(a + k) & Words::Load(b + k));
    }
    return OrOfLanes<Lanes>(fullVector) != 0;
}

// Leaves out as it was and returns 0 where no lane is full.
template <typename Lanes>
uint64_t ErodeAndOver(const uint64_t* a, const uint64_t* b, uint64_t* out, int64_t words, int64_t w) {
    using Words = WordLanes<Lanes>;
    using Vector = typename Words::Vector;
    constexpr int64_t kWords = Words::kWords;
    if (!AnyFullLane<Lanes>(a, b, words, w)) {
        return 0;
    }
    // The vector at `at`, clear past the run.
    const auto both = [a, b, words](int64_t at) {
        return at < words ? Words::Load(a + at) & Words::Load(b + at) : Vector{};
    };
    Vector any{};
    int64_t k = 0;
    // Two vectors share each step's shift counts; the vector after them is
    // loaded before either is stored.
    for (; k + 2 * kWords <= words; k += 2 * kWords) {
        Vector low[2] = {both(k), both(k + kWords)};
        Vector high[2] = {Words::Following(low[0], low[1]), Words::Following(low[1], both(k + 2 * kWords))};
        ErodePairs(low, high, w);
        Words::Store(out + k, low[0]);
        Words::Store(out + k + kWords, low[1]);
        any |= low[0] | low[1];
    }
    if (k < words) {
        Vector low[1] = {both(k)};
        Vector high[1] = {Words::Following(low[0], both(k + kWords))};
        ErodePairs(low, high, w);
        Words::Store(out + k, low[0]);
        any |= low[0];
    }
    return OrOfLanes<Lanes>(any);
}

}  // namespace
}  // namespace maskfit

#endif

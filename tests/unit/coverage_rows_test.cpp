// Rows of coverage bits against a bool-per-column model, on rows of one to
// several words with windows and shifts that cross word boundaries, and the
// painting of covered empty pixels with guard bytes around the run.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "masks/drawing/coverage_rows.h"

namespace {

using Model = std::vector<bool>;

struct Row {
    std::vector<uint64_t> words;
    explicit Row(int64_t columns) : words(static_cast<size_t>(maskfit::WordsFor(columns)), 0) {}
};

Model ModelOf(const Row& row, int64_t columns) {
    Model model(static_cast<size_t>(columns));
    for (int64_t c = 0; c < columns; ++c) {
        model[static_cast<size_t>(c)] = ((row.words[static_cast<size_t>(c / 64)] >> (c % 64)) & 1) != 0;
    }
    return model;
}

bool NothingPast(const Row& row, int64_t columns) {
    for (int64_t c = columns; c < static_cast<int64_t>(row.words.size()) * 64; ++c) {
        if (((row.words[static_cast<size_t>(c / 64)] >> (c % 64)) & 1) != 0) {
            return false;
        }
    }
    return true;
}

void Set(Row& row, int64_t c) { row.words[static_cast<size_t>(c / 64)] |= uint64_t{1} << (c % 64); }

// A row with a few random runs set, some of them long, and its model.
Row RandomRow(std::mt19937& random, int64_t columns, Model& model) {
    Row row(columns);
    model.assign(static_cast<size_t>(columns), false);
    const int runs = static_cast<int>(random() % 4);
    for (int i = 0; i < runs; ++i) {
        int64_t first = static_cast<int64_t>(random() % static_cast<uint32_t>(columns));
        int64_t last = static_cast<int64_t>(random() % static_cast<uint32_t>(columns));
        if (first > last) {
            std::swap(first, last);
        }
        for (int64_t c = first; c <= last; ++c) {
            Set(row, c);
            model[static_cast<size_t>(c)] = true;
        }
    }
    return row;
}

TEST(CoverageRows, WidenTakesTheUnionOfTheWindowAroundEachColumn) {
    std::mt19937 random(77);
    for (int trial = 0; trial < 3000 && !HasFailure(); ++trial) {
        const int64_t columns = 1 + static_cast<int64_t>(random() % 300);
        const int64_t before = static_cast<int64_t>(random() % 90);
        const int64_t after = static_cast<int64_t>(random() % 90);
        Model model;
        Row row = RandomRow(random, columns, model);
        maskfit::Widen(row.words.data(), columns, before, after);
        Model expected(static_cast<size_t>(columns), false);
        for (int64_t c = 0; c < columns; ++c) {
            for (int64_t k = c - before; k <= c + after; ++k) {
                if (k >= 0 && k < columns && model[static_cast<size_t>(k)]) {
                    expected[static_cast<size_t>(c)] = true;
                }
            }
        }
        EXPECT_EQ(ModelOf(row, columns), expected) << columns << " " << before << " " << after;
        EXPECT_TRUE(NothingPast(row, columns));
    }
}

TEST(CoverageRows, OrRowAndClearCoveredWorkColumnByColumn) {
    std::mt19937 random(78);
    for (int trial = 0; trial < 500 && !HasFailure(); ++trial) {
        const int64_t columns = 1 + static_cast<int64_t>(random() % 300);
        Model modelA, modelB;
        Row a = RandomRow(random, columns, modelA);
        const Row b = RandomRow(random, columns, modelB);
        Row united = a;
        const auto words = static_cast<int64_t>(a.words.size());
        maskfit::OrRow(united.words.data(), b.words.data(), words);
        maskfit::ClearCovered(a.words.data(), b.words.data(), words);
        Model expectUnited(static_cast<size_t>(columns)), expectCleared(static_cast<size_t>(columns));
        for (size_t c = 0; c < static_cast<size_t>(columns); ++c) {
            expectUnited[c] = modelA[c] || modelB[c];
            expectCleared[c] = modelA[c] && !modelB[c];
        }
        EXPECT_EQ(ModelOf(united, columns), expectUnited);
        EXPECT_EQ(ModelOf(a, columns), expectCleared);
    }
}

// Paints into a run of pixels between guard bytes that must stay untouched.
TEST(CoverageRows, PaintsExactlyTheCoveredEmptyPixelsOfTheRun) {
    std::mt19937 random(79);
    constexpr size_t kGuard = 16;
    constexpr uint8_t kGuardByte = 0;  // empty, so painting into a guard would show
    for (int trial = 0; trial < 3000 && !HasFailure(); ++trial) {
        const int64_t columns = 1 + static_cast<int64_t>(random() % 200);
        Model model;
        Row row = RandomRow(random, columns, model);
        const int64_t first = static_cast<int64_t>(random() % static_cast<uint32_t>(columns));
        const int64_t last = first + static_cast<int64_t>(random() % static_cast<uint32_t>(columns - first));
        std::vector<uint8_t> pixels(kGuard + static_cast<size_t>(columns) + kGuard, kGuardByte);
        for (int64_t c = first; c <= last; ++c) {
            pixels[kGuard + static_cast<size_t>(c)] = random() % 3 == 0 ? static_cast<uint8_t>(1 + random() % 255) : 0;
        }
        std::vector<uint8_t> expected = pixels;
        int64_t firstPainted = INT64_MAX;
        int64_t lastPainted = -1;
        for (int64_t c = first; c <= last; ++c) {
            uint8_t& pixel = expected[kGuard + static_cast<size_t>(c)];
            if (model[static_cast<size_t>(c)] && pixel == 0) {
                pixel = 90;
                firstPainted = std::min(firstPainted, c);
                lastPainted = std::max(lastPainted, c);
            }
        }
        const maskfit::EmptySpan span = maskfit::PaintCoveredEmpty(
            row.words.data(), first, last, pixels.data() + kGuard + static_cast<size_t>(first), 90);
        EXPECT_EQ(pixels, expected) << columns << " " << first << " " << last;
        EXPECT_EQ(span.first, firstPainted);
        EXPECT_EQ(span.last, lastPainted);
    }
}

TEST(CoverageRows, CoveredColumnsAreTheFirstAndLastSetOfTheRow) {
    std::mt19937 random(5150);
    for (int trial = 0; trial < 3000; ++trial) {
        const int64_t columns = 1 + static_cast<int64_t>(random() % 300u);
        Model model;
        const Row row = RandomRow(random, columns, model);
        int64_t first = -1, last = -1;
        for (int64_t c = 0; c < columns; ++c) {
            if (model[static_cast<size_t>(c)]) {
                first = first < 0 ? c : first;
                last = c;
            }
        }
        const maskfit::Span64 covered =
            maskfit::CoveredColumns(row.words.data(), static_cast<int64_t>(row.words.size()));
        if (first < 0) {
            EXPECT_TRUE(maskfit::IsEmpty(covered)) << "trial " << trial;
        } else {
            EXPECT_EQ(covered.lo, first) << "trial " << trial;
            EXPECT_EQ(covered.hi, last) << "trial " << trial;
        }
    }
}

}  // namespace

// W4: one BlitShape of a 256 x 256 content rectangle of which about half the
// pixels are set, in blobs, onto a 512 x 512 board.
#include "bench_support.h"

namespace {

void BlitHalfCoveredShape(benchmark::State& state, const hostsim::EntryPoints& entries) {
    mfbench::BenchShape shape(256, 256);
    mfbench::CoverWithDisks(shape.pixels.bytes.data(), 256, 256, 0.5, 4, 24, 404);
    mfbench::BenchBoard board(512, 512);
    mfbench::CoverWithDisks(board.pixels.bytes.data(), 512, 512, 0.3, 3, 12, 405, FILL_BORDER);
    for (auto _ : state) {
        // Stamping the same shape again writes the same bytes: every run does the same work.
        entries.blitShape(nullptr, &board.mask, &shape.mask, 100, 130);
    }
    benchmark::DoNotOptimize(board.pixels.bytes.data());
}

MFBENCH_PAIR("W4_BlitShape", BlitHalfCoveredShape);

}  // namespace

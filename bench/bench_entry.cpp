// W6: one SetPixel call, which costs little more than the entry frame that
// links and unlinks itself on the host's chain.
#include "bench_support.h"

namespace {

void SetOnePixel(benchmark::State& state, const hostsim::EntryPoints& entries) {
    mfbench::BenchShape shape(64, 64);
    int32_t value = 0;
    for (auto _ : state) {
        entries.setPixel(&shape.mask, nullptr, nullptr, nullptr, value, 0, 0, 17, 23);
        value = (value + 1) & 0xFF;
    }
    benchmark::DoNotOptimize(shape.pixels.bytes.data());
}

MFBENCH_PAIR("W6_SetPixel", SetOnePixel);

}  // namespace

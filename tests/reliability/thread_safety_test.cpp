// Several threads call every entry point at once, each on masks of its own
// and all on one board that nobody writes, each with its own frame chain
// (the host keeps one per thread). Every thread must get exactly what the
// same calls give on one thread; under ThreadSanitizer, without a race.
#include <atomic>
#include <thread>

#include "entry_workload.h"

namespace {

using mfreliability::CallResult;

constexpr int kThreads = 4;
constexpr int kPasses = 12;

std::vector<CallResult> ThreadWork(const hostsim::EntryPoints& lib, const mfreliability::SharedBoard& shared, int thread) {
    std::vector<CallResult> results;
    for (int pass = 0; pass < kPasses; ++pass) {
        const auto variant = static_cast<uint32_t>(thread * kPasses + pass);
        for (auto&& part : {mfreliability::RunEveryEntryPoint(lib, variant),
                            mfreliability::SearchSharedBoard(lib, shared, variant)}) {
            results.insert(results.end(), part.begin(), part.end());
        }
    }
    return results;
}

TEST(ThreadSafety, ConcurrentCallsGiveTheSingleThreadResults) {
    const hostsim::EntryPoints& lib = mftest::Entries();
    const mfreliability::SharedBoard shared;
    std::vector<std::vector<CallResult>> expected;
    for (int t = 0; t < kThreads; ++t) {
        expected.push_back(ThreadWork(lib, shared, t));
    }

    std::vector<std::vector<CallResult>> got(kThreads);
    std::atomic<int> waiting{kThreads};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            // All threads start together, so that their calls overlap.
            waiting.fetch_sub(1);
            while (waiting.load() > 0) {
                std::this_thread::yield();
            }
            got[t] = ThreadWork(lib, shared, t);
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (int t = 0; t < kThreads; ++t) {
        EXPECT_EQ(got[t], expected[t]) << "thread " << t;
    }
}

}  // namespace

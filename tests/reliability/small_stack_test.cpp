// Every entry point, through every way a call can end, on a thread whose
// whole stack is 64 KiB: the results equal those of the main thread.
#include <iostream>

#include "entry_workload.h"
#include "small_stack_thread.h"

namespace {

using mfreliability::CallResult;
using mfreliability::RunEveryEntryPoint;

constexpr size_t kSmallStack = 64 * 1024;

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kInstrumented = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr bool kInstrumented = true;
#else
constexpr bool kInstrumented = false;
#endif
#else
constexpr bool kInstrumented = false;
#endif

TEST(SmallStack, EveryEntryPointRunsOnA64KiBStack) {
    const hostsim::EntryPoints& lib = mftest::Entries();
    for (uint32_t variant : {0u, 1u}) {  // leaving by long jump, then by exception
        const std::vector<CallResult> expected = RunEveryEntryPoint(lib, variant);
        std::vector<CallResult> onSmallStack;
        const size_t touched =
            mfreliability::RunOnSmallStack(kSmallStack, [&] { onSmallStack = RunEveryEntryPoint(lib, variant); });
        EXPECT_EQ(onSmallStack, expected);
        if (touched != 0) {
            // The whole thread: its start, the test pass, the host and the library.
            std::cout << "variant " << variant << ": " << touched << " bytes of the thread's stack touched\n";
            if (!kInstrumented) {
                EXPECT_LE(touched, 32u * 1024);
            }
        }
    }
}

}  // namespace

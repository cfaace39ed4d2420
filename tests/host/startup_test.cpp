#include "test_support.h"

namespace {

using mftest::HostTest;

const char kRead[] = "Unity.Collections.LowLevel.Unsafe.AtomicSafetyHandle::CheckReadAndThrowNoEarlyOut_Injected";
const char kWrite[] = "Unity.Collections.LowLevel.Unsafe.AtomicSafetyHandle::CheckWriteAndThrowNoEarlyOut_Injected";

TEST(Startup, ResolvesTheHostFunctionsPerEntryPointInOrder) {
    const std::vector<std::string> expected = {
        // RasterizeTriangles, RasterizeTriangle, PaintBorder, FindPlacement
        "burst_abort", kWrite, kRead, "burst_abort", kWrite, kRead, "burst_abort", kWrite, kRead,
        "burst_abort", kWrite, kRead,
        // SetPixel asks for no read check
        "burst_abort", kWrite,
        // BuildShapeMask, CopyPixel, BlitShape
        "burst_abort", kWrite, kRead, "burst_abort", kWrite, kRead, "burst_abort", kWrite, kRead,
        // PixelsOverlap and CanPlace ask for no write check
        "burst_abort", kRead, "burst_abort", kRead};
    EXPECT_EQ(mftest::StartupRequests(), expected);
    EXPECT_EQ(expected.size(), 27u);
}

}  // namespace

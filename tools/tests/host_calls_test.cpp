#include <gtest/gtest.h>

#include "host_calls.h"
#include "mask_storage.h"
#include "mesh.h"
#include "shape_builder.h"
#include "started_library.h"

namespace {

using demo::LibraryAbort;

constexpr char kIndexFailure[] = "System.IndexOutOfRangeException";

demo::OwnedShape SmallSquare() {
    demo::Mesh mesh;
    demo::AddRectangle(mesh, 0, 0, 3, 3);
    return demo::BuildShape(demotest::StartedLibrary(), mesh, demo::BuildSettings{});
}

TEST(HostCalls, ReportsAnAbortWithItsExceptionTypeAndMessageAndKeepsWorking) {
    const hostsim::EntryPoints& entries = demotest::StartedLibrary();
    demo::OwnedShape shape = SmallSquare();
    demo::OwnedBoard board = demo::MakeBoard(4, 4);
    try {
        demo::RunBlitShape(entries, board.mask, shape.mask, 2, 2);  // runs off the board's last row
        FAIL() << "no abort";
    } catch (const LibraryAbort& e) {
        EXPECT_EQ(e.operation, "BlitShape");
        EXPECT_EQ(e.exceptionType, kIndexFailure);
        EXPECT_FALSE(e.detail.empty());
        EXPECT_EQ(std::string(e.what()), "BlitShape aborted with " + std::string(kIndexFailure) + ": " + e.detail);
    }
    demo::OwnedBoard roomy = demo::MakeBoard(8, 8);
    demo::RunBlitShape(entries, roomy.mask, shape.mask, 0, 0);
    EXPECT_EQ(roomy.pixels.bytes[1 * 8 + 1], FILL_INTERIOR);
}

TEST(HostCalls, ReportsAnAbortOfTheBuildJob) {
    demo::OwnedShape shape = demo::MakeShape(4);
    demo::VersionedMemory memory;
    ShapeBuildJob job{};
    job.shapeIndex = 1;  // the array holds one mask
    job.shapes = memory.ViewOf(&shape.mask, 1);
    try {
        demo::RunBuildShapeMask(demotest::StartedLibrary(), job);
        FAIL() << "no abort";
    } catch (const LibraryAbort& e) {
        EXPECT_EQ(e.operation, "BuildShapeMask");
        EXPECT_EQ(e.exceptionType, kIndexFailure);
    }
}

TEST(HostCalls, FindPlacementGivesTheFirstFitOrNothing) {
    const hostsim::EntryPoints& entries = demotest::StartedLibrary();
    const demo::OwnedShape shape = SmallSquare();
    demo::OwnedBoard board = demo::MakeBoard(12, 12);
    board.pixels.bytes[0] = 255;  // blocks the corner
    PlacementSearchJob job{};
    job.xRange = SearchRange{0, 11, 1, 0};
    job.yRange = SearchRange{0, 11, 1, 0};
    job.board = board.mask;
    job.shape = shape.mask;
    const PlacementResult hit = demo::RunFindPlacement(entries, job);
    EXPECT_EQ(hit.found, 1);
    EXPECT_EQ(hit.x, 1);
    EXPECT_EQ(hit.y, 0);

    job.xRange = SearchRange{0, 0, 1, 0};
    job.yRange = SearchRange{0, 0, 1, 0};
    EXPECT_EQ(demo::RunFindPlacement(entries, job).found, 0);
}

}  // namespace

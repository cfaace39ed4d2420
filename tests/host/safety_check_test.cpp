// When the host's safety checks are called, with what, and what a refusal does.
#include "test_support.h"

namespace {

using hostsim::Ending;
using mftest::BothWaysTest;
using mftest::TestBoard;
using mftest::TestShape;

class SafetyCheckTest : public BothWaysTest {
protected:
    // CopyPixel reads the shape and writes the board: one of each access.
    hostsim::Outcome CopyOne(TestBoard& board, TestShape& shape) {
        return hostsim::Run([&] { lib.copyPixel(nullptr, &board.mask, &shape.mask, 1, 1, 0, 0); });
    }
};
MASKFIT_BOTH_WAYS(SafetyCheckTest);

TEST_P(SafetyCheckTest, VersionTestMasksDifferentBitsForReadAndWrite) {
    struct Case {
        uint32_t word;
        uint32_t version;
        bool readCalls;
        bool writeCalls;
    };
    // Reads ignore bits 1 and 2, writes bits 0 and 2.
    const Case cases[] = {
        {0, 0, false, false}, {6, 0, false, true},  {5, 0, true, false},  {4, 0, false, false},
        {1, 0, true, false},  {2, 0, false, true},  {7, 1, false, true},  {7, 2, true, false},
        {8, 0, true, true},   {0xFFFFFFFF, 0xFFFFFFF8, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "word " << c.word << " version " << c.version);
        hostsim::ResetState();
        Host().leaveBy = GetParam();
        TestBoard board(2, 2);
        TestShape shape(2, 2);
        shape.Set(0, 0, 234);
        *shape.pixels.versionWord = c.word;
        *board.pixels.versionWord = c.word;
        shape.mask.pixels.safety.version = c.version;
        board.mask.pixels.safety.version = c.version;
        ASSERT_EQ(CopyOne(board, shape).ending, Ending::kReturned);
        std::vector<bool> kinds;
        for (const auto& call : Host().safetyCalls) {
            kinds.push_back(call.write);
        }
        std::vector<bool> expected;
        if (c.readCalls) expected.push_back(false);
        if (c.writeCalls) expected.push_back(true);
        EXPECT_EQ(kinds, expected);
        EXPECT_EQ(board.At(1, 1), 234);
    }
}

TEST_P(SafetyCheckTest, HostGetsACopyOfTheHandle) {
    TestBoard board(2, 2);
    TestShape shape(2, 2);
    shape.Set(0, 0, 234);
    *shape.pixels.versionWord = 8;
    *board.pixels.versionWord = 8;
    shape.mask.pixels.safety.safetyId = 41;
    board.mask.pixels.safety.safetyId = 42;
    ASSERT_EQ(CopyOne(board, shape).ending, Ending::kReturned);
    ASSERT_EQ(Host().safetyCalls.size(), 2u);
    const auto& read = Host().safetyCalls[0];
    const auto& write = Host().safetyCalls[1];
    EXPECT_EQ(read.handle.versionWord, shape.pixels.versionWord.get());
    EXPECT_EQ(read.handle.safetyId, 41);
    EXPECT_NE(read.handleAddress, &shape.mask.pixels.safety);
    EXPECT_EQ(write.handle.versionWord, board.pixels.versionWord.get());
    EXPECT_EQ(write.handle.safetyId, 42);
    EXPECT_NE(write.handleAddress, &board.mask.pixels.safety);
}

TEST_P(SafetyCheckTest, RefusedChecksEndTheCallBeforeTheAccess) {
    TestBoard board(2, 2);
    TestShape shape(2, 2);
    shape.Set(0, 0, 234);
    *board.pixels.versionWord = 8;
    Host().refuseWrite = true;
    const auto refused = CopyOne(board, shape);
    EXPECT_EQ(refused.ending, Ending::kRefused);
    EXPECT_TRUE(refused.refusedWrite);
    EXPECT_EQ(board.At(1, 1), 0);
    EXPECT_EQ(board.mask.dirty.xMax, INT32_MIN);

    *shape.pixels.versionWord = 8;
    Host().refuseRead = true;
    const auto refusedRead = CopyOne(board, shape);
    EXPECT_EQ(refusedRead.ending, Ending::kRefused);
    EXPECT_FALSE(refusedRead.refusedWrite);
}

}  // namespace

// When the host's safety checks are called, with what, and what a refusal does.
#include <random>

#include "differential_support.h"
#include "entry_calls.h"
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


// The fast paths decide once, from a view's version and word, that no
// access will ask the host. Over every combination of the low three bits of
// both, with random high bits that agree or not, and with each refusal,
// every entry point of the shipped library asks the host exactly what its
// literal twin asks, ends the same way and leaves the same bytes.
TEST(VersionStates, EveryLowBitCombinationAsksTheHostAsTheCheckedPathDoes) {
    std::mt19937 random(8101);
    struct Refusal {
        bool read;
        bool write;
    };
    for (uint32_t low = 0; low < 64; ++low) {
        for (const bool highAgrees : {true, false}) {
            const uint32_t high = random() & ~7u;
            const uint32_t version = high | (low & 7u);
            const uint32_t word = (highAgrees ? high : high ^ (8u << (random() % 29))) | (low >> 3);
            for (const Refusal refusal : {Refusal{false, false}, Refusal{true, false}, Refusal{false, true}}) {
                mftest::EveryEntryScene scene(version, word);
                const std::vector<uint8_t> start = scene.Snapshot();
                const auto literalCalls = mftest::EveryEntryCall(mftest::LiteralEntries(), scene);
                const auto shippedCalls = mftest::EveryEntryCall(mftest::Entries(), scene);
                for (size_t i = 0; i < literalCalls.size(); ++i) {
                    SCOPED_TRACE(testing::Message() << shippedCalls[i].name << " version " << std::hex << version
                                                    << " word " << word << " refuse read " << refusal.read
                                                    << " write " << refusal.write);
                    // Each call from the same bytes at the same addresses.
                    const auto run = [&](const mftest::EntryCall& call, std::vector<uint8_t>& left) {
                        scene.Restore(start);
                        const mftest::HostSide side =
                            mftest::RunFresh(hostsim::LeaveBy::kLongJump, refusal.read, refusal.write, [&] {
                                mftest::RegisterSet after{};
                                mftest::CallWithRegisters(call.fn, call.args, mftest::RegisterPattern(), after);
                            });
                        left = scene.Snapshot();
                        return side;
                    };
                    std::vector<uint8_t> literalBytes;
                    std::vector<uint8_t> shippedBytes;
                    const mftest::HostSide literal = run(literalCalls[i], literalBytes);
                    const mftest::HostSide shipped = run(shippedCalls[i], shippedBytes);
                    mftest::ExpectSameEnding(literal.outcome, shipped.outcome);
                    mftest::ExpectSameHostChecks(literal.calls, shipped.calls);
                    EXPECT_TRUE(literalBytes == shippedBytes) << "pixels or records differ";
                }
            }
        }
    }
}

}  // namespace

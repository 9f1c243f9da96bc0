#include "platform/mapped_companion_channel.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace tintal {
namespace {

// The block in memory, with a record of the calls the shared code makes.
class MemoryChannel : public MappedCompanionChannel {
public:
    MemoryChannel() : MappedCompanionChannel({}) {}

    CompanionStatus open() override {
        open_ = true;
        return {};
    }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    MutexWait lockMutex(int) override { return MutexWait::Acquired; }
    void unlockMutex() override {}
    Wake waitForPulse(int) override { return nudged_.exchange(false) ? Wake::Nudged : Wake::TimedOut; }
    Wake releaseAndWait(int timeoutMs) override { return waitForPulse(timeoutMs); }
    void interrupt() override {}

    std::vector<std::uint8_t> block = std::vector<std::uint8_t>(kCompanionBlockSize, 0);
    bool failViews = false;
    std::vector<std::string> calls;

private:
    void* mapView(std::size_t length, bool writable) override {
        calls.push_back((writable ? "map rw " : "map ro ") + std::to_string(length));
        return failViews ? nullptr : block.data();
    }
    void unmapView(void* view, std::size_t length) override {
        EXPECT_EQ(view, block.data());
        calls.push_back("unmap " + std::to_string(length));
    }
    void pulse() override { calls.push_back("pulse"); }
    // A waiter woken before the flag is up would sleep again and miss the nudge.
    void wakeWaiters() override { calls.push_back(nudged_ ? "wake, flag up" : "wake, flag down"); }

    bool open_ = false;
};

void putLength(std::vector<std::uint8_t>& block, std::int32_t length) { std::memcpy(block.data(), &length, 4); }

using Calls = std::vector<std::string>;

TEST(MappedCompanionChannel, AWriteMapsWhatItWritesThenPulsesAndRefusesWhatCannotFit) {
    MemoryChannel channel;
    ASSERT_TRUE(channel.open());
    EXPECT_TRUE(channel.writeAndPulse(std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(channel.calls, (Calls{"map rw 3", "unmap 3", "pulse"}));
    EXPECT_EQ(channel.block[2], 3);

    // A view of length 0 would be the whole block: an empty write maps one byte and writes nothing.
    channel.calls.clear();
    channel.block[0] = 9;
    EXPECT_TRUE(channel.writeAndPulse({}));
    EXPECT_EQ(channel.calls, (Calls{"map rw 1", "unmap 1", "pulse"}));
    EXPECT_EQ(channel.block[0], 9);

    channel.calls.clear();
    const CompanionStatus tooLong = channel.writeAndPulse(std::vector<std::uint8_t>(kCompanionBlockSize + 1, 7));
    EXPECT_FALSE(tooLong);
    EXPECT_EQ(tooLong.error, kCompanionWriteViewError);
    EXPECT_TRUE(channel.calls.empty());  // not even mapped

    channel.failViews = true;
    const CompanionStatus noView = channel.writeAndPulse(std::vector<std::uint8_t>{1});
    EXPECT_EQ(noView.error, kCompanionWriteViewError);
    EXPECT_EQ(noView.mutex, MutexWait::Acquired);
    EXPECT_EQ(channel.calls, (Calls{"map rw 1"}));  // no pulse for a message not written
}

TEST(MappedCompanionChannel, AReadCopiesTheDeclaredTextCutAtTheEndOfTheBlockAndNothingElse) {
    MemoryChannel channel;
    ASSERT_TRUE(channel.open());
    channel.block[4] = 'a';
    channel.block[5] = 'b';
    channel.block[6] = 'c';
    putLength(channel.block, 2);
    CompanionBlock out;
    out.fill(0xEE);
    ASSERT_TRUE(channel.read(out));
    EXPECT_EQ(channel.calls, (Calls{"map ro 65536", "unmap 65536"}));
    EXPECT_EQ(out[4], 'a');
    EXPECT_EQ(out[5], 'b');
    EXPECT_EQ(out[6], 0xEE);  // past the declared text: the caller's bytes stay

    putLength(channel.block, -5);
    out.fill(0xEE);
    ASSERT_TRUE(channel.read(out));
    EXPECT_EQ(out[3], 0xFF);  // the length word itself is copied
    EXPECT_EQ(out[4], 0xEE);

    // A length past the block copies up to its last byte, never beyond.
    channel.block.back() = 'z';
    putLength(channel.block, 0x7FFFFFFF);
    out.fill(0xEE);
    ASSERT_TRUE(channel.read(out));
    EXPECT_EQ(out[5], 'b');
    EXPECT_EQ(out.back(), 'z');
}

TEST(MappedCompanionChannel, AClosedChannelOrAFailedViewGivesTheViewErrors) {
    MemoryChannel channel;
    CompanionBlock out{};
    const CompanionStatus closedWrite = channel.writeAndPulse(std::vector<std::uint8_t>{1});
    EXPECT_EQ(closedWrite.error, kCompanionWriteViewError);
    EXPECT_EQ(closedWrite.mutex, MutexWait::TimedOut);
    EXPECT_EQ(channel.read(out).error, kCompanionReadViewError);
    EXPECT_TRUE(channel.calls.empty());

    ASSERT_TRUE(channel.open());
    channel.failViews = true;
    const CompanionStatus noView = channel.read(out);
    EXPECT_EQ(noView.error, kCompanionReadViewError);
    EXPECT_EQ(noView.mutex, MutexWait::Acquired);
    EXPECT_EQ(channel.calls, (Calls{"map ro 65536"}));  // nothing to unmap
}

TEST(MappedCompanionChannel, ANudgeRaisesTheFlagBeforeWakingTheWaitersAndCountsOnce) {
    MemoryChannel channel;
    ASSERT_TRUE(channel.open());
    channel.nudge();
    EXPECT_EQ(channel.calls, (Calls{"wake, flag up"}));
    EXPECT_EQ(channel.waitForPulse(0), CompanionChannel::Wake::Nudged);
    EXPECT_EQ(channel.waitForPulse(0), CompanionChannel::Wake::TimedOut);
}

}  // namespace
}  // namespace tintal

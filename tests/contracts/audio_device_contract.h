#pragma once
// The AudioDevice contract, written once and run against every device a test program can build.
//
// An instantiation file specialises AudioDeviceTraits<Device> with a struct Rig: a loop() and a
// device() on it, openable as device 0, that plays to where played() reads back the bytes it was
// given (also once the device is destroyed by destroyDevice()); and letTheDeviceWork(), which gives
// a device that works on a thread of its own the time to post what it has done. Then it instantiates
// AudioDeviceContract.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <thread>
#include <vector>

#include "platform/audio_device.h"
#include "platform/event_loop.h"

namespace tintal::contracts {

template <typename Device>
struct AudioDeviceTraits;

// Ends a wait that would otherwise hang when the behaviour under test is broken.
inline constexpr int kAudioWatchdogMs = 10000;

// Bytes that differ from one position to the next over a long stretch, so a lost, repeated or
// swapped piece shows in a comparison.
inline std::vector<std::uint8_t> samplePattern(std::size_t length) {
    std::vector<std::uint8_t> data(length);
    std::uint32_t x = 12345;
    for (auto& byte : data) {
        x = x * 1103515245u + 12345u;
        byte = static_cast<std::uint8_t>(x >> 16);
    }
    return data;
}

inline PcmFormat pcmFormat(int channels, int rate, int bits) {
    const int blockAlign = channels * ((bits + 7) / 8);
    return PcmFormat{channels, rate, rate * blockAlign, blockAlign, bits};
}

struct AudioEvent {
    enum Kind { kOpened, kDone } kind;
    int buffer;
    bool onLoopThread;
    std::int64_t atMs;
};

// Drives the device as the wave player does: open, write both buffers at once, refill and rewrite
// each buffer as it comes back, and when the last one is back unprepare, reset and close.
class AudioPlayer : public AudioListener {
public:
    AudioPlayer(AudioDevice& device, EventLoop& loop) : device_(device), loop_(loop) {}

    bool play(int deviceIndex, const PcmFormat& format, const std::vector<std::uint8_t>& clip, std::size_t chunk) {
        clip_ = &clip;
        chunk_ = chunk;
        position_ = 0;
        outstanding_ = 0;
        for (auto& b : buffers_) b.assign(chunk, 0);
        if (!device_.open(deviceIndex, format, this)) return false;
        startMs = loop_.monotonicMs();
        for (int b = 0; b < 2 && position_ < clip.size(); ++b) {
            if (!feed(b)) return false;
        }
        waitUntil([&] { return outstanding_ == 0; });
        const bool allBack = outstanding_ == 0;
        device_.unprepare(0);
        device_.unprepare(1);
        device_.reset();
        device_.close();
        return allBack;
    }

    // Fills buffer b with the next piece of the clip and writes it.
    bool feed(int b) {
        const std::size_t count = std::min(chunk_, clip_->size() - position_);
        std::copy_n(clip_->begin() + static_cast<std::ptrdiff_t>(position_), count, buffers_[b].begin());
        position_ += count;
        if (!device_.prepare(b, buffers_[b].data(), count) || !device_.write(b)) return false;
        writes.push_back(b);
        ++outstanding_;
        return true;
    }

    // Dispatches until done() holds, at most kAudioWatchdogMs.
    template <typename Predicate>
    void waitUntil(Predicate done) {
        const std::int64_t limit = loop_.monotonicMs() + kAudioWatchdogMs;
        while (!done() && loop_.monotonicMs() < limit) loop_.pump(1);
    }

    void deviceOpened() override { record(AudioEvent::kOpened, -1); }
    void bufferDone(int buffer) override {
        record(AudioEvent::kDone, buffer);
        --outstanding_;
        device_.unprepare(buffer);
        if (refill && clip_ != nullptr && position_ < clip_->size()) feed(buffer);
    }

    std::vector<int> doneOrder() const {
        std::vector<int> order;
        for (const auto& e : events) {
            if (e.kind == AudioEvent::kDone) order.push_back(e.buffer);
        }
        return order;
    }

    std::vector<AudioEvent> events;
    std::vector<int> writes;
    std::int64_t startMs = 0;
    bool refill = true;

private:
    void record(AudioEvent::Kind kind, int buffer) {
        events.push_back({kind, buffer, std::this_thread::get_id() == loopThread_, loop_.monotonicMs()});
    }

    AudioDevice& device_;
    EventLoop& loop_;
    const std::thread::id loopThread_ = std::this_thread::get_id();
    const std::vector<std::uint8_t>* clip_ = nullptr;
    std::size_t chunk_ = 0, position_ = 0;
    std::array<std::vector<std::uint8_t>, 2> buffers_;
    int outstanding_ = 0;
};

template <typename Device>
class AudioDeviceContract : public ::testing::Test {
protected:
    // Plays the clip and checks what every user of the device relies on.
    void playAndCheck(const PcmFormat& format, const std::vector<std::uint8_t>& clip, std::size_t chunk,
                      const std::vector<int>& expectedWrites) {
        typename AudioDeviceTraits<Device>::Rig rig;
        AudioPlayer player(rig.device(), rig.loop());
        ASSERT_TRUE(player.play(0, format, clip, chunk));
        EXPECT_EQ(player.writes, expectedWrites);
        ASSERT_FALSE(player.events.empty());
        EXPECT_EQ(player.events.front().kind, AudioEvent::kOpened);
        EXPECT_EQ(std::count_if(player.events.begin(), player.events.end(),
                                [](const AudioEvent& e) { return e.kind == AudioEvent::kOpened; }),
                  1);
        // One done per write, in the order written, all on the window thread.
        EXPECT_EQ(player.doneOrder(), expectedWrites);
        EXPECT_TRUE(std::all_of(player.events.begin(), player.events.end(),
                                [](const AudioEvent& e) { return e.onLoopThread; }));
        EXPECT_EQ(rig.played(), clip);

        // Nothing arrives after close.
        const std::size_t seen = player.events.size();
        rig.loop().pump(30);
        EXPECT_EQ(player.events.size(), seen);
    }

    typename AudioDeviceTraits<Device>::Rig rig;
};

TYPED_TEST_SUITE_P(AudioDeviceContract);

TYPED_TEST_P(AudioDeviceContract, PlaysEveryByteInOrderAndHandsEachBufferBackOnce) {
    // A buffer and a half, as the wave player feeds a 1.5-buffer clip.
    this->playAndCheck(pcmFormat(1, 16000, 16), samplePattern(88200 + 44100), 88200, {0, 1});
    // Four writes: each buffer is rewritten with new bytes once it is back.
    this->playAndCheck(pcmFormat(2, 22050, 16), samplePattern(3 * 88200 + 1000), 88200, {0, 1, 0, 1});
    // A clip that fits one buffer.
    this->playAndCheck(pcmFormat(1, 8000, 16), samplePattern(640), 88200, {0});
}

TYPED_TEST_P(AudioDeviceContract, OneClipAtATime) {
    AudioDevice& device = this->rig.device();
    AudioPlayer player(device, this->rig.loop());
    const PcmFormat good = pcmFormat(1, 16000, 16);
    ASSERT_TRUE(device.open(0, good, &player));
    EXPECT_FALSE(device.open(0, good, &player));  // and the first stays open
    const auto bytes = samplePattern(1600);
    EXPECT_TRUE(device.prepare(0, bytes.data(), bytes.size()));
    EXPECT_TRUE(device.write(0));
    player.waitUntil([&] { return player.doneOrder().size() == 1; });
    EXPECT_EQ(player.doneOrder(), std::vector<int>{0});
    device.unprepare(0);
    device.close();
    ASSERT_TRUE(device.open(0, good, &player));
    device.close();
}

TYPED_TEST_P(AudioDeviceContract, RejectsBuffersItCannotTake) {
    AudioDevice& device = this->rig.device();
    AudioPlayer player(device, this->rig.loop());
    const auto bytes = samplePattern(1600);

    EXPECT_FALSE(device.prepare(0, bytes.data(), bytes.size()));  // not open
    EXPECT_FALSE(device.write(0));
    ASSERT_TRUE(device.open(0, pcmFormat(1, 16000, 16), &player));
    EXPECT_FALSE(device.prepare(2, bytes.data(), bytes.size()));
    EXPECT_FALSE(device.prepare(-1, bytes.data(), bytes.size()));
    EXPECT_FALSE(device.prepare(0, nullptr, 10));
    EXPECT_FALSE(device.write(0));  // not prepared
    EXPECT_FALSE(device.write(2));
    EXPECT_FALSE(device.write(-1));
    ASSERT_TRUE(device.prepare(1, bytes.data(), bytes.size()));
    device.unprepare(1);
    EXPECT_FALSE(device.write(1));  // no longer prepared
    device.unprepare(7);            // ignored
    device.unprepare(-1);
    device.close();
    EXPECT_FALSE(device.write(1));
    this->rig.loop().pump(20);
    EXPECT_TRUE(player.doneOrder().empty());
}

TYPED_TEST_P(AudioDeviceContract, ResetHandsBackEveryQueuedBufferExactlyOnceAndTheDeviceGoesOn) {
    AudioDevice& device = this->rig.device();
    AudioPlayer player(device, this->rig.loop());
    player.refill = false;
    const auto first = samplePattern(88200), second = samplePattern(88200 / 2);
    ASSERT_TRUE(device.open(0, pcmFormat(1, 16000, 16), &player));
    ASSERT_TRUE(device.prepare(0, first.data(), first.size()));
    ASSERT_TRUE(device.prepare(1, second.data(), second.size()));
    ASSERT_TRUE(device.write(0));
    ASSERT_TRUE(device.write(1));
    // The device may have taken both already: whether it or reset hands them back, each comes back
    // once, and nothing is posted from inside reset().
    device.reset();
    EXPECT_TRUE(player.events.empty());
    this->rig.loop().pump(30);
    auto order = player.doneOrder();
    std::sort(order.begin(), order.end());
    EXPECT_EQ(order, (std::vector<int>{0, 1}));

    // Written again after the reset, a buffer plays and comes back.
    const auto third = samplePattern(3200);
    ASSERT_TRUE(device.prepare(0, third.data(), third.size()));
    ASSERT_TRUE(device.write(0));
    player.waitUntil([&] { return player.doneOrder().size() >= 3; });
    EXPECT_EQ(player.doneOrder().size(), 3u);
    EXPECT_EQ(player.doneOrder().back(), 0);
    device.close();
    const auto played = this->rig.played();
    ASSERT_GE(played.size(), third.size());
    EXPECT_TRUE(std::equal(third.begin(), third.end(), played.end() - static_cast<std::ptrdiff_t>(third.size())));
}

TYPED_TEST_P(AudioDeviceContract, NothingArrivesAfterCloseOrDestruction) {
    AudioPlayer player(this->rig.device(), this->rig.loop());
    const auto bytes = samplePattern(1600);
    AudioDevice* device = &this->rig.device();
    ASSERT_TRUE(device->open(0, pcmFormat(1, 16000, 16), &player));
    ASSERT_TRUE(device->prepare(0, bytes.data(), bytes.size()));
    ASSERT_TRUE(device->write(0));
    this->rig.letTheDeviceWork();
    device->close();
    this->rig.loop().pump(20);
    EXPECT_TRUE(player.events.empty());  // neither the opened nor the done reached the listener

    // Destroyed while open, with its notifications still queued on the loop: they run after the
    // device is gone and must neither reach the listener nor touch the device.
    ASSERT_TRUE(device->open(0, pcmFormat(1, 16000, 16), &player));
    ASSERT_TRUE(device->prepare(0, bytes.data(), bytes.size()));
    ASSERT_TRUE(device->write(0));
    this->rig.letTheDeviceWork();
    this->rig.destroyDevice();
    this->rig.loop().pump(20);
    EXPECT_TRUE(player.events.empty());
    // What was written before the end was played whole.
    const auto played = this->rig.played();
    ASSERT_GE(played.size(), bytes.size());
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), played.end() - static_cast<std::ptrdiff_t>(bytes.size())));
}

REGISTER_TYPED_TEST_SUITE_P(AudioDeviceContract, PlaysEveryByteInOrderAndHandsEachBufferBackOnce, OneClipAtATime,
                            RejectsBuffersItCannotTake, ResetHandsBackEveryQueuedBufferExactlyOnceAndTheDeviceGoesOn,
                            NothingArrivesAfterCloseOrDestruction);

}  // namespace tintal::contracts

#pragma once
// A sound device on virtual time: it keeps every buffer written, hands each back after its play
// time, and can be told to refuse a call or to keep its buffers forever.
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/audio_device.h"
#include "platform/event_loop.h"

namespace tintal {

class FakeAudioDevice : public AudioDevice {
public:
    explicit FakeAudioDevice(EventLoop& loop) : loop_(loop) {}
    ~FakeAudioDevice() override;
    FakeAudioDevice(const FakeAudioDevice&) = delete;
    FakeAudioDevice& operator=(const FakeAudioDevice&) = delete;

    int deviceCount() override { return static_cast<int>(names.size()); }
    std::optional<std::string> deviceName(int device) override;
    bool open(int device, const PcmFormat& format, AudioListener* listener) override;
    bool prepare(int buffer, const std::uint8_t* data, std::size_t length) override;
    bool write(int buffer) override;
    void unprepare(int buffer) override;
    void reset() override;
    void close() override;
    std::optional<std::uint32_t> volume(int device) override;
    bool setVolume(int device, std::uint32_t leftAndRight) override;

    bool isOpen() const { return listener_ != nullptr; }

    // Set-up.
    std::vector<std::string> names{"Haut-parleurs", "Casque USB"};
    int unreadableName = -1;  // this index's capabilities cannot be read
    bool failOpen = false;
    int failPrepareCall = 0, failWriteCall = 0;  // 1-based call number within a clip to refuse; 0 = none
    bool stall = false;                          // never hand buffers back
    std::optional<std::uint32_t> deviceVolume = 0xFFFFFFFFu;

    // What happened.
    std::vector<std::uint8_t> played;  // bytes of every buffer written, in order
    std::vector<std::size_t> writes;   // length of each write
    std::vector<int> openedDevices;
    PcmFormat lastFormat;
    int maxInFlight = 0, opens = 0, closes = 0, resets = 0, volumeReads = 0, volumeWrites = 0;
    std::uint32_t lastVolumeSet = 0;

private:
    EventLoop& loop_;
    AudioListener* listener_ = nullptr;
    std::array<const std::uint8_t*, 2> data_{};
    std::array<std::size_t, 2> length_{};
    std::array<EventLoop::TimerId, 2> pending_{};
    int prepareCalls_ = 0, writeCalls_ = 0;
    int generation_ = 0;
    std::array<bool, 2> prepared_{};
    // Dropped with the device, so that what it posted and what runs later can tell it is gone.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
    int inFlight() const { return (pending_[0] != 0) + (pending_[1] != 0); }
    static bool isBuffer(int buffer) { return buffer == 0 || buffer == 1; }
};

}  // namespace tintal

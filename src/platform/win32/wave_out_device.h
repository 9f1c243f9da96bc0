#pragma once
// The wave-out sound device. Its notifications come on a system thread through a callback, which
// only posts them to the window thread.
#include <array>
#include <atomic>
#include <memory>

#include "platform/audio_device.h"
#include "platform/event_loop.h"

namespace tintal {

class WaveOutDevice : public AudioDevice {
public:
    explicit WaveOutDevice(EventLoop& loop);
    ~WaveOutDevice() override;

    int deviceCount() override;
    std::optional<std::string> deviceName(int device) override;
    bool open(int device, const PcmFormat& format, AudioListener* listener) override;
    bool prepare(int buffer, const std::uint8_t* data, std::size_t length) override;
    bool write(int buffer) override;
    void unprepare(int buffer) override;
    void reset() override;
    void close() override;
    std::optional<std::uint32_t> volume(int device) override;
    bool setVolume(int device, std::uint32_t leftAndRight) override;

    struct State;  // shared with the system's callback thread

private:
    EventLoop& loop_;
    std::shared_ptr<State> state_;
};

}  // namespace tintal

#pragma once
// The wave-out sound device. Its notifications come on a system thread through a callback, which
// only posts them to the window thread.
//
// The last 20 ms of each buffer are copied and queued as a header of the device's own, so the
// caller's buffer is handed back that much before its sound ends: the device stops when its queue
// runs dry and takes about as long to sound again, so the next clip, written 50 ms after the
// hand-back, is heard 50 ms after this one. The copy keeps playing whatever the caller does with
// its buffer meanwhile.
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

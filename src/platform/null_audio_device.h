#pragma once
#include "platform/audio_device.h"

namespace tintal {

// No sound card: nothing to list and every open fails.
class NullAudioDevice : public AudioDevice {
public:
    int deviceCount() override { return 0; }
    std::optional<std::string> deviceName(int) override { return std::nullopt; }
    bool open(int, const PcmFormat&, AudioListener*) override { return false; }
    bool prepare(int, const std::uint8_t*, std::size_t) override { return false; }
    bool write(int) override { return false; }
    void unprepare(int) override {}
    void reset() override {}
    void close() override {}
    std::optional<std::uint32_t> volume(int) override { return std::nullopt; }
    bool setVolume(int, std::uint32_t) override { return false; }
};

}  // namespace tintal

#pragma once
// A sound "device" that records what would be heard into one WAV file (16 kHz, mono, 16-bit): each
// clip, and the silence between clips as the event loop's clock measures it. Buffers come back
// after their play time, so the player runs exactly as on a sound card.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/audio_device.h"
#include "platform/event_loop.h"

namespace tintal {

class WavFileDevice : public AudioDevice {
public:
    static constexpr int kRate = 16000;

    explicit WavFileDevice(EventLoop& loop) : loop_(loop) {}

    int deviceCount() override { return 1; }
    std::optional<std::string> deviceName(int device) override;
    bool open(int device, const PcmFormat& format, AudioListener* listener) override;
    bool prepare(int buffer, const std::uint8_t* data, std::size_t length) override;
    bool write(int buffer) override;
    void unprepare(int) override {}
    void reset() override;
    void close() override;
    std::optional<std::uint32_t> volume(int) override { return std::nullopt; }
    bool setVolume(int, std::uint32_t) override { return false; }

    // Ends the recording now (the silence since the last clip included) and writes the file.
    bool save(const std::string& utf8Path);
    const std::vector<std::int16_t>& samples() const { return samples_; }
    // Sample counts of each clip as recorded, in order.
    const std::vector<std::size_t>& clipSamples() const { return clipSamples_; }

private:
    void appendSilenceUntilNow();
    void appendConverted(const std::uint8_t* data, std::size_t length);

    EventLoop& loop_;
    AudioListener* listener_ = nullptr;
    PcmFormat format_;
    std::array<const std::uint8_t*, 2> data_{};
    std::array<std::size_t, 2> length_{};
    std::array<EventLoop::TimerId, 2> pending_{};
    std::int64_t queuedUntilMs_ = 0;  // when the last written buffer ends playing
    std::int64_t soundEndMs_ = -1;    // end of the last recorded sound; -1 before the first
    std::vector<std::int16_t> samples_;
    std::vector<std::size_t> clipSamples_;
    double resamplePhase_ = 0;
    // A player may keep the device open between clips: a write after everything came back starts
    // the next clip.
    bool drained_ = false;
};

}  // namespace tintal

#pragma once
// The Linux sound output: an ALSA playback PCM fed by a writer thread of its own.
//
// Responsibilities, beyond the AudioDevice contract:
// - Devices are the playback PCMs ALSA hints at ("default" first), or a list given to the
//   constructor; -1 opens "default". A name is listed cut to 31 bytes but opened in full.
// - open() configures the PCM for the clip's format (8-bit unsigned, 16/24/32-bit little-endian
//   signed, 24-bit also in a 32-bit container) and fails when the device refuses it; it never
//   blocks on a device another program holds.
// - One writer thread per open device is the only code that touches the PCM between open() and
//   close(). It hands a buffer back once the device's own play position is 8 ms short of the
//   buffer's last frame (from snd_pcm_delay, looked at every 20 ms or sooner when that point is
//   nearer; once the ring has run dry, what the plugin still reports as delay is counted down
//   first). So the last buffer comes back just before the end of its sound, early by what a
//   restarted stream takes to sound again, not at writei's return and not a whole ring later.
// - A trailing partial frame of a buffer is not played, as with the wave-out interface.
// - An underrun is recovered from; a device that fails for good (unplugged) stops handing buffers
//   back and refuses further writes, so the caller's own stall check reports it.
// - reset() returns once the writer has dropped what was queued; the dropped buffers are handed
//   back (posted), and the device accepts new writes afterwards.
// - volume() and setVolume() go through the card's mixer element "Master", else "PCM"; a PCM
//   without a card's mixer (a file, the null device) has no volume.
#include <array>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio_device.h"
#include "platform/event_loop.h"

typedef struct _snd_pcm snd_pcm_t;

namespace tintal {

class AlsaAudioDevice : public AudioDevice {
public:
    static constexpr std::size_t kMaxNameLength = 31;

    // Lists the system's playback PCMs afresh at each deviceCount().
    explicit AlsaAudioDevice(EventLoop& loop);
    // Uses exactly these PCM names as the device list.
    AlsaAudioDevice(EventLoop& loop, std::vector<std::string> pcmNames);
    ~AlsaAudioDevice() override;
    AlsaAudioDevice(const AlsaAudioDevice&) = delete;
    AlsaAudioDevice& operator=(const AlsaAudioDevice&) = delete;

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

    // The PCM name a device index opens; nullopt when there is no such device.
    std::optional<std::string> pcmName(int device);

    // ALSA's library writes its errors to stderr itself (dozens of lines on a machine without a
    // sound card). Once a device exists they come here instead: on stderr only when shown, and the
    // last one kept for the program's own report.
    static void showLibraryMessages(bool shown);
    static std::string lastLibraryMessage();

private:
    // Shared with the posted notifications, which may outlive the device; window thread only.
    struct Notifier {
        AudioListener* listener = nullptr;
        unsigned generation = 0;  // bumped by close(): what was posted before is then dropped
    };
    struct Job {
        int buffer;
        const std::uint8_t* data;
        std::size_t frames;
    };
    struct Session {
        snd_pcm_t* pcm;
        std::size_t frameBytes;
        unsigned rate;
        std::size_t periodFrames;
        unsigned generation;
    };

    void refreshNames();
    void writerMain(Session session);
    // Under mutex_: hands buffer back unless reset() already did.
    void reportDone(int buffer, unsigned generation);

    EventLoop& loop_;
    const bool injectedNames_;
    std::vector<std::string> names_;
    bool namesListed_ = false;

    std::shared_ptr<Notifier> notifier_ = std::make_shared<Notifier>();
    snd_pcm_t* pcm_ = nullptr;
    std::size_t frameBytes_ = 0;
    std::array<const std::uint8_t*, kBufferCount> data_{};
    std::array<std::size_t, kBufferCount> length_{};
    std::array<bool, kBufferCount> prepared_{};
    std::thread writer_;

    // Shared with the writer thread.
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Job> queue_;                      // written, not yet taken by the writer
    std::array<bool, kBufferCount> inFlight_{};  // written and not yet handed back
    bool resetRequested_ = false;
    bool stopRequested_ = false;
    bool failed_ = false;
};

}  // namespace tintal

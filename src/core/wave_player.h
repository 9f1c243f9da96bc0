#pragma once
// Plays one clip at a time: reads and checks the RIFF file itself, loads the whole sample data,
// opens the device for that clip and feeds it through two alternating buffers.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/clip_player.h"
#include "platform/audio_device.h"
#include "platform/clip_store.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"

namespace tintal {

class WaveSource;
struct WaveTexts;

class WavePlayer : public ClipPlayer, private AudioListener {
public:
    static constexpr std::size_t kBufferSize = 88200;
    static constexpr std::size_t kInitialClipMemory = 100000;
    // A device that has not handed a clip back this long after its end has stopped working.
    static constexpr int kStallMarginMs = 5000;
    // The device stays open this long after a clip, so that the next clip of the announcement
    // starts on a running stream instead of paying for a new one; closed when nothing follows.
    static constexpr int kKeepOpenMs = 600;

    WavePlayer(EventLoop& loop, AudioDevice& device, const ClipStore& clips, Desktop& desktop);
    ~WavePlayer() override;

    // Start-up allocation; returns the error text when memory cannot be had (the program then ends).
    std::string Alloc_Mem();
    void Free_unlock();
    void PlayWaveResource(const std::string& name);
    void PlayWaveFile(const std::string& path);

    // The ClipPlayer calls are the routines above.
    std::string allocateMemory() override { return Alloc_Mem(); }
    void freeMemory() override { Free_unlock(); }
    void playClip(const std::string& name) override { PlayWaveResource(name); }
    void playFile(const std::string& path) override { PlayWaveFile(path); }
    void setHost(PlayerHost* host) override { host_ = host; }
    bool clipPlaying() const override { return clipPlaying_; }
    void releaseDevice() override;
    void markIdle() override;
    void setOutputDevice(int device) override { outputDevice_ = device; }

    // Observable state, for the views and tests.
    bool deviceOpen() const { return deviceOpen_; }
    int queuedCount() const { return queuedCount_; }
    int doneCount() const { return doneCount_; }

private:
    void play(WaveSource* source, const WaveTexts& texts, bool emptyRequest);
    // The checks in their order; returns the text of the first that fails, or "" when the clip is loaded.
    std::string load(WaveSource& source, const WaveTexts& texts);
    std::string start(const WaveTexts& texts);
    std::size_t fill(int buffer);
    void fail(const std::string& text);
    void deviceOpened() override;
    void bufferDone(int buffer) override;
    void finishClip();
    void armStallGuard();
    // Opens the device for the clip's format, or keeps the one still open when it fits.
    bool openFor(int outputDevice);
    void stopTimer(EventLoop::TimerId& timer);

    EventLoop& loop_;
    AudioDevice& device_;
    const ClipStore& clips_;
    Desktop& desktop_;
    PlayerHost* host_ = nullptr;

    std::array<std::vector<std::uint8_t>, 2> buffers_;
    std::array<std::size_t, 2> bufferLength_{};
    std::array<bool, 2> prepared_{};
    std::vector<std::uint8_t> clipData_;
    PcmFormat format_;
    std::size_t clipPosition_ = 0;
    int queuedCount_ = 0;
    int doneCount_ = 0;
    bool deviceOpen_ = false;
    bool deviceInUse_ = false;  // opened and not yet closed (possibly kept open after a clip)
    bool clipPlaying_ = false;
    EventLoop::TimerId stallTimer_ = 0;
    EventLoop::TimerId closeTimer_ = 0;  // closes the device kept open after a clip
    PcmFormat openFormat_;
    int openDevice_ = AudioDevice::kDefaultDevice;
    int outputDevice_ = AudioDevice::kDefaultDevice;
};

}  // namespace tintal

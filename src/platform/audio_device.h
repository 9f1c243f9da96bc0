#pragma once
// A sound output device in the manner of the wave-out interface: opened for one clip, fed with
// prepared buffers, each handed back once played.
//
// Contract: window thread only, except that an adapter may do its own work on a thread of its
// own. Notifications (opened, buffer done) always reach the listener on the window thread, through
// EventLoop::post, never from inside the call that caused them, and none after close(). The
// buffers' memory belongs to the caller and must stay valid until the buffer is done or the
// device is reset.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tintal {

struct PcmFormat {
    int channels = 1;
    int samplesPerSecond = 16000;
    int bytesPerSecond = 32000;
    int blockAlign = 2;
    int bitsPerSample = 16;
    bool operator==(const PcmFormat&) const = default;
};

class AudioListener {
public:
    virtual ~AudioListener() = default;
    virtual void deviceOpened() = 0;
    // The device has finished with buffer 0 or 1 (played, or returned by reset).
    virtual void bufferDone(int buffer) = 0;
};

class AudioDevice {
public:
    static constexpr int kDefaultDevice = -1;  // the system's choice
    static constexpr int kBufferCount = 2;

    virtual ~AudioDevice() = default;

    virtual int deviceCount() = 0;
    // The product name of a device, at most 31 characters; nullopt when its capabilities cannot be read.
    virtual std::optional<std::string> deviceName(int device) = 0;

    // Each returns false on failure; the device then stays as it was.
    virtual bool open(int device, const PcmFormat& format, AudioListener* listener) = 0;
    virtual bool prepare(int buffer, const std::uint8_t* data, std::size_t length) = 0;
    virtual bool write(int buffer) = 0;
    virtual void unprepare(int buffer) = 0;
    // Stops playing: the buffers still queued are handed back (as done).
    virtual void reset() = 0;
    virtual void close() = 0;

    // Low 16 bits left, high 16 bits right; nullopt when the device has no volume control.
    virtual std::optional<std::uint32_t> volume(int device) = 0;
    virtual bool setVolume(int device, std::uint32_t leftAndRight) = 0;
};

}  // namespace tintal

#include "fakes/fake_audio_device.h"

#include <algorithm>

namespace tintal {

FakeAudioDevice::~FakeAudioDevice() {
    for (const EventLoop::TimerId timer : pending_) {
        if (timer > 0) loop_.stopTimer(timer);
    }
}

std::optional<std::string> FakeAudioDevice::deviceName(int device) {
    if (device == unreadableName || device < 0 || device >= deviceCount()) return std::nullopt;
    return names[device];
}

bool FakeAudioDevice::open(int device, const PcmFormat& format, AudioListener* listener) {
    if (failOpen || isOpen()) return false;
    ++opens;
    openedDevices.push_back(device);
    lastFormat = format;
    listener_ = listener;
    prepareCalls_ = writeCalls_ = 0;
    const int generation = ++generation_;
    loop_.post([this, alive = std::weak_ptr(alive_), generation] {
        if (!alive.expired() && generation == generation_ && listener_) listener_->deviceOpened();
    });
    return true;
}

bool FakeAudioDevice::prepare(int buffer, const std::uint8_t* data, std::size_t length) {
    if (!isOpen() || !isBuffer(buffer) || (data == nullptr && length > 0)) return false;
    if (++prepareCalls_ == failPrepareCall) return false;
    data_[buffer] = data;
    length_[buffer] = length;
    prepared_[buffer] = true;
    return true;
}

bool FakeAudioDevice::write(int buffer) {
    if (!isOpen() || !isBuffer(buffer) || !prepared_[buffer]) return false;
    if (++writeCalls_ == failWriteCall) return false;
    played.insert(played.end(), data_[buffer], data_[buffer] + length_[buffer]);
    writes.push_back(length_[buffer]);
    if (stall) {
        pending_[buffer] = -1;
    } else {
        // Buffers play one after the other: this one ends after those already queued.
        const int bytesPerSecond = std::max(1, lastFormat.bytesPerSecond);
        const auto ms = static_cast<int>(length_[buffer] * 1000 / bytesPerSecond) + 1;
        const int other = 1 - buffer;
        const int delay = ms + (pending_[other] != 0 ? static_cast<int>(length_[other] * 1000 / bytesPerSecond) : 0);
        pending_[buffer] = loop_.startTimer(delay, [this, buffer] {
            loop_.stopTimer(pending_[buffer]);
            pending_[buffer] = 0;
            if (listener_) listener_->bufferDone(buffer);
        });
    }
    maxInFlight = std::max(maxInFlight, inFlight());
    return true;
}

void FakeAudioDevice::unprepare(int buffer) {
    if (!isBuffer(buffer)) return;
    prepared_[buffer] = false;
    data_[buffer] = nullptr;
    length_[buffer] = 0;
}

void FakeAudioDevice::reset() {
    ++resets;
    for (int b = 0; b < 2; ++b) {
        if (pending_[b] > 0) loop_.stopTimer(pending_[b]);
        if (pending_[b] != 0 && listener_) {
            const int generation = generation_;
            loop_.post([this, alive = std::weak_ptr(alive_), b, generation] {
                if (!alive.expired() && generation == generation_ && listener_) listener_->bufferDone(b);
            });
        }
        pending_[b] = 0;
    }
}

void FakeAudioDevice::close() {
    if (!isOpen()) return;
    ++closes;
    ++generation_;  // nothing is delivered after close
    listener_ = nullptr;
}

std::optional<std::uint32_t> FakeAudioDevice::volume(int) {
    ++volumeReads;
    return deviceVolume;
}

bool FakeAudioDevice::setVolume(int, std::uint32_t leftAndRight) {
    ++volumeWrites;
    lastVolumeSet = leftAndRight;
    deviceVolume = leftAndRight;
    return true;
}

}  // namespace tintal

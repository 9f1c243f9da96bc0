#include "core/wave_player.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "core/wave_reader.h"
#include "core/wave_source.h"

namespace tintal {

WavePlayer::WavePlayer(EventLoop& loop, AudioDevice& device, const ClipStore& clips, Desktop& desktop)
    : loop_(loop), device_(device), clips_(clips), desktop_(desktop) {}

WavePlayer::~WavePlayer() {
    try {
        releaseDevice();
    } catch (...) {
    }
    markIdle();
}

std::string WavePlayer::Alloc_Mem() {
    const char* step = "Err :Alloc Mem insuffisante";
    try {
        buffers_[0].assign(kBufferSize, 0);
        step = "Err: Alloc Mem insuffisante";
        buffers_[1].assign(kBufferSize, 0);
        step = "Err :Alloc mem insuffisante";
        clipData_.assign(kInitialClipMemory, 0);
    } catch (const std::bad_alloc&) {
        return step;
    }
    return {};
}

void WavePlayer::Free_unlock() {
    clipData_.clear();
    clipData_.shrink_to_fit();
}

void WavePlayer::PlayWaveResource(const std::string& name) {
    if (clipPlaying_) return;
    const auto bytes = name.empty() ? std::nullopt : clips_.find(name);
    if (!bytes) {
        play(nullptr, kResourceTexts, name.empty());
        return;
    }
    MemoryWaveSource source(*bytes);
    play(&source, kResourceTexts, false);
}

void WavePlayer::PlayWaveFile(const std::string& path) {
    if (clipPlaying_) return;
    if (path.empty()) {
        play(nullptr, kFileTexts, true);
        return;
    }
    FileWaveSource source(path);
    play(source.isOpen() ? &source : nullptr, kFileTexts, false);
}

void WavePlayer::play(WaveSource* source, const WaveTexts& texts, bool emptyRequest) {
    if (emptyRequest) {
        desktop_.beep();
        fail(texts.empty);
        return;
    }
    if (!source) {
        fail(texts.notFound);
        return;
    }
    std::string error = load(*source, texts);
    if (error.empty()) error = start(texts);
    if (!error.empty()) fail(error);
}

std::string WavePlayer::load(WaveSource& source, const WaveTexts& texts) {
    return readWave(source, texts, format_, clipData_);
}

std::size_t WavePlayer::fill(int buffer) {
    const std::size_t count = std::min(kBufferSize, clipData_.size() - clipPosition_);
    if (buffers_[buffer].size() < kBufferSize) buffers_[buffer].assign(kBufferSize, 0);
    std::memcpy(buffers_[buffer].data(), clipData_.data() + clipPosition_, count);
    clipPosition_ += count;
    bufferLength_[buffer] = count;
    return count;
}

bool WavePlayer::openFor(int outputDevice) {
    stopTimer(closeTimer_);
    if (deviceInUse_ && openFormat_ == format_ && openDevice_ == outputDevice) {
        deviceOpen_ = true;  // its open notification came with an earlier clip
        return true;
    }
    releaseDevice();
    if (!device_.open(outputDevice, format_, this)) return false;
    deviceInUse_ = true;
    openFormat_ = format_;
    openDevice_ = outputDevice;
    return true;
}

std::string WavePlayer::start(const WaveTexts& texts) {
    if (!openFor(outputDevice_)) return texts.deviceOpen;
    clipPosition_ = 0;
    queuedCount_ = 0;
    doneCount_ = 0;
    fill(0);
    if (clipPosition_ < clipData_.size()) {
        fill(1);
    } else {
        bufferLength_[1] = 0;
    }
    if (!(prepared_[0] = device_.prepare(0, buffers_[0].data(), bufferLength_[0]))) return texts.prepare1;
    if (!device_.write(0)) return texts.write1;
    queuedCount_ = 1;
    if (bufferLength_[1] > 0) {
        if (!(prepared_[1] = device_.prepare(1, buffers_[1].data(), bufferLength_[1]))) return texts.prepare2;
        if (!device_.write(1)) return texts.write2;
        queuedCount_ = 2;
    }
    clipPlaying_ = true;
    armStallGuard();
    return {};
}

void WavePlayer::armStallGuard() {
    const std::int64_t durationMs =
        format_.bytesPerSecond > 0 ? static_cast<std::int64_t>(clipData_.size()) * 1000 / format_.bytesPerSecond : 0;
    const int limit = static_cast<int>(std::min<std::int64_t>(durationMs + kStallMarginMs, 24LL * 3600 * 1000));
    stallTimer_ = loop_.startTimer(limit, [this] {
        // The device never handed the clip back: end the announcement as a clip error does.
        fail("Err: carte son muette");
    });
}

void WavePlayer::deviceOpened() { deviceOpen_ = true; }

void WavePlayer::bufferDone(int buffer) {
    if (buffer < 0 || buffer > 1) return;
    if (prepared_[buffer]) device_.unprepare(buffer);
    prepared_[buffer] = false;
    ++doneCount_;
    if (!deviceOpen_) return;
    if (doneCount_ < queuedCount_) {
        if (clipPosition_ >= clipData_.size()) return;
        fill(buffer);
        if (!(prepared_[buffer] = device_.prepare(buffer, buffers_[buffer].data(), bufferLength_[buffer]))) {
            fail("Erreur prepare hdr3 wave");
            return;
        }
        if (!device_.write(buffer)) {
            fail("Erreur wave_out_write3 wave");
            return;
        }
        ++queuedCount_;
        return;
    }
    finishClip();
}

void WavePlayer::stopTimer(EventLoop::TimerId& timer) {
    if (timer != 0) loop_.stopTimer(timer);
    timer = 0;
}

void WavePlayer::finishClip() {
    for (int b = 0; b < 2; ++b) {
        if (prepared_[b]) device_.unprepare(b);
        prepared_[b] = false;
    }
    stopTimer(stallTimer_);
    closeTimer_ = loop_.startTimer(kKeepOpenMs, [this] {
        stopTimer(closeTimer_);
        // Not while a clip plays: the timer may fire inside a wait of the next clip's start.
        if (!clipPlaying_) releaseDevice();
    });
    loop_.pump(50);  // the gap between two clips
    deviceOpen_ = false;
    clipPlaying_ = false;
    if (host_) host_->clipFinished();
}

void WavePlayer::releaseDevice() {
    stopTimer(closeTimer_);
    for (int b = 0; b < 2; ++b) {
        if (prepared_[b]) device_.unprepare(b);
        prepared_[b] = false;
    }
    if (!deviceInUse_) return;
    deviceInUse_ = false;
    device_.reset();
    device_.close();
}

void WavePlayer::markIdle() {
    stopTimer(stallTimer_);
    deviceOpen_ = false;
    clipPlaying_ = false;
}

void WavePlayer::fail(const std::string& text) {
    // No path leaves the device open behind an error, and a clip that failed midway no longer
    // counts as playing, or the abort would leave the announcement hanging.
    try {
        releaseDevice();
    } catch (...) {
    }
    markIdle();
    if (host_) host_->clipFailed(text);
}

}  // namespace tintal

#include "platform/wav_file_device.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/file_path.h"

namespace tintal {

namespace {

// One sample of one channel as a value in [-1, 1].
double sampleAt(const std::uint8_t* p, int bits) {
    switch (bits) {
        case 8: return (p[0] - 128) / 128.0;
        case 16: return static_cast<std::int16_t>(p[0] | (p[1] << 8)) / 32768.0;
        case 24:
            return static_cast<std::int32_t>((p[0] << 8) | (p[1] << 16) | (static_cast<std::uint32_t>(p[2]) << 24)) /
                   2147483648.0;
        case 32:
            return static_cast<std::int32_t>(p[0] | (p[1] << 8) | (p[2] << 16) |
                                             (static_cast<std::uint32_t>(p[3]) << 24)) /
                   2147483648.0;
        default: return 0;
    }
}

void put32(std::ofstream& out, std::uint32_t v) {
    const char bytes[4] = {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                           static_cast<char>(v >> 24)};
    out.write(bytes, 4);
}
void put16(std::ofstream& out, std::uint16_t v) {
    const char bytes[2] = {static_cast<char>(v), static_cast<char>(v >> 8)};
    out.write(bytes, 2);
}

}  // namespace

std::optional<std::string> WavFileDevice::deviceName(int device) {
    if (device != 0) return std::nullopt;
    return std::string("Fichier WAV");
}

bool WavFileDevice::open(int device, const PcmFormat& format, AudioListener* listener) {
    const bool supported = format.bitsPerSample == 8 || format.bitsPerSample == 16 || format.bitsPerSample == 24 ||
                           format.bitsPerSample == 32;
    if (listener_ || (device != kDefaultDevice && device != 0) || !supported || format.samplesPerSecond <= 0)
        return false;
    listener_ = listener;
    format_ = format;
    resamplePhase_ = 0;
    appendSilenceUntilNow();
    clipSamples_.push_back(0);
    drained_ = false;
    queuedUntilMs_ = loop_.monotonicMs();
    loop_.post([this, listener] {
        if (listener_ == listener) listener->deviceOpened();
    });
    return true;
}

bool WavFileDevice::prepare(int buffer, const std::uint8_t* data, std::size_t length) {
    if (!listener_ || buffer < 0 || buffer > 1) return false;
    data_[buffer] = data;
    length_[buffer] = length;
    return true;
}

bool WavFileDevice::write(int buffer) {
    if (!listener_ || buffer < 0 || buffer > 1 || pending_[buffer] != 0) return false;
    if (drained_) {
        drained_ = false;
        resamplePhase_ = 0;
        appendSilenceUntilNow();
        clipSamples_.push_back(0);
    }
    const std::size_t before = samples_.size();
    appendConverted(data_[buffer], length_[buffer]);
    clipSamples_.back() += samples_.size() - before;
    // Played after whatever is queued already.
    const std::int64_t durationMs =
        static_cast<std::int64_t>(length_[buffer]) * 1000 / std::max(1, format_.bytesPerSecond);
    queuedUntilMs_ = std::max(queuedUntilMs_, loop_.monotonicMs()) + durationMs;
    const int delay = static_cast<int>(std::max<std::int64_t>(1, queuedUntilMs_ - loop_.monotonicMs()));
    pending_[buffer] = loop_.startTimer(delay, [this, buffer] {
        loop_.stopTimer(pending_[buffer]);
        pending_[buffer] = 0;
        soundEndMs_ = loop_.monotonicMs();
        drained_ = pending_[0] == 0 && pending_[1] == 0;
        if (listener_) listener_->bufferDone(buffer);
    });
    return true;
}

void WavFileDevice::reset() {
    for (int b = 0; b < 2; ++b) {
        if (pending_[b] == 0) continue;
        loop_.stopTimer(pending_[b]);
        pending_[b] = 0;
        AudioListener* listener = listener_;
        loop_.post([this, listener, b] {
            if (listener_ == listener && listener) listener->bufferDone(b);
        });
    }
}

void WavFileDevice::close() { listener_ = nullptr; }

void WavFileDevice::appendSilenceUntilNow() {
    if (soundEndMs_ < 0) return;  // nothing before the first clip
    const std::int64_t gapMs = loop_.monotonicMs() - soundEndMs_;
    if (gapMs > 0) samples_.insert(samples_.end(), static_cast<std::size_t>(gapMs * kRate / 1000), 0);
    soundEndMs_ = loop_.monotonicMs();
}

void WavFileDevice::appendConverted(const std::uint8_t* data, std::size_t length) {
    const int channels = std::max(1, format_.channels);
    const int bytes = format_.bitsPerSample / 8;
    const std::size_t frames = length / (static_cast<std::size_t>(bytes) * channels);
    const double step = static_cast<double>(format_.samplesPerSecond) / kRate;
    if (format_.samplesPerSecond == kRate && channels == 1 && bytes == 2) {
        for (std::size_t i = 0; i < frames; ++i)
            samples_.push_back(static_cast<std::int16_t>(data[2 * i] | (data[2 * i + 1] << 8)));
        return;
    }
    // Other formats: channels mixed to mono, nearest-sample rate change.
    for (; resamplePhase_ < static_cast<double>(frames); resamplePhase_ += step) {
        const std::uint8_t* frame = data + static_cast<std::size_t>(resamplePhase_) * bytes * channels;
        double sum = 0;
        for (int c = 0; c < channels; ++c) sum += sampleAt(frame + c * bytes, format_.bitsPerSample);
        samples_.push_back(static_cast<std::int16_t>(std::clamp(sum / channels * 32767.0, -32768.0, 32767.0)));
    }
    resamplePhase_ -= static_cast<double>(frames);
}

bool WavFileDevice::save(const std::string& utf8Path) {
    appendSilenceUntilNow();
    const std::filesystem::path path = fsPath(utf8Path);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    const auto dataBytes = static_cast<std::uint32_t>(samples_.size() * 2);
    out.write("RIFF", 4);
    put32(out, 36 + dataBytes);
    out.write("WAVEfmt ", 8);
    put32(out, 16);
    put16(out, 1);
    put16(out, 1);
    put32(out, kRate);
    put32(out, kRate * 2);
    put16(out, 2);
    put16(out, 16);
    out.write("data", 4);
    put32(out, dataBytes);
    for (std::int16_t s : samples_) put16(out, static_cast<std::uint16_t>(s));
    return static_cast<bool>(out.flush());
}

}  // namespace tintal

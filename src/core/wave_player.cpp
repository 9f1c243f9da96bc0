#include "core/wave_player.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "core/wave_source.h"

namespace tintal {

// The status texts of each check, which differ between files and recorded clips.
struct WaveTexts {
    const char* empty;
    const char* notFound;
    const char* shortHeader;
    const char* shortFormat;
    const char* notPcm;
    const char* channels;
    const char* byteRate;
    const char* chunkId;
    const char* chunkSize;
    const char* chunkBody;
    const char* chunkRead;
    const char* dataLength;
    const char* memory;
    const char* sampleData;
    const char* deviceOpen;
    const char* prepare1;
    const char* write1;
    const char* prepare2;
    const char* write2;
};

namespace {

constexpr WaveTexts kFileTexts = {
    "Err: Fichier Wave",         "Err: Nom Fichier Wave",     "Err: Fichier wave",         "Err: lecture fichier wave",
    "Err: fichier non PCM",      "Err: fichier non mono/stéréo", "Err: format fichier wave", "Err: en-tête fichier wave",
    "Err: chunk fichier wave",   "Err: chunk2 fichier wave",  "Err: données fichier wave", "Err: lecture2 fichier wave",
    "Err: Mem insuffisante",     "Err: lecture3 fichier wave", "Err: ouverture carte son",  "Err: PrepareHeader1",
    "Err: WaveOutWrite1",        "Err: PrepareHeader2",       "Err: WaveOutWrite2"};

constexpr WaveTexts kResourceTexts = {
    "Err: Res Wave",          "Err: Res Wave",        "Err: Res Wave",          "Err: lecture Res wave",
    "Err: Res non PCM",       "Err: Res non mono/stéréo", "Err: format Res wave", "Err: En-tête Res wave",
    "Err: Chunk Res wave",    "Err: chunk2 Res wave", "Err: données Res wave",  "Err: lecture2 Res wave",
    "Err: Mem insuffisante",  "Err: lecture3 Res wave", "Err: WaveOutOpen",     "Err: Prepareheader1",
    "Err: waveOutWrite1",     "Err: Prepareheader2",  "Err: waveOutWrite2"};

std::uint32_t le32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

// Reads and drops n bytes; false when the source ends first.
bool skipBytes(WaveSource& source, std::uint32_t n) {
    std::uint8_t scratch[4096];
    while (n > 0) {
        const std::size_t want = std::min<std::size_t>(n, sizeof scratch);
        if (source.read(scratch, want) != want) return false;
        n -= static_cast<std::uint32_t>(want);
    }
    return true;
}

}  // namespace

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
    try {
        std::uint8_t header[20];
        if (source.read(header, 20) != 20) return texts.shortHeader;
        // Only the count is checked: the "fmt " chunk must come first, its size is at bytes 16..19.
        const std::uint32_t formatSize = le32(header + 16);
        std::uint8_t format[16] = {};
        const std::size_t kept = std::min<std::uint32_t>(formatSize, sizeof format);
        // A body too short to hold the format fields cannot be trusted either.
        if (formatSize < sizeof format || source.read(format, kept) != kept || !skipBytes(source, formatSize - kept)) {
            return texts.shortFormat;
        }
        if ((le16(format) & 0xFF) != 1) return texts.notPcm;
        const int channels = le16(format + 2) & 0xFF;
        if (channels != 1 && channels != 2) return texts.channels;
        const std::uint32_t samplesPerSecond = le32(format + 4);
        const std::uint32_t bytesPerSecond = le32(format + 8);
        const std::uint16_t blockAlign = le16(format + 12);
        if (static_cast<std::uint64_t>(samplesPerSecond) * blockAlign != bytesPerSecond) return texts.byteRate;
        format_ = PcmFormat{channels, static_cast<int>(samplesPerSecond), static_cast<int>(bytesPerSecond), blockAlign,
                            le16(format + 14)};

        for (;;) {
            std::uint8_t id[4];
            if (source.read(id, 4) != 4) return texts.chunkId;
            std::uint8_t size[4];
            if (std::memcmp(id, "data", 4) == 0) {
                if (source.read(size, 4) != 4) return texts.dataLength;
                const std::uint32_t length = le32(size);
                // A length beyond the end of the clip is short data: say so without reserving memory for it.
                if (length > source.remaining()) return texts.sampleData;
                try {
                    clipData_.resize(length);
                } catch (const std::bad_alloc&) {
                    return texts.memory;
                }
                if (source.read(clipData_.data(), length) != length) return texts.sampleData;
                return {};
            }
            if (source.read(size, 4) != 4) return texts.chunkSize;
            if (!skipBytes(source, le32(size))) return texts.chunkBody;  // no pad byte after an odd size
        }
    } catch (const std::ios_base::failure&) {
        return texts.chunkRead;
    }
}

std::size_t WavePlayer::fill(int buffer) {
    const std::size_t count = std::min(kBufferSize, clipData_.size() - clipPosition_);
    if (buffers_[buffer].size() < kBufferSize) buffers_[buffer].assign(kBufferSize, 0);
    std::memcpy(buffers_[buffer].data(), clipData_.data() + clipPosition_, count);
    clipPosition_ += count;
    bufferLength_[buffer] = count;
    return count;
}

std::string WavePlayer::start(const WaveTexts& texts) {
    if (!device_.open(outputDevice_, format_, this)) return texts.deviceOpen;
    deviceInUse_ = true;
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

void WavePlayer::finishClip() {
    releaseDevice();
    if (stallTimer_ != 0) loop_.stopTimer(stallTimer_);
    stallTimer_ = 0;
    loop_.pump(50);  // the gap between two clips
    deviceOpen_ = false;
    clipPlaying_ = false;
    if (host_) host_->clipFinished();
}

void WavePlayer::releaseDevice() {
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
    if (stallTimer_ != 0) loop_.stopTimer(stallTimer_);
    stallTimer_ = 0;
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

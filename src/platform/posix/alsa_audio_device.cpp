#include "platform/posix/alsa_audio_device.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <utility>

namespace tintal {

namespace {

// A second of ring. With less, the pulse plugin (ALSA's default where a sound server runs) offers
// room again as soon as its first fill is in, then stalls once it has been taken at its word.
constexpr unsigned kRingUs = 1'000'000;
constexpr unsigned kPeriodUs = 50'000;
// The longest the writer sleeps before it looks at the play position again.
constexpr long kMaxWaitMs = 20;
// A buffer is handed back this long before its end is heard: a stream that ran dry takes about
// as long to sound again (measured through the pulse plugin), so the next clip, written 50 ms
// after the hand-back, is heard 50 ms after this one. Well under those 50 ms, so the caller's
// own wait still ends after the sound (the transmitter is never released on the last word).
constexpr long kLeadMs = 8;

std::optional<snd_pcm_format_t> sampleFormat(const PcmFormat& format) {
    if (format.channels < 1 || format.samplesPerSecond < 1 || format.blockAlign < 1 ||
        format.blockAlign % format.channels != 0) {
        return std::nullopt;
    }
    const int container = format.blockAlign / format.channels;
    switch (format.bitsPerSample) {
        case 8: return container == 1 ? std::optional(SND_PCM_FORMAT_U8) : std::nullopt;
        case 16: return container == 2 ? std::optional(SND_PCM_FORMAT_S16_LE) : std::nullopt;
        case 24:
            if (container == 3) return SND_PCM_FORMAT_S24_3LE;
            if (container == 4) return SND_PCM_FORMAT_S24_LE;
            return std::nullopt;
        case 32: return container == 4 ? std::optional(SND_PCM_FORMAT_S32_LE) : std::nullopt;
        default: return std::nullopt;
    }
}

// Sets up an interleaved stream in that format; returns the period in frames, 0 when refused.
snd_pcm_uframes_t configure(snd_pcm_t* pcm, const PcmFormat& format, snd_pcm_format_t sample) {
    snd_pcm_hw_params_t* hw = nullptr;
    snd_pcm_hw_params_alloca(&hw);
    unsigned ringUs = kRingUs, periodUs = kPeriodUs;
    int dir = 0;
    if (snd_pcm_hw_params_any(pcm, hw) < 0 ||
        snd_pcm_hw_params_set_access(pcm, hw, SND_PCM_ACCESS_RW_INTERLEAVED) < 0 ||
        snd_pcm_hw_params_set_format(pcm, hw, sample) < 0 ||
        snd_pcm_hw_params_set_channels(pcm, hw, static_cast<unsigned>(format.channels)) < 0 ||
        snd_pcm_hw_params_set_rate(pcm, hw, static_cast<unsigned>(format.samplesPerSecond), 0) < 0 ||
        snd_pcm_hw_params_set_buffer_time_near(pcm, hw, &ringUs, &dir) < 0 ||
        snd_pcm_hw_params_set_period_time_near(pcm, hw, &periodUs, &dir) < 0 || snd_pcm_hw_params(pcm, hw) < 0) {
        return 0;
    }
    snd_pcm_uframes_t ring = 0, period = 0;
    if (snd_pcm_get_params(pcm, &ring, &period) < 0 || period == 0) return 0;

    // Playing starts once the ring is full; the writer starts it itself when it has no more to give.
    snd_pcm_sw_params_t* sw = nullptr;
    snd_pcm_sw_params_alloca(&sw);
    if (snd_pcm_sw_params_current(pcm, sw) < 0 || snd_pcm_sw_params_set_start_threshold(pcm, sw, ring) < 0 ||
        snd_pcm_sw_params_set_avail_min(pcm, sw, period) < 0 || snd_pcm_sw_params(pcm, sw) < 0) {
        return 0;
    }
    return period;
}

// Cuts at 31 bytes without splitting a UTF-8 sequence.
std::string displayName(const std::string& name) {
    if (name.size() <= AlsaAudioDevice::kMaxNameLength) return name;
    std::size_t end = AlsaAudioDevice::kMaxNameLength;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
    return name.substr(0, end);
}

// The control device holding a PCM's mixer: the card the name points at, else a control of the
// same name ("default", "pulse"). Empty when the name points at nothing a mixer can open.
std::string controlNameFor(const std::string& pcm) {
    const auto card = pcm.find("CARD=");
    if (card != std::string::npos) {
        const auto from = card + 5;
        return "hw:CARD=" + pcm.substr(from, pcm.find(',', from) - from);
    }
    const auto colon = pcm.find(':');
    if (colon == std::string::npos) return pcm;
    const auto from = colon + 1;
    const std::string first = pcm.substr(from, pcm.find(',', from) - from);
    if (first.empty() || first.find('=') != std::string::npos) return {};
    return "hw:" + first;  // hw:1,0 plughw:1 front:1
}

class CardMixer {
public:
    explicit CardMixer(const std::string& control) {
        if (control.empty() || snd_mixer_open(&mixer_, 0) < 0) {
            mixer_ = nullptr;
            return;
        }
        if (snd_mixer_attach(mixer_, control.c_str()) < 0 || snd_mixer_selem_register(mixer_, nullptr, nullptr) < 0 ||
            snd_mixer_load(mixer_) < 0) {
            return;
        }
        snd_mixer_selem_id_t* id = nullptr;
        snd_mixer_selem_id_alloca(&id);
        for (const char* name : {"Master", "PCM"}) {
            snd_mixer_selem_id_set_name(id, name);
            snd_mixer_selem_id_set_index(id, 0);
            snd_mixer_elem_t* elem = snd_mixer_find_selem(mixer_, id);
            if (elem && snd_mixer_selem_has_playback_volume(elem) &&
                snd_mixer_selem_get_playback_volume_range(elem, &min_, &max_) == 0 && max_ > min_) {
                elem_ = elem;
                return;
            }
        }
    }
    ~CardMixer() {
        if (mixer_) snd_mixer_close(mixer_);
    }
    CardMixer(const CardMixer&) = delete;
    CardMixer& operator=(const CardMixer&) = delete;

    bool usable() const { return elem_ != nullptr; }
    // A mono element, or one without a right channel, is driven by the left word alone.
    bool stereo() const {
        return !snd_mixer_selem_is_playback_mono(elem_) &&
               snd_mixer_selem_has_playback_channel(elem_, SND_MIXER_SCHN_FRONT_RIGHT);
    }

    std::optional<std::uint32_t> read() const {
        long left = 0, right = 0;
        if (snd_mixer_selem_get_playback_volume(elem_, SND_MIXER_SCHN_FRONT_LEFT, &left) < 0) return std::nullopt;
        right = left;
        if (stereo() && snd_mixer_selem_get_playback_volume(elem_, SND_MIXER_SCHN_FRONT_RIGHT, &right) < 0) {
            return std::nullopt;
        }
        return toWord(left) | (toWord(right) << 16);
    }

    bool write(std::uint32_t leftAndRight) const {
        const long left = toRaw(leftAndRight & 0xFFFF), right = toRaw(leftAndRight >> 16);
        if (!stereo()) return snd_mixer_selem_set_playback_volume_all(elem_, left) == 0;
        return snd_mixer_selem_set_playback_volume(elem_, SND_MIXER_SCHN_FRONT_LEFT, left) == 0 &&
               snd_mixer_selem_set_playback_volume(elem_, SND_MIXER_SCHN_FRONT_RIGHT, right) == 0;
    }

private:
    std::uint32_t toWord(long raw) const {
        const double share = static_cast<double>(std::clamp(raw, min_, max_) - min_) / static_cast<double>(max_ - min_);
        return static_cast<std::uint32_t>(std::lround(share * 65535));
    }
    long toRaw(std::uint32_t word) const {
        return min_ + std::lround(static_cast<double>(word) / 65535 * static_cast<double>(max_ - min_));
    }

    snd_mixer_t* mixer_ = nullptr;
    snd_mixer_elem_t* elem_ = nullptr;
    long min_ = 0, max_ = 0;
};

// The writer's view of an open PCM: what it has taken and how much of that has been heard, both
// in frames since open or the last restart.
class PlayStream {
public:
    PlayStream(snd_pcm_t* pcm, unsigned rate) : pcm_(pcm), rate_(rate) {}

    std::uint64_t written() const { return written_; }

    // Writes what the ring has room for now; nullopt when the PCM has failed for good.
    std::optional<std::size_t> write(const std::uint8_t* data, std::size_t frames) {
        for (int attempt = 0; attempt < 2; ++attempt) {
            // Never more than the room reported: the pulse plugin takes more in one call, then
            // stalls for longer than the excess lasts.
            snd_pcm_sframes_t n = snd_pcm_avail_update(pcm_);
            if (n > 0) n = snd_pcm_writei(pcm_, data, std::min(frames, static_cast<std::size_t>(n)));
            if (n >= 0) {
                written_ += static_cast<std::uint64_t>(n);
                unstarted_ += static_cast<std::uint64_t>(n);
                return static_cast<std::size_t>(n);
            }
            if (n == -EAGAIN) return 0;
            // An underrun or a suspend: once recovered the ring is empty, so try again at once.
            if (snd_pcm_recover(pcm_, static_cast<int>(n), 1) < 0) return std::nullopt;
            unstarted_ = 0;
        }
        return 0;
    }

    // Starts a PCM that holds less than its start threshold and will get no more for now.
    void kick() {
        const snd_pcm_state_t state = snd_pcm_state(pcm_);
        if (state == SND_PCM_STATE_PREPARED && unstarted_ > 0) snd_pcm_start(pcm_);
        if (state != SND_PCM_STATE_PREPARED) unstarted_ = 0;
    }

    // Frames heard so far; nullopt when the PCM has failed for good.
    std::optional<std::uint64_t> played() {
        const snd_pcm_state_t state = snd_pcm_state(pcm_);
        if (state == SND_PCM_STATE_XRUN) {
            // The ring ran dry, which is how every clip ends. A plugin may still hold a tail past
            // the ring (the pulse plugin keeps reporting it, frozen, as the delay): count it down.
            const auto now = std::chrono::steady_clock::now();
            if (!dryAt_) {
                dryAt_ = now;
                snd_pcm_sframes_t delay = 0;
                dryTail_ = snd_pcm_delay(pcm_, &delay) == 0 && delay > 0 ? static_cast<std::uint64_t>(delay) : 0;
            }
            const auto elapsedUs = std::chrono::duration_cast<std::chrono::microseconds>(now - *dryAt_).count();
            const auto heard = static_cast<std::uint64_t>(elapsedUs) * rate_ / 1'000'000;
            return raise(written_ - std::min(written_, dryTail_ > heard ? dryTail_ - heard : 0));
        }
        dryAt_.reset();
        if (state == SND_PCM_STATE_SUSPENDED) {
            if (snd_pcm_recover(pcm_, -ESTRPIPE, 1) < 0) return std::nullopt;
            return played_;
        }
        snd_pcm_sframes_t delay = 0;
        const int error = snd_pcm_delay(pcm_, &delay);
        if (error == -EPIPE) return played_;  // ran dry just now: the next look counts the tail
        if (error < 0) {
            if (snd_pcm_recover(pcm_, error, 1) < 0) return std::nullopt;
            return played_;
        }
        return raise(written_ - std::min(written_, static_cast<std::uint64_t>(std::max<snd_pcm_sframes_t>(delay, 0))));
    }

    // Drops whatever is queued; false when the PCM cannot be made ready again.
    bool restart() {
        snd_pcm_drop(pcm_);
        written_ = played_ = unstarted_ = 0;
        dryAt_.reset();
        return snd_pcm_prepare(pcm_) >= 0;
    }

private:
    std::uint64_t raise(std::uint64_t played) {
        played_ = std::max(played_, played);
        return played_;
    }

    snd_pcm_t* pcm_;
    unsigned rate_;
    std::uint64_t written_ = 0, played_ = 0;
    std::uint64_t unstarted_ = 0;  // written since the PCM was last prepared, while it has not started
    std::optional<std::chrono::steady_clock::time_point> dryAt_;
    std::uint64_t dryTail_ = 0;
};

// The library may report from any thread (the writer's included).
std::atomic<bool> libraryMessagesShown{false};
std::mutex libraryMessageMutex;
std::string lastMessage;

void libraryMessage(const char* file, int line, const char* function, int error, const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    std::string message = text;
    if (error != 0) message += std::string(": ") + snd_strerror(error);
    if (libraryMessagesShown) std::fprintf(stderr, "ALSA %s:%d (%s): %s\n", file, line, function, message.c_str());
    std::lock_guard lock(libraryMessageMutex);
    lastMessage = std::move(message);
}

void takeLibraryMessages() {
    static std::once_flag once;
    std::call_once(once, [] { snd_lib_error_set_handler(&libraryMessage); });
}

}  // namespace

void AlsaAudioDevice::showLibraryMessages(bool shown) {
    libraryMessagesShown = shown;
    takeLibraryMessages();
}

std::string AlsaAudioDevice::lastLibraryMessage() {
    std::lock_guard lock(libraryMessageMutex);
    return lastMessage;
}

AlsaAudioDevice::AlsaAudioDevice(EventLoop& loop) : loop_(loop), injectedNames_(false) { takeLibraryMessages(); }

AlsaAudioDevice::AlsaAudioDevice(EventLoop& loop, std::vector<std::string> pcmNames)
    : loop_(loop), injectedNames_(true), names_(std::move(pcmNames)), namesListed_(true) {
    takeLibraryMessages();
}

AlsaAudioDevice::~AlsaAudioDevice() { close(); }

void AlsaAudioDevice::refreshNames() {
    namesListed_ = true;
    if (injectedNames_) return;
    names_.clear();
    void** hints = nullptr;
    if (snd_device_name_hint(-1, "pcm", &hints) < 0) return;
    for (void** hint = hints; *hint; ++hint) {
        char* name = snd_device_name_get_hint(*hint, "NAME");
        char* io = snd_device_name_get_hint(*hint, "IOID");  // absent: both directions
        if (name && (!io || std::strcmp(io, "Output") == 0) &&
            std::find(names_.begin(), names_.end(), name) == names_.end()) {
            names_.emplace_back(name);
        }
        std::free(name);
        std::free(io);
    }
    snd_device_name_free_hint(hints);
    const auto def = std::find(names_.begin(), names_.end(), "default");
    if (def != names_.end()) std::rotate(names_.begin(), def, def + 1);
}

int AlsaAudioDevice::deviceCount() {
    refreshNames();
    return static_cast<int>(names_.size());
}

std::optional<std::string> AlsaAudioDevice::pcmName(int device) {
    if (device == kDefaultDevice) return std::string("default");
    if (!namesListed_) refreshNames();
    if (device < 0 || device >= static_cast<int>(names_.size())) return std::nullopt;
    return names_[static_cast<std::size_t>(device)];
}

std::optional<std::string> AlsaAudioDevice::deviceName(int device) {
    const auto name = pcmName(device);
    if (!name) return std::nullopt;
    return displayName(*name);
}

bool AlsaAudioDevice::open(int device, const PcmFormat& format, AudioListener* listener) {
    if (pcm_) return false;
    const auto name = pcmName(device);
    const auto sample = sampleFormat(format);
    if (!name || !sample) return false;

    // Non-blocking, so a device held by another program fails the open instead of hanging the
    // window thread; the writer waits on its own clock instead of blocking in writei.
    snd_pcm_t* pcm = nullptr;
    if (snd_pcm_open(&pcm, name->c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) return false;
    const snd_pcm_uframes_t period = configure(pcm, format, *sample);
    if (period == 0 || snd_pcm_prepare(pcm) < 0) {
        snd_pcm_close(pcm);
        return false;
    }

    queue_.clear();
    inFlight_ = {};
    prepared_ = {};
    data_ = {};
    length_ = {};
    resetRequested_ = stopRequested_ = failed_ = false;
    const unsigned generation = ++notifier_->generation;
    const Session session{pcm, static_cast<std::size_t>(format.blockAlign),
                          static_cast<unsigned>(format.samplesPerSecond), period, generation};
    try {
        writer_ = std::thread(&AlsaAudioDevice::writerMain, this, session);
    } catch (const std::system_error&) {
        snd_pcm_close(pcm);
        return false;
    }
    pcm_ = pcm;
    frameBytes_ = session.frameBytes;
    notifier_->listener = listener;
    loop_.post([notifier = notifier_, generation] {
        if (notifier->generation == generation && notifier->listener) notifier->listener->deviceOpened();
    });
    return true;
}

bool AlsaAudioDevice::prepare(int buffer, const std::uint8_t* data, std::size_t length) {
    if (!pcm_ || buffer < 0 || buffer >= kBufferCount || (!data && length > 0)) return false;
    {
        std::lock_guard lock(mutex_);
        if (inFlight_[buffer]) return false;  // the writer may still be reading it
    }
    data_[buffer] = data;
    length_[buffer] = length;
    prepared_[buffer] = true;
    return true;
}

bool AlsaAudioDevice::write(int buffer) {
    if (!pcm_ || buffer < 0 || buffer >= kBufferCount || !prepared_[buffer]) return false;
    {
        std::lock_guard lock(mutex_);
        if (failed_ || inFlight_[buffer]) return false;
        queue_.push_back(Job{buffer, data_[buffer], length_[buffer] / frameBytes_});
        inFlight_[buffer] = true;
    }
    wake_.notify_all();
    return true;
}

void AlsaAudioDevice::unprepare(int buffer) {
    if (buffer < 0 || buffer >= kBufferCount) return;
    {
        std::lock_guard lock(mutex_);
        if (inFlight_[buffer]) return;  // still the writer's until it is done or reset
    }
    prepared_[buffer] = false;
    data_[buffer] = nullptr;
    length_[buffer] = 0;
}

void AlsaAudioDevice::reset() {
    if (!pcm_) return;
    std::unique_lock lock(mutex_);
    resetRequested_ = true;
    wake_.notify_all();
    wake_.wait(lock, [this] { return !resetRequested_; });
    for (int b = 0; b < kBufferCount; ++b) reportDone(b, notifier_->generation);
}

void AlsaAudioDevice::close() {
    if (!pcm_) return;
    {
        std::lock_guard lock(mutex_);
        stopRequested_ = true;
    }
    wake_.notify_all();
    writer_.join();
    snd_pcm_drop(pcm_);
    snd_pcm_close(pcm_);
    pcm_ = nullptr;
    queue_.clear();
    inFlight_ = {};
    prepared_ = {};
    data_ = {};
    length_ = {};
    ++notifier_->generation;
    notifier_->listener = nullptr;
}

void AlsaAudioDevice::reportDone(int buffer, unsigned generation) {
    if (!inFlight_[buffer]) return;
    inFlight_[buffer] = false;
    loop_.post([notifier = notifier_, generation, buffer] {
        if (notifier->generation == generation && notifier->listener) notifier->listener->bufferDone(buffer);
    });
}

void AlsaAudioDevice::writerMain(Session s) {
    // A buffer's last frame, counted like PlayStream::written().
    struct Mark {
        int buffer;
        std::uint64_t endFrame;
    };
    PlayStream stream(s.pcm, s.rate);
    std::optional<Job> current;
    std::size_t offset = 0;  // frames of current already written
    std::deque<Mark> marks;
    std::vector<int> finished;
    const long periodMs = static_cast<long>(s.periodFrames * 1000 / s.rate);
    const auto leadFrames = static_cast<std::uint64_t>(kLeadMs) * s.rate / 1000;

    std::unique_lock lock(mutex_);
    for (;;) {
        if (stopRequested_) return;
        if (resetRequested_) {
            lock.unlock();
            const bool usable = stream.restart();
            lock.lock();
            current.reset();
            marks.clear();
            queue_.clear();
            failed_ = !usable;
            resetRequested_ = false;
            wake_.notify_all();
            continue;
        }
        if (!failed_ && !current && !queue_.empty()) {
            current = queue_.front();
            queue_.pop_front();
            offset = 0;
        }
        if (failed_ || (!current && marks.empty())) {
            wake_.wait(lock);
            continue;
        }
        lock.unlock();

        bool ok = true, ringFull = false;
        if (current) {
            const auto taken = stream.write(current->data + offset * s.frameBytes, current->frames - offset);
            ok = taken.has_value();
            if (ok) offset += *taken;
            if (ok && offset == current->frames) {
                marks.push_back(Mark{current->buffer, stream.written()});
                current.reset();
            }
            ringFull = ok && current;
        }
        if (ok && !current) stream.kick();
        const auto played = ok ? stream.played() : std::nullopt;
        ok = played.has_value();
        finished.clear();
        while (ok && !marks.empty() && marks.front().endFrame <= *played + leadFrames) {
            finished.push_back(marks.front().buffer);
            marks.pop_front();
        }

        long waitMs = 0;
        if (ringFull) waitMs = std::clamp(periodMs / 2, 1L, kMaxWaitMs);
        if (ok && !marks.empty()) {
            const auto framesLeft = static_cast<long>(marks.front().endFrame - *played - leadFrames);
            const long untilEnd = std::clamp((framesLeft * 1000 + s.rate - 1) / s.rate, 1L, kMaxWaitMs);
            waitMs = waitMs > 0 ? std::min(waitMs, untilEnd) : untilEnd;
        }

        lock.lock();
        for (const int buffer : finished) reportDone(buffer, s.generation);
        if (!ok) {
            // What was queued stays in flight: reset() hands it back.
            failed_ = true;
            current.reset();
            marks.clear();
            continue;
        }
        if (waitMs > 0) {
            wake_.wait_for(lock, std::chrono::milliseconds(waitMs),
                           [&] { return stopRequested_ || resetRequested_ || (!current && !queue_.empty()); });
        }
    }
}

std::optional<std::uint32_t> AlsaAudioDevice::volume(int device) {
    const auto name = pcmName(device);
    if (!name) return std::nullopt;
    const CardMixer mixer(controlNameFor(*name));
    if (!mixer.usable()) return std::nullopt;
    return mixer.read();
}

bool AlsaAudioDevice::setVolume(int device, std::uint32_t leftAndRight) {
    const auto name = pcmName(device);
    if (!name) return false;
    const CardMixer mixer(controlNameFor(*name));
    return mixer.usable() && mixer.write(leftAndRight);
}

}  // namespace tintal

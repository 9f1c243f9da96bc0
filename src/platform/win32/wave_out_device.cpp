#include "platform/win32/wave_out_device.h"

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <span>
#include <vector>

#include "platform/win32/win32_text.h"

namespace tintal {

namespace {

// The part of a buffer played from the device's own copy (see the header); measured under Wine.
constexpr std::uint64_t kTailMs = 20;

// A buffer's last bytes, played from a copy after the caller's header.
struct Tail {
    WAVEHDR header{};
    std::vector<std::uint8_t> bytes;
    bool prepared = false;
};

}  // namespace

struct WaveOutDevice::State : std::enable_shared_from_this<WaveOutDevice::State> {
    EventLoop* loop = nullptr;
    HWAVEOUT handle = nullptr;
    std::size_t frameBytes = 1;
    std::size_t tailBytes = 0;  // whole frames, for the open format
    std::array<WAVEHDR, 2> headers{};
    std::array<bool, 2> prepared{};
    std::array<std::span<const std::uint8_t>, 2> tails;  // the part of each buffer its header leaves out
    std::vector<std::unique_ptr<Tail>> copies;           // window thread only; stable addresses
    AudioListener* listener = nullptr;                   // window thread only
    // Bumped at each open and close: a notification of an earlier opening is dropped.
    std::atomic<int> generation{0};
};

namespace {

// A device index for the wave-out calls: -1 is the system's choice.
UINT deviceId(int device) { return device < 0 ? WAVE_MAPPER : static_cast<UINT>(device); }

void CALLBACK waveOutCallback(HWAVEOUT, UINT message, DWORD_PTR instance, DWORD_PTR param1, DWORD_PTR) {
    // The system's thread: no wave-out call may be made here, only the hand-over.
    auto* state = reinterpret_cast<WaveOutDevice::State*>(instance);
    const int generation = state->generation.load();
    // The device may be gone by the time the window thread runs this: hold it weakly.
    std::weak_ptr<WaveOutDevice::State> weak = state->weak_from_this();
    if (message == WOM_OPEN) {
        state->loop->post([weak, generation] {
            const auto s = weak.lock();
            if (s && generation == s->generation.load() && s->listener) s->listener->deviceOpened();
        });
    } else if (message == WOM_DONE) {
        const auto* header = reinterpret_cast<const WAVEHDR*>(param1);
        if (header != &state->headers[0] && header != &state->headers[1]) return;  // a tail: see tailFree
        const int buffer = header == &state->headers[1] ? 1 : 0;
        state->loop->post([weak, generation, buffer] {
            const auto s = weak.lock();
            if (s && generation == s->generation.load() && s->listener) s->listener->bufferDone(buffer);
        });
    }
}

// A copy the device has finished with (or never queued) can take the next tail.
bool tailFree(const Tail& tail) { return !tail.prepared || (tail.header.dwFlags & WHDR_DONE) != 0; }

void releaseTail(HWAVEOUT handle, Tail& tail) {
    if (tail.prepared) waveOutUnprepareHeader(handle, &tail.header, sizeof(WAVEHDR));
    tail.prepared = false;
}

// Queues a copy of bytes after what is queued; false when the device refuses it.
bool queueTail(WaveOutDevice::State& state, std::span<const std::uint8_t> bytes) {
    auto free = std::find_if(state.copies.begin(), state.copies.end(), [](const auto& t) { return tailFree(*t); });
    if (free == state.copies.end()) free = state.copies.insert(free, std::make_unique<Tail>());
    Tail& tail = **free;
    releaseTail(state.handle, tail);
    tail.bytes.assign(bytes.begin(), bytes.end());
    tail.header = WAVEHDR{};
    tail.header.lpData = reinterpret_cast<LPSTR>(tail.bytes.data());
    tail.header.dwBufferLength = static_cast<DWORD>(tail.bytes.size());
    tail.header.dwLoops = 1;
    if (waveOutPrepareHeader(state.handle, &tail.header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) return false;
    tail.prepared = true;
    return waveOutWrite(state.handle, &tail.header, sizeof(WAVEHDR)) == MMSYSERR_NOERROR;
}

}  // namespace

WaveOutDevice::WaveOutDevice(EventLoop& loop) : loop_(loop), state_(std::make_shared<State>()) {
    state_->loop = &loop_;
}

WaveOutDevice::~WaveOutDevice() {
    reset();
    for (int b = 0; b < 2; ++b) unprepare(b);
    close();
}

int WaveOutDevice::deviceCount() { return static_cast<int>(waveOutGetNumDevs()); }

std::optional<std::string> WaveOutDevice::deviceName(int device) {
    WAVEOUTCAPSA caps{};
    if (waveOutGetDevCapsA(deviceId(device), &caps, sizeof caps) != MMSYSERR_NOERROR) return std::nullopt;
    // Product names are in the system's ANSI code page, 31 characters at most.
    wchar_t wide[MAXPNAMELEN];
    const int n = MultiByteToWideChar(CP_ACP, 0, caps.szPname, -1, wide, MAXPNAMELEN);
    return n > 0 ? narrow(std::wstring_view(wide, n - 1)) : std::string();
}

bool WaveOutDevice::open(int device, const PcmFormat& format, AudioListener* listener) {
    if (state_->handle) return false;
    WAVEFORMATEX wfx{};
    wfx.wFormatTag = WAVE_FORMAT_PCM;
    wfx.nChannels = static_cast<WORD>(format.channels);
    wfx.nSamplesPerSec = static_cast<DWORD>(format.samplesPerSecond);
    wfx.nAvgBytesPerSec = static_cast<DWORD>(format.bytesPerSecond);
    wfx.nBlockAlign = static_cast<WORD>(format.blockAlign);
    wfx.wBitsPerSample = static_cast<WORD>(format.bitsPerSample);
    wfx.cbSize = 0;
    state_->listener = listener;
    ++state_->generation;
    HWAVEOUT handle = nullptr;
    if (waveOutOpen(&handle, deviceId(device), &wfx, reinterpret_cast<DWORD_PTR>(&waveOutCallback),
                    reinterpret_cast<DWORD_PTR>(state_.get()), CALLBACK_FUNCTION) != MMSYSERR_NOERROR) {
        state_->listener = nullptr;
        return false;
    }
    state_->handle = handle;
    const std::size_t frame = static_cast<std::size_t>(std::max(format.blockAlign, 1));
    state_->frameBytes = frame;
    // In 64 bits: a file's byte rate may be anything, and size_t is 32 bits on the 32-bit build.
    const std::uint64_t tail = static_cast<std::uint64_t>(std::max(format.bytesPerSecond, 0)) * kTailMs / 1000;
    state_->tailBytes = static_cast<std::size_t>(tail / frame * frame);
    return true;
}

bool WaveOutDevice::prepare(int buffer, const std::uint8_t* data, std::size_t length) {
    if (!state_->handle || buffer < 0 || buffer > 1) return false;
    // A short buffer is played whole from the caller's memory. The tail takes the trailing partial
    // frame too, which the device leaves unplayed either way.
    const std::size_t tail =
        state_->tailBytes > 0 && length > 2 * state_->tailBytes ? state_->tailBytes + length % state_->frameBytes : 0;
    WAVEHDR& header = state_->headers[buffer];
    header = WAVEHDR{};
    header.lpData = reinterpret_cast<LPSTR>(const_cast<std::uint8_t*>(data));
    header.dwBufferLength = static_cast<DWORD>(length - tail);
    state_->tails[buffer] = {data + (length - tail), tail};
    header.dwLoops = 1;
    if (waveOutPrepareHeader(state_->handle, &header, sizeof header) != MMSYSERR_NOERROR) return false;
    state_->prepared[buffer] = true;
    return true;
}

bool WaveOutDevice::write(int buffer) {
    if (!state_->handle || buffer < 0 || buffer > 1) return false;
    if (waveOutWrite(state_->handle, &state_->headers[buffer], sizeof(WAVEHDR)) != MMSYSERR_NOERROR) return false;
    const auto tail = state_->tails[buffer];
    return tail.empty() || queueTail(*state_, tail);
}

void WaveOutDevice::unprepare(int buffer) {
    if (!state_->handle || buffer < 0 || buffer > 1 || !state_->prepared[buffer]) return;
    waveOutUnprepareHeader(state_->handle, &state_->headers[buffer], sizeof(WAVEHDR));
    state_->prepared[buffer] = false;
}

void WaveOutDevice::reset() {
    if (state_->handle) waveOutReset(state_->handle);
}

void WaveOutDevice::close() {
    if (!state_->handle) return;
    const bool playing =
        std::any_of(state_->copies.begin(), state_->copies.end(), [](const auto& t) { return !tailFree(*t); });
    if (playing) waveOutReset(state_->handle);  // a tail still queued would keep the device from closing
    for (int b = 0; b < 2; ++b) unprepare(b);
    for (auto& tail : state_->copies) releaseTail(state_->handle, *tail);
    waveOutClose(state_->handle);
    state_->handle = nullptr;
    ++state_->generation;  // nothing is delivered after close
    state_->listener = nullptr;
}

std::optional<std::uint32_t> WaveOutDevice::volume(int device) {
    DWORD value = 0;
    const auto target =
        state_->handle ? state_->handle : reinterpret_cast<HWAVEOUT>(static_cast<UINT_PTR>(deviceId(device)));
    if (waveOutGetVolume(target, &value) != MMSYSERR_NOERROR) return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

bool WaveOutDevice::setVolume(int device, std::uint32_t leftAndRight) {
    const auto target =
        state_->handle ? state_->handle : reinterpret_cast<HWAVEOUT>(static_cast<UINT_PTR>(deviceId(device)));
    return waveOutSetVolume(target, leftAndRight) == MMSYSERR_NOERROR;
}

}  // namespace tintal

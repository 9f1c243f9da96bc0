#include "platform/win32/wave_out_device.h"

#include <windows.h>
#include <mmsystem.h>

#include "platform/win32/win32_text.h"

namespace tintal {

struct WaveOutDevice::State : std::enable_shared_from_this<WaveOutDevice::State> {
    EventLoop* loop = nullptr;
    HWAVEOUT handle = nullptr;
    std::array<WAVEHDR, 2> headers{};
    std::array<bool, 2> prepared{};
    AudioListener* listener = nullptr;  // window thread only
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
        const int buffer = header == &state->headers[1] ? 1 : 0;
        state->loop->post([weak, generation, buffer] {
            const auto s = weak.lock();
            if (s && generation == s->generation.load() && s->listener) s->listener->bufferDone(buffer);
        });
    }
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
    return true;
}

bool WaveOutDevice::prepare(int buffer, const std::uint8_t* data, std::size_t length) {
    if (!state_->handle || buffer < 0 || buffer > 1) return false;
    WAVEHDR& header = state_->headers[buffer];
    header = WAVEHDR{};
    header.lpData = reinterpret_cast<LPSTR>(const_cast<std::uint8_t*>(data));
    header.dwBufferLength = static_cast<DWORD>(length);
    header.dwLoops = 1;
    if (waveOutPrepareHeader(state_->handle, &header, sizeof header) != MMSYSERR_NOERROR) return false;
    state_->prepared[buffer] = true;
    return true;
}

bool WaveOutDevice::write(int buffer) {
    if (!state_->handle || buffer < 0 || buffer > 1) return false;
    return waveOutWrite(state_->handle, &state_->headers[buffer], sizeof(WAVEHDR)) == MMSYSERR_NOERROR;
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
    for (int b = 0; b < 2; ++b) unprepare(b);
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

// Any bytes a user's sound file may hold: the player's checks take them or refuse them with a text,
// and either way the clip ends, the device is closed and nothing is read outside the bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "core/wave_player.h"
#include "platform/desktop.h"
#include "platform/virtual_event_loop.h"
#include "platform/wav_file_device.h"

namespace {

struct OneClip : tintal::ClipStore {
    std::span<const std::uint8_t> bytes;
    std::optional<std::span<const std::uint8_t>> find(std::string_view) const override { return bytes; }
};

struct Outcome : tintal::PlayerHost {
    bool ended = false;
    void clipFailed(const std::string& text) override {
        if (text.empty()) std::abort();  // a refusal always says why
        ended = true;
    }
    void clipFinished() override { ended = true; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tintal;
    VirtualEventLoop loop(46000.0);
    WavFileDevice device(loop);
    FrenchDesktop desktop;
    OneClip clips;
    clips.bytes = std::span<const std::uint8_t>(data, size);
    WavePlayer player(loop, device, clips, desktop);
    Outcome outcome;
    player.setHost(&outcome);
    if (!player.Alloc_Mem().empty()) return 0;
    player.PlayWaveResource("son0");
    loop.advanceUntil([&] { return outcome.ended; }, 600000, 100);
    if (!outcome.ended || player.deviceOpen() || player.clipPlaying()) std::abort();
    player.Free_unlock();
    return 0;
}

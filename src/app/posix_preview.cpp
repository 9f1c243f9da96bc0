#include "app/posix_preview.h"

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <thread>

#include "app/posix_commands.h"
#include "app/posix_composition.h"
#include "app/posix_sound_modes.h"
#include "core/listing_player.h"
#include "core/voice_clip_store.h"
#include "core/wave_player.h"
#include "platform/null_audio_device.h"
#include "platform/posix/curl_downloader.h"
#include "platform/posix/embedded_clip_store.h"
#include "platform/posix/posix_companion_channel.h"
#include "platform/posix/posix_durable_files.h"
#include "platform/recorder_link.h"
#include "platform/serial_lines.h"
#include "platform/virtual_event_loop.h"
#include "platform/wav_file_device.h"
#include "shell/tintal_program.h"

namespace tintal {

namespace {

// The station's settings and log are read as they are; what the program would write back is dropped,
// so that a preview leaves the folder exactly as it found it.
class PreviewFiles : public DurableFiles {
public:
    bool exists(const std::string& path) override { return files_.exists(path); }
    std::optional<std::vector<std::uint8_t>> read(const std::string& path) override { return files_.read(path); }
    Outcome replace(const std::string&, const std::string&, std::span<const std::uint8_t>, bool) override { return {}; }

private:
    PosixDurableFiles files_;
};

// The session's autostart entry stays as it is, whatever the settings say.
class PreviewAutostart : public Autostart {
public:
    std::string set(bool) override { return {}; }
    std::string entry() override { return {}; }
};

// A download runs in real time while virtual time stands still: wait for it, within a bound, letting
// its completion reach the program.
void waitForDownloads(VirtualEventLoop& loop, const WebSources& web) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    loop.processPending();
    while (web.downloading() && std::chrono::steady_clock::now() < limit) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        loop.processPending();
    }
}

// One announcement of the whole program at the loop's start time, made as the user makes it: start
// (settings loaded, source selected and read), then "Ecouter le tintal". Returns the end's own status.
std::string announceWithSettings(VirtualEventLoop& loop, ClipPlayer& player, AudioDevice& device,
                                 const PreviewContext& context, const std::function<void()>& onDone) {
    NullSerialLines noTransmitter;
    PosixCompanionChannel privateChannel(CompanionNames::withSuffix(".preview" + std::to_string(getpid())));
    AbsentRecorderLink noRecorder;
    CurlDownloader downloader;
    PreviewFiles files;
    PreviewAutostart autostart;
    TintalProgram program({loop, context.desktop, player, device, context.stationLibrary, noTransmitter, privateChannel,
                           noRecorder, downloader, files, autostart, "", ""});
    TForm1& form = program.form;
    form.onLoadSettings = [&] {
        program.settings.LoadConfig();
        if (context.applyOptions) context.applyOptions(form);
    };
    // No save, and no version check on the network: a preview only reads.
    form.onSaveSettings = nullptr;
    form.onSettingsLoaded = [&] { program.settings.finishLoad(nullptr); };
    program.start();
    loop.advanceUntil([&] { return !form.ConfigPending; }, 5000);
    waitForDownloads(loop, program.web);
    // The announcement's own end, not a status left by the start-up or written by the companion
    // link right after it.
    std::string status;
    form.EditData.onChange = [&] {
        const std::string& text = form.EditData.text();
        if (!status.empty() || (text != "TINTAL_DONE" && text.rfind("Err", 0) != 0)) return;
        status = text;
        if (text == "TINTAL_DONE" && onDone) onDone();
    };
    form.Button1.click();
    loop.advanceUntil([&] { return !form.announcing; }, 600000, 100);
    program.close();
    return status.empty() ? form.EditData.text() : status;
}

int reportEnd(const std::string& status) {
    if (status == "TINTAL_DONE") return 0;
    std::cerr << "tintal: the announcement did not complete: " << status << '\n';
    return 1;
}

}  // namespace

int previewDryRun(double at, PreviewContext context) {
    VirtualEventLoop loop(at);
    NullAudioDevice device;
    ListingPlayer player(
        loop, [](const ClipRequest& clip) { std::cout << clip.name << '\n'; }, 700);
    return reportEnd(announceWithSettings(loop, player, device, context, nullptr));
}

int previewRender(const std::string& path, double at, PreviewContext context) {
    VirtualEventLoop loop(at);
    WavFileDevice device(loop);
    EmbeddedClipStore builtIn;
    VoiceClipStore clips(builtIn, context.voiceFolder);
    WavePlayer player(loop, device, clips, context.desktop);
    bool saved = false;
    const std::string status = announceWithSettings(loop, player, device, context, [&] { saved = device.save(path); });
    if (status != "TINTAL_DONE") return reportEnd(status);
    if (!saved) {
        std::cerr << "tintal: cannot write " << path << '\n';
        return 1;
    }
    std::cout << path << ": " << device.clipSamples().size() << " clips, "
              << device.samples().size() * 1000 / WavFileDevice::kRate << " ms\n";
    return 0;
}

// --dry-run and --render: the working folder's settings and weather source, nothing keyed, sent or
// written back.
int preview(const Options& options, double at) {
    // The WAV file is named from where the command was typed, before the working folder is entered.
    const std::string renderPath = options.dryRun ? "" : std::filesystem::absolute(options.renderPath).string();
    const std::optional<std::string> folder = enterWorkingFolder(options);
    if (!folder) return 1;
    ConsoleDesktop desktop;
    NoStationLibrary library;
    const PreviewContext context{desktop, library, [&](TForm1& form) { applyOptions(form, options); },
                                 voiceFolderPath(*folder)};
    return options.dryRun ? previewDryRun(at, context) : previewRender(renderPath, at, context);
}

}  // namespace tintal

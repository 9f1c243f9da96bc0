// The Linux clock: the same announcements as the Windows program, on a console.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <thread>

#include "app/posix_preview.h"
#include "app/posix_sound_modes.h"
#include "base/date_time.h"
#include "core/listing_player.h"
#include "core/tform1.h"
#include "core/voice_clip_store.h"
#include "core/wave_player.h"
#include "platform/files.h"
#include "platform/null_audio_device.h"
#include "platform/posix/alsa_audio_device.h"
#include "platform/posix/curl_downloader.h"
#include "platform/posix/embedded_clip_store.h"
#include "platform/posix/posix_companion_channel.h"
#include "platform/posix/posix_durable_files.h"
#include "platform/posix/posix_event_loop.h"
#include "platform/posix/posix_serial_lines.h"
#include "platform/posix/xdg_autostart.h"
#include "platform/recorder_link.h"
#include "platform/simulated_station_library.h"
#include "platform/virtual_event_loop.h"
#include "platform/wav_file_device.h"
#include "radio/radio_station.h"
#include "radio/serial_port_list.h"
#include "shell/command_line.h"
#include "shell/read_source.h"
#include "shell/read_web_source.h"
#include "shell/settings_check.h"
#include "shell/tintal_program.h"

using namespace tintal;

namespace {

// The cuckoo sound is installed beside the program; a copy in the working folder takes precedence.
std::string defaultCuckooPath() {
    const std::string name = "tintal.wav";
    if (std::filesystem::exists(name)) return name;
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error && std::filesystem::exists(exe.parent_path() / name)) return (exe.parent_path() / name).string();
    return name;
}

// The settings a command line may give, applied as a user would set the controls.
void applyOptions(TForm1& form, const Options& options) {
    if (form.cuckooFilePath == "tintal.wav") form.cuckooFilePath = defaultCuckooPath();
    if (options.periodIndex) form.UpDownPeriode.setValue(*options.periodIndex);
    if (options.startHour) form.HourMenuItems[*options.startHour]->click();
    if (options.endHour) form.HourMenuItems[25 + *options.endHour]->click();
}

// The folder other radio programs read the weather exports from, made when missing ("" = none).
std::string makeExportFolder() {
    const std::string folder = linuxWebExportFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    std::error_code ignored;
    if (!folder.empty()) std::filesystem::create_directories(folder, ignored);
    return folder;
}

// Minutes from local time to UTC, as the Windows time-zone information gives them.
int localBiasMinutes() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return static_cast<int>(-local.tm_gmtoff / 60);
}

double localNow() {
    PosixEventLoop clock;
    return clock.localNow();
}

// French formats, and dialogs as lines on stderr.
class ConsoleDesktop : public FrenchDesktop {
public:
    void showMessage(const std::string& text, MessageKind kind) override {
        FrenchDesktop::showMessage(text, kind);
        std::cerr << "tintal: " << text << '\n';
    }
};

int reportEnd(const std::string& status) {
    if (status == "TINTAL_DONE") return 0;
    if (const auto advice = soundDeviceAdvice(status)) return std::cerr << *advice, 1;
    std::cerr << "tintal: the announcement did not complete: " << status << '\n';
    return 1;
}

PosixEventLoop* runningLoop = nullptr;

// Signals are taken by a thread of their own, which ends a download at once (the window thread may
// be waiting on it) and hands the stop to the window thread.
std::thread startSignalWatcher(sigset_t signals, CurlDownloader& downloader) {
    return std::thread([signals, &downloader] {
        int signal = 0;
        sigwait(&signals, &signal);
        downloader.stop();
        if (runningLoop) runningLoop->post([] { runningLoop->quit(); });
    });
}

int listDevices() {
    PosixEventLoop loop;
    AlsaAudioDevice device(loop);
    const int count = device.deviceCount();
    if (count == 0) std::cout << "no sound output device\n";
    for (int i = 0; i < count; ++i)
        std::cout << i << ": " << device.deviceName(i).value_or("Erreur sorties lecture") << '\n';
    return 0;
}

// A clip as it starts, after the clock's time.
void printClip(EventLoop& loop, const std::string& clip) {
    const DateTimeFields t = decodeDateTime(loop.localNow());
    std::printf("%02d:%02d:%02d %s\n", t.hour, t.minute, t.second, clip.c_str());
    std::fflush(stdout);
}

// Prints each clip as it starts, then lets the real player sound it.
class AnnouncingPlayer : public ClipPlayer {
public:
    AnnouncingPlayer(ClipPlayer& inner, EventLoop& loop) : inner_(inner), loop_(loop) {}
    void setHost(PlayerHost* host) override { inner_.setHost(host); }
    void playClip(const std::string& name) override { say(name), inner_.playClip(name); }
    void playFile(const std::string& path) override { say(path), inner_.playFile(path); }
    bool clipPlaying() const override { return inner_.clipPlaying(); }
    void releaseDevice() override { inner_.releaseDevice(); }
    void markIdle() override { inner_.markIdle(); }
    void setOutputDevice(int device) override { inner_.setOutputDevice(device); }
    std::string allocateMemory() override { return inner_.allocateMemory(); }
    void freeMemory() override { inner_.freeMemory(); }

private:
    void say(const std::string& clip) {
        if (!inner_.clipPlaying()) printClip(loop_, clip);
    }
    ClipPlayer& inner_;
    EventLoop& loop_;
};

// The voice of the clock and --now: the sound card (the station's voice folder over the built-in clips)
// with each clip printed as it starts, or with --silent only the list of clips.
struct Speaking {
    Speaking(EventLoop& loop, Desktop& desktop, const std::string& folder, bool silent)
        : card(loop),
          clips(builtIn, voiceFolderPath(folder)),
          wave(loop, card, clips, desktop),
          sounding(wave, loop),
          listing(
              loop, [&loop](const ClipRequest& clip) { printClip(loop, clip.name); }, 700),
          silent(silent) {}
    AudioDevice& device() { return silent ? static_cast<AudioDevice&>(silentDevice) : card; }
    ClipPlayer& player() { return silent ? static_cast<ClipPlayer&>(listing) : sounding; }

    NullAudioDevice silentDevice;
    AlsaAudioDevice card;
    EmbeddedClipStore builtIn;
    VoiceClipStore clips;
    WavePlayer wave;
    AnnouncingPlayer sounding;
    ListingPlayer listing;
    bool silent;
};

// The working folder (--dir, else the user's configuration folder), made when missing and entered, so
// that the settings, the log and the relative sound files are found there, as beside the Windows program.
std::optional<std::string> enterWorkingFolder(const Options& options) {
    const std::string folder = workingFolderPath(options.dir);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error || chdir(folder.c_str()) != 0) {
        std::cerr << "tintal: cannot use the folder " << folder << ": "
                  << (error ? error.message() : std::strerror(errno)) << '\n';
        return std::nullopt;
    }
    return std::filesystem::current_path().string();
}

// No station vendor library exists for Linux: the Weather Monitor II window says so.
class NoStationLibrary : public SimulatedStationLibrary {
public:
    std::string unavailableReason() const override { return "pas de bibliothèque de station sous Linux"; }
};

std::string quotedArgument(const std::string& text) { return "\"" + text + "\""; }

// The Linux ports of the whole program, around the sound device and player the caller chose.
struct LinuxPorts {
    // loop: the one the downloads keep dispatching while they run.
    LinuxPorts(const std::string& folder, EventLoop* loop)
        : downloader(loop), autostart("--dir " + quotedArgument(folder)), exportFolder(makeExportFolder()) {
        desktop.biasMinutes = localBiasMinutes();
    }
    ProgramPorts ports(EventLoop& loop, ClipPlayer& player, AudioDevice& device) {
        return {loop,     desktop,    player, device,    library, lines,       channel,
                recorder, downloader, files,  autostart, "",      exportFolder};
    }
    ConsoleDesktop desktop;
    NoStationLibrary library;
    PosixSerialLines lines;
    PosixCompanionChannel channel{PosixCompanionChannel::namesFromEnvironment()};
    AbsentRecorderLink recorder;
    CurlDownloader downloader;
    PosixDurableFiles files;
    XdgAutostart autostart;
    std::string exportFolder;
};

// The command line's settings go over the file's, as a user would set the controls after the start.
void applyCommandLine(TintalProgram& program, const Options& options) {
    applyOptions(program.form, options);
    if (const auto number = portNumber(options.port)) program.radio.com().restorePort(*number);
}

int runClock(const Options& options) {
    const std::optional<std::string> folder = enterWorkingFolder(options);
    if (!folder) return 1;
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGHUP);  // a closing terminal or SSH session
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    PosixEventLoop loop;
    runningLoop = &loop;
    LinuxPorts adapters(*folder, &loop);
    Speaking speaking(loop, adapters.desktop, *folder, options.silent);
    TintalProgram program(adapters.ports(loop, speaking.player(), speaking.device()));
    program.form.onLoadSettings = [&] {
        program.settings.LoadConfig();
        applyCommandLine(program, options);
    };
    program.onCloseRequested = [&] { loop.quit(); };
    program.form.EditData.onChange = [&] { std::fprintf(stderr, "%s\n", program.form.EditData.text().c_str()); };
    std::cerr << "tintal: settings in " << *folder << "/tintal.ini\n";
    program.start();
    if (const std::string report = speaking.clips.statusText(); !report.empty()) program.form.EditData.setText(report);
    std::thread watcher = startSignalWatcher(signals, adapters.downloader);
    loop.run();
    program.close();
    // The watcher may still wait: a signal of our own ends it before what it refers to goes.
    pthread_kill(watcher.native_handle(), SIGTERM);
    watcher.join();
    runningLoop = nullptr;
    return 0;
}

// One announcement now on the sound card, in real time, with the settings of the working folder
// (which it leaves as they are).
int speakNow(const Options& options) {
    const std::optional<std::string> folder = enterWorkingFolder(options);
    if (!folder) return 1;
    PosixEventLoop loop;
    LinuxPorts adapters(*folder, &loop);
    Speaking speaking(loop, adapters.desktop, *folder, options.silent);
    TintalProgram program(adapters.ports(loop, speaking.player(), speaking.device()));
    program.form.onLoadSettings = [&] {
        program.settings.LoadConfig();
        applyCommandLine(program, options);
    };
    program.form.onSaveSettings = nullptr;
    program.start();
    while (program.form.ConfigPending) loop.pump(100);
    TForm1& form = program.form;
    // The end's own status: the companion link may write its own right after it.
    std::string status;
    form.EditData.onChange = [&] {
        const std::string& text = form.EditData.text();
        if (!status.empty() || (text != "TINTAL_DONE" && text.rfind("Err", 0) != 0)) return;
        status = text;
        loop.quit();
    };
    form.Button1.click();
    if (form.announcing) loop.run();
    program.close();
    return reportEnd(status.empty() ? form.EditData.text() : status);
}

// A download that never happens: a settings check must not reach the network.
class OfflineDownloader : public Downloader {
public:
    void download(const std::string&, const std::string&) override { throw DownloadError("hors ligne"); }
    void purgeCacheEntry(const std::string&) override {}
};

// Loads tintal.ini into the controls and saves them back, as a start and a save from the menu do,
// reporting what it could not take.
int saveConfig(const Options& options) {
    const std::optional<std::string> folder = enterWorkingFolder(options);
    if (!folder) return 1;
    VirtualEventLoop loop(localNow());
    LinuxPorts adapters(*folder, nullptr);
    OfflineDownloader offline;
    PosixCompanionChannel privateChannel(CompanionNames::withSuffix(".check" + std::to_string(getpid())));
    NullAudioDevice device;
    ListingPlayer player(
        loop, [](const ClipRequest&) {}, 0);
    // ProgramPorts holds references: the check's own channel and downloader are put in at construction.
    const ProgramPorts base = adapters.ports(loop, player, device);
    TintalProgram program({base.loop, base.desktop, base.player, base.audio, base.stationLibrary, base.serialLines,
                           privateChannel, base.recorder, offline, base.durableFiles, base.autostart,
                           base.workingFolder, base.exportFolder});
    program.start();
    loop.advanceUntil([&] { return !program.form.ConfigPending; }, 5000);
    const int status = checkAndSaveSettings(program, *folder + "/tintal.ini", std::cout, std::cerr);
    program.form.onSaveSettings = nullptr;
    program.close();
    return status;
}

// Previews: the working folder's settings and weather source, nothing keyed, sent or written back.
int preview(const Options& options, double at) {
    // The WAV file is named from where the command was typed, before the working folder is entered.
    const std::string renderPath = options.dryRun ? "" : std::filesystem::absolute(options.renderPath).string();
    const std::optional<std::string> folder = enterWorkingFolder(options);
    if (!folder) return 1;
    ConsoleDesktop desktop;
    desktop.biasMinutes = localBiasMinutes();
    NoStationLibrary library;
    const PreviewContext context{desktop, library, [&](TForm1& form) { applyOptions(form, options); },
                                 voiceFolderPath(*folder)};
    return options.dryRun ? previewDryRun(at, context) : previewRender(renderPath, at, context);
}

int listPorts() {
    PosixSerialLines lines;
    for (const std::string& entry : buildPortList(lines.portNames())) std::cout << entry << '\n';
    return 0;
}

// A hardware check: the transmitter keyed for one second, with what the inputs read meanwhile.
int testPtt(const std::string& port) {
    PosixSerialLines lines;
    const std::string device = lines.devicePath(port).value_or("?");
    if (!lines.open(port)) {
        std::cerr << "tintal: Erreur port COM: " << port << " (" << device << ") cannot be opened\n";
        return 1;
    }
    const bool dtr = lines.setDtr(true);
    const bool rts = lines.setRts(true);
    std::cout << port << " (" << device << "): DTR " << (dtr ? "on" : "refused") << ", RTS " << (rts ? "on" : "refused")
              << std::endl;
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const auto inputs = lines.readInputs();
    lines.setDtr(false);
    lines.setRts(false);
    lines.close();
    if (inputs) {
        std::cout << "CTS=" << (inputs->cts ? "On" : "Off") << " DSR=" << (inputs->dsr ? "On" : "Off")
                  << " DCD=" << (inputs->dcd ? "On" : "Off") << '\n';
    }
    std::cout << "DTR and RTS released\n";
    return dtr || rts ? 0 : 1;
}

int readWebSource(const Options& options) {
    PosixEventLoop loop;
    FrenchDesktop desktop;
    desktop.biasMinutes = localBiasMinutes();
    CurlDownloader downloader(&loop);
    WebSourceRun run{loop, desktop, downloader, "", makeExportFolder(), std::cout};
    const std::string& kind = options.readSourceKind;
    const std::string& path = options.readSourcePath;
    int status = 2;
    if (kind == "metar") {
        status = readMetarSource(path, run);
    } else if (kind == "aprs") {
        status = readAprsSource(path, run);
    } else if (kind == "piu") {
        status = readPioupiouSource(path, run);
    }
    for (const std::string& message : desktop.messages) std::cerr << message << '\n';
    return status;
}

// One read of a station file or of a web source, printed as its window shows it.
int readSourceOnce(const Options& options, double at) {
    const std::vector<std::string> stations = readSourceKinds();
    if (std::find(stations.begin(), stations.end(), options.readSourceKind) == stations.end())
        return readWebSource(options);
    VirtualEventLoop loop(at);
    FrenchDesktop desktop;
    StdFiles files;
    return printSourceRead(options.readSourceKind, options.readSourcePath, {loop, desktop, files}, std::cout);
}

}  // namespace

int main(int argc, char** argv) {
    if (const auto status = runSoundModes(argc, argv)) return *status;
    std::string error;
    const std::optional<Options> options = parseCommandLine(argc, argv, error);
    if (!options) {
        std::cerr << "tintal: " << error << "\n" << usageText();
        return 2;
    }
    if (options->help) {
        std::cout << usageText();
        return 0;
    }
    const double at = options->at ? *options->at : localNow();
    if (!options->readSourceKind.empty()) return readSourceOnce(*options, at);
    if (options->listDevices) return listDevices();
    if (options->listPorts) return listPorts();
    if (!options->testPttPort.empty()) return testPtt(options->testPttPort);
    if (options->saveConfig) return saveConfig(*options);
    if (options->now) return speakNow(*options);
    if (options->dryRun || !options->renderPath.empty()) return preview(*options, at);
    return runClock(*options);
}

#pragma once
// The Linux program put together: its ports, its voice, and the command line's settings over the file's.
#include <optional>
#include <string>

#include "app/posix_announcing_player.h"
#include "core/listing_player.h"
#include "core/voice_clip_store.h"
#include "core/wave_player.h"
#include "platform/null_audio_device.h"
#include "platform/posix/alsa_audio_device.h"
#include "platform/posix/console_desktop.h"
#include "platform/posix/curl_downloader.h"
#include "platform/posix/embedded_clip_store.h"
#include "platform/posix/no_station_library.h"
#include "platform/posix/posix_companion_channel.h"
#include "platform/posix/posix_durable_files.h"
#include "platform/posix/posix_event_loop.h"
#include "platform/posix/posix_serial_lines.h"
#include "platform/posix/xdg_autostart.h"
#include "platform/recorder_link.h"
#include "shell/command_line.h"
#include "shell/tintal_program.h"

namespace tintal {

// The local time now, from the system clock.
double localNow();
// The working folder (--dir, else the user's configuration folder), made when missing and entered, so
// that the settings, the log and the relative sound files are found there, as beside the Windows
// program. nullopt (after saying why on stderr) when it cannot be used.
std::optional<std::string> enterWorkingFolder(const Options& options);
// The folder other radio programs read the weather exports from, made when missing ("" = none).
std::string makeExportFolder();
// The settings a command line may give, applied as a user would set the controls.
void applyOptions(TForm1& form, const Options& options);

// The Linux ports of the whole program, around the sound device and player the caller chose.
struct LinuxPorts {
    // loop: the one the downloads keep dispatching while they run.
    LinuxPorts(const std::string& folder, EventLoop* loop);
    ProgramPorts ports(EventLoop& loop, ClipPlayer& player, AudioDevice& device);

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

// The voice of the clock and --now: the sound card (the station's voice folder over the built-in clips)
// with each clip printed as it starts, or with --silent only the list of clips.
struct Speaking {
    Speaking(EventLoop& loop, Desktop& desktop, const std::string& folder, bool silent);
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

// The whole program on the Linux ports and the sound card, in the working folder, with the command
// line's settings applied over the file's once it is loaded.
struct LinuxProgram {
    LinuxProgram(PosixEventLoop& loop, const std::string& folder, const Options& options);

    LinuxPorts host;
    Speaking speaking;
    TintalProgram program;
};

}  // namespace tintal

#include "app/posix_sound_modes.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "core/clip_catalogue.h"
#include "core/voice_clip_store.h"
#include "platform/posix/alsa_audio_device.h"
#include "platform/posix/embedded_clip_store.h"

namespace tintal {

namespace {

void appendNames(std::string& out, const char* title, const std::vector<std::string>& names) {
    out += std::string(title) + " (" + std::to_string(names.size()) + "):";
    for (const std::string& name : names) out += " " + name;
    out += "\n";
}

}  // namespace

std::string workingFolderPath(const std::string& dir) {
    if (!dir.empty()) return dir;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    return xdg && *xdg == '/' ? std::string(xdg) + "/tintal" : std::string(home ? home : ".") + "/.config/tintal";
}

std::string voiceFolderPath(const std::string& workingFolder) {
    return workingFolder + "/" + VoiceClipStore::kFolderName;
}

bool printVoiceCheck(const std::string& folder, std::string& out) {
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        out += folder + ": no such folder; all " + std::to_string(kClipCount) + " clips are built in\n";
        return false;
    }
    const EmbeddedClipStore builtIn;
    const VoiceClipStore voice(builtIn, folder);
    out += "voice folder " + folder + "\n";
    appendNames(out, "replaced", voice.replaced());
    appendNames(out, "missing (built in)", voice.missing());
    out += "unusable (" + std::to_string(voice.unusable().size()) + ")" + (voice.unusable().empty() ? "" : ":") + "\n";
    for (const auto& file : voice.unusable()) out += "  " + file.file + ": " + file.reason + "\n";
    return voice.unusable().empty();
}

std::optional<std::string> soundDeviceAdvice(const std::string& status) {
    if (status != "Err: ouverture carte son" && status != "Err: WaveOutOpen") return std::nullopt;
    std::string line = "tintal: no sound output answers on the ALSA device \"default\"";
    if (const std::string detail = AlsaAudioDevice::lastLibraryMessage(); !detail.empty()) line += " (" + detail + ")";
    return line +
           "; see tintal --list-devices, or write the announcement to a file with --render FILE.wav"
           " (--verbose shows ALSA's messages)\n";
}

std::optional<int> runSoundModes(int& argc, char** argv) {
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--verbose") == 0) {
            AlsaAudioDevice::showLibraryMessages(true);
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    argv[argc] = nullptr;
    if (argc < 2 || std::strcmp(argv[1], "--check-voice") != 0) return std::nullopt;
    if (argc > 3) {
        std::cerr << "tintal: --check-voice takes one folder at most\n";
        return 2;
    }
    const std::string folder = argc == 3 ? argv[2] : voiceFolderPath(workingFolderPath(""));
    std::string report;
    const bool usable = printVoiceCheck(folder, report);
    std::cout << report;
    return usable ? 0 : 1;
}

}  // namespace tintal

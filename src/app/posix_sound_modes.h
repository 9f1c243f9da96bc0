#pragma once
// The Linux program's sound-side options, taken before the others: --verbose (ALSA's own messages
// on stderr) and --check-voice [FOLDER] (what a voice folder replaces).
#include <optional>
#include <string>

namespace tintal {

// Removes --verbose from the arguments, and runs --check-voice when it is the first; returns the
// exit status when the program is done.
std::optional<int> runSoundModes(int& argc, char** argv);
// The working folder: dir, else $XDG_CONFIG_HOME/tintal, else ~/.config/tintal.
std::string workingFolderPath(const std::string& dir);
// The voice folder of a working folder.
std::string voiceFolderPath(const std::string& workingFolder);
// One line that tells what to do when the announcement ended on the device-open error; nullopt otherwise.
std::optional<std::string> soundDeviceAdvice(const std::string& status);
// The lines of a voice folder's check, and whether every file in it is usable.
bool printVoiceCheck(const std::string& folder, std::string& out);

}  // namespace tintal

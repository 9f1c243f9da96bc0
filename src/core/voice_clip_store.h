#pragma once
// The station's own voice: recordings in a folder that replace the built-in clips of the same name
// (any case), each checked as the player checks a sound file. A file that fails the check, or whose
// name is no clip's, replaces nothing and is reported.
#include <map>
#include <string>
#include <vector>

#include "platform/clip_store.h"

namespace tintal {

class VoiceClipStore : public ClipStore {
public:
    // The folder's name inside the working folder.
    static constexpr const char* kFolderName = "voix";
    // Larger files are refused rather than held in memory.
    static constexpr std::uintmax_t kMaxFileBytes = 16u * 1024 * 1024;

    struct Unusable {
        std::string file;
        std::string reason;  // French, as the status line shows it
    };

    // Reads the folder (UTF-8 path) once; a missing folder replaces nothing.
    VoiceClipStore(const ClipStore& builtIn, const std::string& folder);

    std::optional<std::span<const std::uint8_t>> find(std::string_view name) const override;

    // Canonical names of the clips the folder replaces, and of those it leaves built in, in catalogue order.
    std::vector<std::string> replaced() const;
    std::vector<std::string> missing() const;
    // Files of the folder that replace nothing, in name order.
    const std::vector<Unusable>& unusable() const { return unusable_; }
    // The status line's report of the unusable files; "" when there is none.
    std::string statusText() const;

private:
    void consider(const std::string& file, const std::string& path);

    const ClipStore& builtIn_;
    std::map<std::string, std::vector<std::uint8_t>> voices_;  // by canonical name
    std::vector<Unusable> unusable_;
};

}  // namespace tintal

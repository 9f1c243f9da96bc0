#include "core/voice_clip_store.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "core/clip_catalogue.h"
#include "core/wave_reader.h"
#include "core/wave_source.h"
#include "platform/clip_store.h"
#include "platform/file_path.h"
#include "platform/files.h"

namespace tintal {

namespace {

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// The player's texts without their "Err: " mark, which the status line puts once in front.
std::string reasonOf(const std::string& text) { return text.rfind("Err: ", 0) == 0 ? text.substr(5) : text; }

}  // namespace

VoiceClipStore::VoiceClipStore(const ClipStore& builtIn, const std::string& folder) : builtIn_(builtIn) {
    for (const std::string& file : folderEntries(folder)) {
        if (file.size() > 4 && lowerCase(file.substr(file.size() - 4)) == ".wav") {
            consider(file, pathIn(folder, file));
        }
    }
}

void VoiceClipStore::consider(const std::string& file, const std::string& path) {
    const std::string stem = file.substr(0, file.size() - 4);
    if (!isCatalogueClip(stem)) {
        unusable_.push_back({file, "nom de clip inconnu"});
        return;
    }
    const std::string name = canonicalClipName(stem);
    if (voices_.count(name) != 0) {
        unusable_.push_back({file, "en double"});
        return;
    }
    const auto size = fileSize(path);
    if (!size || *size > kMaxFileBytes) {
        unusable_.push_back({file, !size ? reasonOf(kFileTexts.notFound) : "fichier trop grand"});
        return;
    }
    auto bytes = readWholeFile(path);
    if (!bytes) {
        unusable_.push_back({file, reasonOf(kFileTexts.chunkRead)});
        return;
    }
    MemoryWaveSource source(*bytes);
    PcmFormat format;
    std::vector<std::uint8_t> samples;
    std::string fault = readWave(source, kFileTexts, format, samples);
    if (fault.empty() && samples.size() < static_cast<std::size_t>(format.blockAlign)) fault = "aucun son";
    if (!fault.empty()) {
        unusable_.push_back({file, reasonOf(fault)});
        return;
    }
    voices_.emplace(name, std::move(*bytes));
}

std::optional<std::span<const std::uint8_t>> VoiceClipStore::find(std::string_view name) const {
    const auto voice = voices_.find(canonicalClipName(name));
    if (voice != voices_.end()) return std::span<const std::uint8_t>(voice->second);
    return builtIn_.find(name);
}

std::vector<std::string> VoiceClipStore::replaced() const {
    std::vector<std::string> names;
    for (const std::string_view name : clipNames()) {
        if (voices_.count(std::string(name)) != 0) names.emplace_back(name);
    }
    return names;
}

std::vector<std::string> VoiceClipStore::missing() const {
    std::vector<std::string> names;
    for (const std::string_view name : clipNames()) {
        if (voices_.count(std::string(name)) == 0) names.emplace_back(name);
    }
    return names;
}

std::string VoiceClipStore::statusText() const {
    if (unusable_.empty()) return {};
    std::string text = "Err: voix " + unusable_.front().file + " (" + unusable_.front().reason + ")";
    if (unusable_.size() > 1) text += " et " + std::to_string(unusable_.size() - 1) + " autre(s)";
    return text;
}

}  // namespace tintal

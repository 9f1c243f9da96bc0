#include "config/key_table.h"

#include "config/settings_text.h"

namespace tintal {

std::vector<std::string> KeyTable::write() const {
    std::vector<std::string> lines;
    for (const SettingsKey& key : keys_) {
        if (key.write) key.write(lines);
    }
    return lines;
}

LineVerdict KeyTable::apply(std::string_view line) const {
    const std::optional<SettingsEntry> entry = splitSettingsEntry(line);
    if (!entry) return LineVerdict::NoEquals;
    bool taken = false, refused = false;
    for (const SettingsKey& key : keys_) {
        if (!key.read) continue;
        const KeyRead outcome = key.read(entry->keyWithEquals, entry->value);
        taken = taken || outcome == KeyRead::Taken;
        refused = refused || outcome == KeyRead::Refused;
    }
    if (taken) return LineVerdict::Taken;
    return refused ? LineVerdict::InvalidValue : LineVerdict::UnknownKey;
}

}  // namespace tintal

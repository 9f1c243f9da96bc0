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

void KeyTable::apply(std::string_view line) const {
    const std::optional<SettingsEntry> entry = splitSettingsEntry(line);
    if (!entry) return;
    for (const SettingsKey& key : keys_) {
        if (key.read) key.read(entry->keyWithEquals, entry->value);
    }
}

}  // namespace tintal

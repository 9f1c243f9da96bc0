#include "config/settings_file.h"

#include "config/settings_text.h"

namespace tintal {

void SettingsFile::load(const KeyTable& table) {
    if (!existedAtStart_) return;
    const auto bytes = files_.read(path_);
    if (!bytes) return;
    for (const std::string& line : splitSettingsLines(*bytes)) table.apply(line);
}

DurableFiles::Outcome SettingsFile::save(const KeyTable& table) {
    std::vector<std::string> lines{settingsTitleLine(kProgramVersion)};
    for (std::string& line : table.write()) lines.push_back(std::move(line));
    return files_.replace(path_, tempPath_, joinSettingsLines(lines), true);
}

}  // namespace tintal

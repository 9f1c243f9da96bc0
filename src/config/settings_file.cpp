#include "config/settings_file.h"

#include "config/settings_text.h"

namespace tintal {

std::string describe(LineVerdict why) {
    switch (why) {
        case LineVerdict::NoEquals: return "no \"=\"";
        case LineVerdict::UnknownKey: return "unknown key";
        case LineVerdict::InvalidValue: return "value not valid for that key";
        case LineVerdict::Taken: break;
    }
    return {};
}

std::vector<SettingsLineProblem> SettingsFile::load(const KeyTable& table) {
    std::vector<SettingsLineProblem> problems;
    state_ = State::Loaded;
    if (!existedAtStart_) return problems;
    const auto bytes = files_.read(path_);
    if (!bytes) {
        state_ = State::Unreadable;
        return problems;
    }
    const std::vector<std::string> lines = splitSettingsLines(*bytes);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const LineVerdict verdict = table.apply(lines[i]);
        const bool title = i == 0 && lines[i].rfind("[TINTAL", 0) == 0;
        if (verdict != LineVerdict::Taken && !title && !lines[i].empty()) {
            problems.push_back({static_cast<int>(i + 1), lines[i], verdict});
        }
    }
    return problems;
}

DurableFiles::Outcome SettingsFile::save(const KeyTable& table) {
    std::vector<std::string> lines{settingsTitleLine(kProgramVersion)};
    for (std::string& line : table.write()) lines.push_back(std::move(line));
    return files_.replace(path_, tempPath_, joinSettingsLines(lines), true);
}

}  // namespace tintal

#include "shell/tintal_log.h"

#include "config/settings_text.h"

namespace tintal {

void TintalLog::load() {
    if (!existedAtStart_) return;
    if (auto bytes = files_.read(path_)) MemoLog = splitSettingsLines(*bytes);
}

void TintalLog::AddLogLine(const std::string& message, double now) {
    MemoLog.push_back(desktop_.shortDate(now) + " " + desktop_.longTime(now) + " " + message);
    if (MemoLog.size() > kMaxLines)
        MemoLog.erase(MemoLog.begin() + 1, MemoLog.begin() + 1 + (MemoLog.size() - kMaxLines));
    files_.replace(path_, tempPath_, joinSettingsLines(MemoLog), false);
}

}  // namespace tintal

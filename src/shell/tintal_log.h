#pragma once
// tintal.log: the title "Log TINTAL", then one dated entry per line, the newest last, at most 2160
// lines in all. The file always holds the whole buffer and is replaced whole at each entry, so a
// crash while writing leaves the previous log, never a torn one.
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/durable_files.h"

namespace tintal {

class TintalLog {
public:
    static constexpr std::size_t kMaxLines = 2160;
    inline static const std::string kTitle = "Log TINTAL";

    TintalLog(DurableFiles& files, Desktop& desktop, std::string path = "tintal.log",
              std::string tempPath = "tintal.~lo")
        : files_(files), desktop_(desktop), path_(std::move(path)), tempPath_(std::move(tempPath)) {}

    void noteStart() { existedAtStart_ = files_.exists(path_); }
    // The file's lines replace the design content when the file was there at start; errors are ignored.
    void load();
    // "date time message", appended; the oldest entries go first past the cap, never the title. Failures
    // are ignored: the entry may be lost, the program goes on.
    void AddLogLine(const std::string& message, double now);

    // MemoLog, the buffer the file mirrors.
    const std::vector<std::string>& lines() const { return MemoLog; }

private:
    DurableFiles& files_;
    Desktop& desktop_;
    std::string path_, tempPath_;
    bool existedAtStart_ = false;
    std::vector<std::string> MemoLog{kTitle, ""};
};

}  // namespace tintal

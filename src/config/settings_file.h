#pragma once
// tintal.ini: read once after start-up into the controls, rewritten whole from them at each save.
#include <string>
#include <string_view>
#include <vector>

#include "base/version.h"
#include "config/key_table.h"
#include "platform/durable_files.h"

namespace tintal {

// A line of the file that loading could not take, for the settings check.
struct SettingsLineProblem {
    int number;  // 1 = the first line
    std::string line;
    LineVerdict why;
};
std::string describe(LineVerdict why);

class SettingsFile {
public:
    explicit SettingsFile(DurableFiles& files, std::string path = "tintal.ini", std::string tempPath = "tintal.~in")
        : files_(files), path_(std::move(path)), tempPath_(std::move(tempPath)) {}

    // Notes whether the file is there; start-up asks once, before any window exists.
    void noteStart() { existedAtStart_ = files_.exists(path_); }

    // Applies every line of the file, first to last, by the table's matching rule, and returns the
    // lines it could not take (the title line and blank lines are not counted). Nothing is applied
    // when there was no file at start or it cannot be read now.
    std::vector<SettingsLineProblem> load(const KeyTable& table);

    enum class State {
        NotLoaded,   // before the load: a save now would put the defaults in place of the user's file
        Loaded,      // read, or there was none: the controls hold the settings
        Unreadable,  // there but not readable: the controls hold defaults, the file must be kept
    };
    State state() const { return state_; }
    // Only settings that were loaded from the file (or stand for a missing one) may replace it.
    bool mayReplace() const { return state_ == State::Loaded; }

    // The title line, then the table's lines, put in place of the file in one step. On failure the
    // previous file is still in force (or, past staging, the new content waits in the temporary file).
    // The caller asks mayReplace() first.
    DurableFiles::Outcome save(const KeyTable& table);

    const std::string& path() const { return path_; }

private:
    DurableFiles& files_;
    std::string path_, tempPath_;
    bool existedAtStart_ = false;
    State state_ = State::NotLoaded;
};

}  // namespace tintal

#pragma once
// tintal.ini: read once after start-up into the controls, rewritten whole from them at each save.
#include <string>
#include <string_view>

#include "base/version.h"
#include "config/key_table.h"
#include "platform/durable_files.h"

namespace tintal {

class SettingsFile {
public:
    explicit SettingsFile(DurableFiles& files, std::string path = "tintal.ini", std::string tempPath = "tintal.~in")
        : files_(files), path_(std::move(path)), tempPath_(std::move(tempPath)) {}

    // Notes whether the file is there; start-up asks once, before any window exists.
    void noteStart() { existedAtStart_ = files_.exists(path_); }
    bool existedAtStart() const { return existedAtStart_; }

    // Applies every line of the file, first to last, by the table's matching rule. Nothing happens when
    // there was no file at start or it cannot be read now.
    void load(const KeyTable& table);
    // The title line, then the table's lines, put in place of the file in one step. On failure the
    // previous file is still in force (or, past staging, the new content waits in the temporary file).
    DurableFiles::Outcome save(const KeyTable& table);

    const std::string& path() const { return path_; }

private:
    DurableFiles& files_;
    std::string path_, tempPath_;
    bool existedAtStart_ = false;
};

}  // namespace tintal

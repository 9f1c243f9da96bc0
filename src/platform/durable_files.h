#pragma once
// The files the program rewrites whole, its settings and its log: a crash or a power cut at any
// moment leaves either the old content or the new one, never neither.
//
// Contract: window thread; paths are UTF-8, relative to the working folder.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tintal {

class DurableFiles {
public:
    virtual ~DurableFiles() = default;

    virtual bool exists(const std::string& path) = 0;
    // The whole file; nullopt when it cannot be read.
    virtual std::optional<std::vector<std::uint8_t>> read(const std::string& path) = 0;

    enum class Step { Done, Staging, Replacing };
    struct Outcome {
        Step failedAt = Step::Done;  // Done: the new content is in place
        std::string error;           // the system's text when something failed
        explicit operator bool() const { return failedAt == Step::Done; }
    };
    // Writes bytes to tempPath (first removing a left-over one, even read-only) and forces them to the
    // disk (Staging); then puts tempPath in place of path in one step, replacing it even when it is
    // read-only, and forces that too (Replacing). A failure while staging leaves path untouched; a
    // failure while replacing leaves path as it was and the new content in tempPath. When readOnly,
    // path is marked read-only once replaced.
    virtual Outcome replace(const std::string& path, const std::string& tempPath, std::span<const std::uint8_t> bytes,
                            bool readOnly) = 0;
};

}  // namespace tintal

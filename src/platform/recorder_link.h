#pragma once
// The recorder program, reached through its main window: found by class and title, sent one text
// command at a time, and started through the shell when it is not running.
//
// Responsibilities:
// - Window thread only. sendCommand() blocks until the recorder has handled the command.
// - Commands are UTF-8 here; the adapter sends them as NUL-terminated Windows-1252 text with the
//   data identifier 0.
// - The answer is the recorder's own number, passed on untouched.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tintal {

inline constexpr std::string_view kRecorderWindowClass = "TFormZorvane";
inline constexpr std::string_view kRecorderWindowTitle = "PALVOMANE";

class RecorderLink {
public:
    virtual ~RecorderLink() = default;

    virtual bool windowExists() = 0;
    // The recorder's answer; nullopt when its window is not there.
    virtual std::optional<std::intptr_t> sendCommand(std::string_view command) = 0;
    // Opens the program with the shell's "open" verb in a normal window; false when the shell refused
    // (the caller still looks for the window: a shell may refuse and yet start it, or the reverse).
    virtual bool launch(const std::string& path) = 0;
    // False on a system where no recorder can ever be started.
    virtual bool canLaunch() const { return true; }
};

// Systems without the recorder's windows (Linux): it is never found and never started.
class AbsentRecorderLink : public RecorderLink {
public:
    bool windowExists() override { return false; }
    std::optional<std::intptr_t> sendCommand(std::string_view) override { return std::nullopt; }
    bool launch(const std::string&) override { return false; }
    bool canLaunch() const override { return false; }
};

}  // namespace tintal

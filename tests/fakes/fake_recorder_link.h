#pragma once
// A scripted recorder: whether its window is there, when a launch makes it appear, what it answers.
// Every call is kept with the virtual time it came at.
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/event_loop.h"
#include "platform/recorder_link.h"

namespace tintal {

class FakeRecorderLink : public RecorderLink {
public:
    explicit FakeRecorderLink(const EventLoop& loop) : loop_(loop) {}

    bool windowExists() override;
    std::optional<std::intptr_t> sendCommand(std::string_view command) override;
    bool launch(const std::string& path) override;
    bool canLaunch() const override { return canLaunchPrograms; }

    struct Call {
        std::string what;  // "look", "launch <path>", or the command text
        std::int64_t atMs;
    };
    const std::vector<Call>& calls() const { return calls_; }
    // The commands alone, in order.
    std::vector<std::string> commands() const;
    // When the command was sent; -1 when it never was.
    std::int64_t sentAt(const std::string& command) const;

    // Set-up.
    bool running = false;
    int looksBeforeAppearing = 1;      // after a launch, the window is there from this look on
    bool launchAppears = true;         // false: a launched program never shows its window
    bool launchRefused = false;        // the shell cannot start the program
    bool canLaunchPrograms = true;     // false: a system without recorders (Linux)
    std::intptr_t answer = -1;         // -1: the recorder answers the command's own number (1, 2, 3)
    bool closesOnCloseCommand = true;  // "Zorvane close" takes the window away

private:
    const EventLoop& loop_;
    std::vector<Call> calls_;
    int looksLeft_ = -1;  // counting down after a launch
};

}  // namespace tintal

#include "fakes/fake_recorder_link.h"

namespace tintal {

bool FakeRecorderLink::windowExists() {
    calls_.push_back({"look", loop_.monotonicMs()});
    if (!running && looksLeft_ > 0 && --looksLeft_ == 0) running = true;
    return running;
}

std::optional<std::intptr_t> FakeRecorderLink::sendCommand(std::string_view command) {
    if (!running) return std::nullopt;
    calls_.push_back({std::string(command), loop_.monotonicMs()});
    std::intptr_t reply = answer;
    if (reply < 0) reply = command == "Zorvane record" ? 1 : command == "Zorvane stop" ? 2 : 3;
    if (command == "Zorvane close" && closesOnCloseCommand) running = false;
    return reply;
}

bool FakeRecorderLink::launch(const std::string& path) {
    calls_.push_back({"launch " + path, loop_.monotonicMs()});
    if (launchRefused) return false;
    if (launchAppears) looksLeft_ = looksBeforeAppearing;
    return true;
}

std::vector<std::string> FakeRecorderLink::commands() const {
    std::vector<std::string> out;
    for (const Call& call : calls_) {
        if (call.what.starts_with("Zorvane")) out.push_back(call.what);
    }
    return out;
}

std::int64_t FakeRecorderLink::sentAt(const std::string& command) const {
    for (const Call& call : calls_) {
        if (call.what == command) return call.atMs;
    }
    return -1;
}

}  // namespace tintal

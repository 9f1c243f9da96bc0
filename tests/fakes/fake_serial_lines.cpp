#include "fakes/fake_serial_lines.h"

#include <algorithm>

namespace tintal {

bool FakeSerialLines::open(std::string_view portName) {
    close();
    const std::string name(portName);
    const bool exists = std::find(names.begin(), names.end(), name) != names.end();
    if (!exists || unopenable.contains(name)) {
        events_.push_back("open " + name + " failed");
        return false;
    }
    events_.push_back("open " + name);
    openPort_ = name;
    dtr_ = rts_ = false;  // the port's promise: nothing keyed after an open
    return true;
}

void FakeSerialLines::close() {
    if (openPort_.empty()) return;
    events_.push_back("close");
    openPort_.clear();
    dtr_ = rts_ = false;
}

bool FakeSerialLines::setLine(const char* line, bool on, bool& state) {
    std::string event = std::string(line) + (on ? " on" : " off");
    if (!isOpen()) {
        events_.push_back(event + " (no port)");
        return false;
    }
    events_.push_back(event);
    if (failLineCalls) return false;
    state = on;
    return true;
}

std::optional<ModemInputs> FakeSerialLines::readInputs() {
    ++reads;
    if (!isOpen() || failReads) return std::nullopt;
    if (!script.empty()) {
        const ModemInputs next = script.front();
        script.pop_front();
        return next;
    }
    return inputs;
}

}  // namespace tintal

#pragma once
// The session's start entry, in memory; a failure to order.
#include <string>

#include "platform/autostart.h"

namespace tintal {

struct FakeAutostart : Autostart {
    std::string set(bool on) override {
        ++writes;
        if (!error.empty()) return error;
        command = on ? "c:\\tintal\\tintal.exe" : "";
        return {};
    }
    std::string entry() override { return command; }
    std::string command, error;
    int writes = 0;
};

}  // namespace tintal

#pragma once
// Starting the program with the user's session.
//
// Contract: window thread. The entry names the running program by its current full path, so
// writing it again after the program has moved brings it up to date.
#include <string>

namespace tintal {

class Autostart {
public:
    virtual ~Autostart() = default;
    // Writes (on) or removes (off) the entry; returns the system's text on failure, empty on success.
    // Removing an entry that is not there succeeds.
    virtual std::string set(bool on) = 0;
    // The command the entry holds; empty when there is none.
    virtual std::string entry() = 0;
};

}  // namespace tintal

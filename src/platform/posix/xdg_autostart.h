#pragma once
#include "platform/autostart.h"

namespace tintal {

// $XDG_CONFIG_HOME/autostart/tintal.desktop (~/.config when unset), as desktop sessions read it.
class XdgAutostart : public Autostart {
public:
    // arguments are appended to the program's path in the entry (e.g. its working folder).
    explicit XdgAutostart(std::string arguments = {}) : arguments_(std::move(arguments)) {}
    std::string set(bool on) override;
    std::string entry() override;
    std::string entryPath() const;

private:
    std::string arguments_;
};

}  // namespace tintal

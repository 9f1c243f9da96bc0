#pragma once
#include "platform/autostart.h"

namespace tintal {

// The value "tintal" under the current user's Software\Microsoft\Windows\CurrentVersion\Run key.
class Win32Autostart : public Autostart {
public:
    std::string set(bool on) override;
    std::string entry() override;
};

}  // namespace tintal

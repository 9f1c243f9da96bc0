#pragma once
#include "platform/desktop.h"

namespace tintal {

// The user's own regional formats and the system beep.
class Win32Desktop : public Desktop {
public:
    void beep() override;
    void errorBox(const std::string& text) override;
    std::string shortDate(double dateTime) const override;
    std::string longTime(double dateTime) const override;
    char decimalSeparator() const override;
    std::optional<std::string> chooseFile(const std::string& filter, const std::string& defaultExtension) override;
};

}  // namespace tintal

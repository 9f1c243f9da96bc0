#pragma once
#include "platform/desktop.h"

namespace tintal {

// The user's own regional formats and the system beep.
class Win32Desktop : public Desktop {
public:
    void beep() override;
    std::string shortDate(double dateTime) const override;
    std::string longTime(double dateTime) const override;
    char decimalSeparator() const override;
    std::optional<std::string> chooseFile(const std::string& filter, const std::string& defaultExtension) override;
    void messageBox(const std::string& text) override;
    void setWarningBeep(bool on) override;
    int timeZoneBiasMinutes() const override;
    bool openInBrowser(const std::string& address) override;
};

}  // namespace tintal

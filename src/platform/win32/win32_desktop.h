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
    void showMessage(const std::string& text, MessageKind kind) override;
    bool openWithShell(const std::string& target) override;
    void setWarningBeep(bool on) override;
    int timeZoneBiasMinutes() const override;
};

}  // namespace tintal

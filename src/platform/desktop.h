#pragma once
// The user's desktop: the system beep and the user's locale formats.
//
// Contract: called on the window thread. Formats follow the user's regional settings; the test
// fake and headless runs use the French ones (dd/mm/yyyy, hh:mm:ss, decimal comma).
#include <optional>
#include <string>
#include <vector>

namespace tintal {

class Desktop {
public:
    virtual ~Desktop() = default;
    virtual void beep() = 0;
    // A modal box with an error icon and an OK button.
    virtual void errorBox(const std::string& text) = 0;
    // Date-times are days since 1899-12-30, local time.
    virtual std::string shortDate(double dateTime) const = 0;
    virtual std::string longTime(double dateTime) const = 0;
    virtual char decimalSeparator() const = 0;
    // The system's file-open dialog; filter is "Description|*.ext" pairs. nullopt when cancelled.
    virtual std::optional<std::string> chooseFile(const std::string& filter, const std::string& defaultExtension) = 0;
};

// French formats and no sound: for tests and programs without a desktop.
class FrenchDesktop : public Desktop {
public:
    void beep() override { ++beeps; }
    void errorBox(const std::string& text) override { errorBoxes.push_back(text); }
    std::string shortDate(double dateTime) const override;
    std::string longTime(double dateTime) const override;
    char decimalSeparator() const override { return ','; }
    // Answers with nextChosenFile (and forgets it); cancelled when it is empty.
    std::optional<std::string> chooseFile(const std::string& filter, const std::string&) override {
        lastFilter = filter;
        std::optional<std::string> chosen;
        chosen.swap(nextChosenFile);
        return chosen;
    }
    int beeps = 0;
    std::vector<std::string> errorBoxes;
    std::optional<std::string> nextChosenFile;
    std::string lastFilter;
};

}  // namespace tintal

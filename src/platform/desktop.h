#pragma once
// The user's desktop: the system beep, the user's locale formats, dialogs and the default browser.
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
    // Date-times are days since 1899-12-30, local time.
    virtual std::string shortDate(double dateTime) const = 0;
    virtual std::string longTime(double dateTime) const = 0;
    virtual char decimalSeparator() const = 0;
    // The system's file-open dialog; filter is "Description|*.ext" pairs. nullopt when cancelled.
    virtual std::optional<std::string> chooseFile(const std::string& filter, const std::string& defaultExtension) = 0;
    // A dialog with the text and an OK button, shown only for what the user asked for.
    virtual void messageBox(const std::string& text) { (void)text; }
    // The system's warning beep, off while a web source window is shown.
    virtual void setWarningBeep(bool on) { (void)on; }
    // Minutes from local time to UTC (UTC = local + bias), daylight part included.
    virtual int timeZoneBiasMinutes() const { return 0; }
    // Opens the address in the user's default browser; false when none could be started.
    virtual bool openInBrowser(const std::string& address) {
        (void)address;
        return false;
    }
};

// French formats and no sound: for tests and programs without a desktop.
class FrenchDesktop : public Desktop {
public:
    void beep() override { ++beeps; }
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
    void messageBox(const std::string& text) override { messages.push_back(text); }
    void setWarningBeep(bool on) override { warningBeep = on; }
    int timeZoneBiasMinutes() const override { return biasMinutes; }
    bool openInBrowser(const std::string& address) override {
        openedAddresses.push_back(address);
        return browserAvailable;
    }
    int beeps = 0;
    std::vector<std::string> messages;
    bool warningBeep = true;
    int biasMinutes = 0;
    std::vector<std::string> openedAddresses;
    bool browserAvailable = true;
    std::optional<std::string> nextChosenFile;
    std::string lastFilter;
};

}  // namespace tintal

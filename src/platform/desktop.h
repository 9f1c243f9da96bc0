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

    enum class MessageKind { Plain, Warning, Error };
    // A dialog with one OK button, owned by the program's main window; returns once dismissed.
    virtual void showMessage(const std::string& text, MessageKind kind) = 0;
    // Asks the shell to open a document or an address (in the default browser) with its default
    // action; false when it refused.
    virtual bool openWithShell(const std::string& target) = 0;
    // The system's warning beep, off while a web source window is shown.
    virtual void setWarningBeep(bool on) { (void)on; }
    // Minutes from local time to UTC (UTC = local + bias), daylight part included.
    virtual int timeZoneBiasMinutes() const { return 0; }

    void messageBox(const std::string& text) { showMessage(text, MessageKind::Plain); }
    void errorBox(const std::string& text) { showMessage(text, MessageKind::Error); }
    bool openInBrowser(const std::string& address) { return openWithShell(address); }
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
    void showMessage(const std::string& text, MessageKind kind) override {
        messages.push_back(text);
        messageKinds.push_back(kind);
        if (kind == MessageKind::Error) errorBoxes.push_back(text);
    }
    bool openWithShell(const std::string& target) override {
        opened.push_back(target);
        return shellOpens;
    }
    void setWarningBeep(bool on) override { warningBeep = on; }
    int timeZoneBiasMinutes() const override { return biasMinutes; }
    int beeps = 0;
    std::vector<std::string> messages;
    std::vector<MessageKind> messageKinds;
    std::vector<std::string> errorBoxes;
    std::vector<std::string> opened;
    bool shellOpens = true;
    bool warningBeep = true;
    int biasMinutes = 0;
    std::optional<std::string> nextChosenFile;
    std::string lastFilter;
};

}  // namespace tintal

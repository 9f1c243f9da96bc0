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
    // Date-times are days since 1899-12-30, local time.
    virtual std::string shortDate(double dateTime) const = 0;
    virtual std::string longTime(double dateTime) const = 0;
    virtual char decimalSeparator() const = 0;
    // The system's file-open dialog; filter is "Description|*.ext" pairs. nullopt when cancelled.
    virtual std::optional<std::string> chooseFile(const std::string& filter, const std::string& defaultExtension) = 0;

    enum class MessageKind { Plain, Warning, Error };
    // A dialog with one OK button, owned by the program's main window; returns once dismissed.
    virtual void showMessage(const std::string& text, MessageKind kind) = 0;
    // Asks the shell to open a document or an address with its default action; false when it refused.
    virtual bool openWithShell(const std::string& target) = 0;
    // A dialog with an error icon and an OK button.
    void errorBox(const std::string& text) { showMessage(text, MessageKind::Error); }
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
        messages.push_back({text, kind});
        if (kind == MessageKind::Error) errorBoxes.push_back(text);
    }
    bool openWithShell(const std::string& target) override {
        opened.push_back(target);
        return shellOpens;
    }
    int beeps = 0;
    struct Message {
        std::string text;
        MessageKind kind;
        bool operator==(const Message&) const = default;
    };
    std::vector<Message> messages;
    std::vector<std::string> errorBoxes;
    std::vector<std::string> opened;
    bool shellOpens = true;
    std::optional<std::string> nextChosenFile;
    std::string lastFilter;
};

}  // namespace tintal

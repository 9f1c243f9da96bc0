#pragma once
#include <string>

#include "platform/desktop.h"

namespace tintal {

// The Linux program's desktop: French formats, the user's time zone, and dialogs as lines on stderr.
class ConsoleDesktop : public FrenchDesktop {
public:
    ConsoleDesktop();
    void showMessage(const std::string& text, MessageKind kind) override;
};

}  // namespace tintal

#include "platform/posix/console_desktop.h"

#include <iostream>

#include "platform/posix/local_time_zone.h"

namespace tintal {

ConsoleDesktop::ConsoleDesktop() { biasMinutes = localBiasMinutes(); }

void ConsoleDesktop::showMessage(const std::string& text, MessageKind kind) {
    FrenchDesktop::showMessage(text, kind);
    std::cerr << "tintal: " << text << '\n';
}

}  // namespace tintal

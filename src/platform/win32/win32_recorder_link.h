#pragma once
#include <windows.h>

#include "platform/recorder_link.h"

namespace tintal {

// The recorder's window through FindWindowA and WM_COPYDATA; the program through ShellExecuteA.
class Win32RecorderLink : public RecorderLink {
public:
    // The window that signs each command (the clock's main window); may be set once it exists.
    void setSender(HWND sender) { sender_ = sender; }

    bool windowExists() override;
    std::optional<std::intptr_t> sendCommand(std::string_view command) override;
    bool launch(const std::string& path) override;

private:
    HWND sender_ = nullptr;
};

}  // namespace tintal

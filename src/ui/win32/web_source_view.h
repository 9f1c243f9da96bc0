#pragma once
// What the Win32 windows of the web sources and their favourites share: a hidden top-level window
// bound to a Window model, labels whose caption and colour follow their model, an address field that
// hands Enter to the model, and the layout of the controls every web source window has.
#include <windows.h>

#include <functional>
#include <memory>

#include "ui/win32/control_binding.h"
#include "ui/win32/window_placement.h"
#include "weather/web/web_source_window.h"
#include "widgets/label.h"

namespace tintal {

class WebWindowView {
public:
    // Creates the window, hidden until the model shows it; the close box hides it through the model.
    explicit WebWindowView(Window& form);
    WebWindowView(const WebWindowView&) = delete;
    WebWindowView& operator=(const WebWindowView&) = delete;

    HWND hwnd() const { return hwnd_; }
    ControlBinder& binder() { return *binder_; }

    // A static text showing the label's caption in its colour.
    HWND label(Label& label, RECT r);
    // A tick box whose caption is drawn in its validity colour.
    HWND figure(TickBox& box, RECT r);
    // An editable field that passes Enter to onEnter.
    HWND addressField(TextField& field, RECT r, std::function<void()> onEnter);

    std::function<void()> onActivate;

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    Window& form_;
    HWND hwnd_ = nullptr;
    HFONT font_ = nullptr;
    std::unique_ptr<ControlBinder> binder_;
    Placement placement_{};
};

// A web source's window: the controls every web source window has, at their places, then the source's own
// (addOwn), below them. dateLabel: the text before the observation time, which differs between the sources.
// The window lives as long as the program.
HWND createWebSourceWindow(WebSourceWindow& source, const std::string& dateLabel,
                           const std::function<void(WebWindowView&, ControlBinder&)>& addOwn);

}  // namespace tintal

#pragma once
#include "widgets/control.h"

namespace tintal {

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

// A top-level window: geometry and visibility. show() and hide() fire onShow and onClose; show() also
// asks for the window to come to the front, as showing a window that is already open does on the desktop.
class Window : public Control {
public:
    Window(std::string name, std::string caption, Rect bounds)
        : Control(std::move(name), std::move(caption)), bounds_(bounds) {
        setVisible(false);
    }
    const Rect& bounds() const { return bounds_; }
    void setBounds(Rect bounds) { changeAndRender(bounds_, bounds); }
    void show() {
        ++frontRequests_;
        if (visible()) {
            render();
            return;
        }
        setVisible(true);
        fire(onShow);
    }
    // Counts the show() calls, so that a view can tell a new request to come to the front.
    unsigned frontRequests() const { return frontRequests_; }
    void hide() {
        if (!visible()) return;
        fire(onClose);
        setVisible(false);
    }
    Handler onShow;
    Handler onClose;

private:
    Rect bounds_;
    unsigned frontRequests_ = 0;
};

}  // namespace tintal

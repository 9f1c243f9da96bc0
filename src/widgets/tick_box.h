#pragma once
#include "widgets/control.h"

namespace tintal {

class TickBox : public Control {
public:
    TickBox(std::string name, std::string caption, bool checked = false)
        : Control(std::move(name), std::move(caption)), checked_(checked) {}
    bool checked() const { return checked_; }
    // Fires onClick only when the state changes, as a user's click would.
    void setChecked(bool checked) {
        if (changeAndRender(checked_, checked)) fire(onClick);
    }
    Handler onClick;

private:
    bool checked_;
};

}  // namespace tintal

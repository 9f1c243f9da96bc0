#pragma once
#include "widgets/control.h"
#include "widgets/label.h"

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
    // The caption's font colour (source windows mark a figure out of its limits in red).
    Colour colour() const { return colour_; }
    void setColour(Colour colour) { changeAndRender(colour_, colour); }

private:
    bool checked_;
    Colour colour_ = Colour::Black;
};

}  // namespace tintal

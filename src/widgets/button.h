#pragma once
#include "widgets/control.h"

namespace tintal {

// A push button. click() runs the handler even while disabled, as a program's own click does;
// views deliver the user's clicks only while the button is enabled.
class Button : public Control {
public:
    using Control::Control;
    Handler onClick;
    void click() const { fire(onClick); }
};

}  // namespace tintal

#pragma once
#include <algorithm>

#include "widgets/control.h"

namespace tintal {

// Spin edits, up-down controls and sliders: an integer held within [minimum, maximum].
class SpinBox : public Control {
public:
    SpinBox(std::string name, int minimum, int maximum, int value)
        : Control(std::move(name)), minimum_(minimum), maximum_(maximum), value_(clamp(value)) {}
    int value() const { return value_; }
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    // Clamps into range; fires onChange only when the value changes.
    void setValue(int value) {
        if (changeAndRender(value_, clamp(value))) fire(onChange);
    }
    Handler onChange;

private:
    int clamp(int v) const { return std::clamp(v, minimum_, maximum_); }
    int minimum_, maximum_, value_;
};

}  // namespace tintal

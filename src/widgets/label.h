#pragma once
#include "widgets/control.h"

namespace tintal {

enum class Colour { Black, Red, Green, Blue, Gray };

class Label : public Control {
public:
    Label(std::string name, std::string caption = {}, Colour colour = Colour::Black)
        : Control(std::move(name), std::move(caption)), colour_(colour) {}
    Colour colour() const { return colour_; }
    void setColour(Colour colour) { changeAndRender(colour_, colour); }

private:
    Colour colour_;
};

}  // namespace tintal

#pragma once
#include "widgets/control.h"

namespace tintal {

// A picture whose only state is whether it shows; pairs of them stand for on/off indicators.
class Image : public Control {
public:
    explicit Image(std::string name, bool visible = true) : Control(std::move(name)) { setVisible(visible); }
};

}  // namespace tintal

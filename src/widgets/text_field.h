#pragma once
#include "widgets/control.h"

namespace tintal {

class TextField : public Control {
public:
    explicit TextField(std::string name, std::string text = {}) : Control(std::move(name)), text_(std::move(text)) {}
    const std::string& text() const { return text_; }
    void setText(std::string text) {
        if (changeAndRender(text_, std::move(text))) fire(onChange);
    }
    Handler onChange;

private:
    std::string text_;
};

}  // namespace tintal

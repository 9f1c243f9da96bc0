#pragma once
#include "widgets/list_control.h"

namespace tintal {

// A combo box: a list and an edit text; selecting an item sets the text to it.
class ComboBox : public ListControl {
public:
    using ListControl::ListControl;
    const std::string& text() const { return text_; }
    void setItemIndex(int index) {
        const bool moved = select(index);
        const bool retexted = changeAndRender(text_, selectedItem());
        if (moved || retexted) fire(onChange);
    }
    // Typing or setting the text selects the matching item, if any.
    void setText(std::string text) {
        const bool retexted = changeAndRender(text_, std::move(text));
        select(indexOf(text_));
        if (retexted) fire(onChange);
    }
    Handler onChange;

private:
    std::string text_;
};

}  // namespace tintal

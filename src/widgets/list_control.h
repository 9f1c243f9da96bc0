#pragma once
// The item list shared by list boxes and combo boxes.
#include <string>
#include <vector>

#include "widgets/control.h"

namespace tintal {

class ListControl : public Control {
public:
    using Control::Control;

    const std::vector<std::string>& items() const { return items_; }
    int count() const { return static_cast<int>(items_.size()); }
    void addItem(std::string item) {
        items_.push_back(std::move(item));
        render();
    }
    void clearItems() {
        items_.clear();
        itemIndex_ = -1;
        render();
    }
    // -1 = no selection.
    int itemIndex() const { return itemIndex_; }
    int indexOf(const std::string& item) const {
        for (int i = 0; i < count(); ++i) {
            if (items_[i] == item) return i;
        }
        return -1;
    }
    std::string selectedItem() const { return itemIndex_ >= 0 ? items_[itemIndex_] : std::string(); }

protected:
    // Returns whether the selection changed; out-of-range indexes select nothing.
    bool select(int index) {
        if (index < -1 || index >= count()) index = -1;
        return changeAndRender(itemIndex_, index);
    }

private:
    std::vector<std::string> items_;
    int itemIndex_ = -1;
};

}  // namespace tintal

#pragma once
#include "widgets/check_group.h"
#include "widgets/control.h"

namespace tintal {

class RadioButton : public Control {
public:
    using Group = CheckGroup<RadioButton>;

    RadioButton(Group& group, std::string name, std::string caption, bool checked = false)
        : Control(std::move(name), std::move(caption)), group_(group), checked_(checked) {
        group_.add(this);
    }
    ~RadioButton() override { group_.remove(this); }

    bool checked() const { return checked_; }
    // Checking unchecks the rest of the group and fires this button's onClick; unchecking fires nothing.
    void setChecked(bool checked) {
        if (!checked) {
            uncheckSilently();
            return;
        }
        if (checked_) return;
        group_.uncheckOthers(this);
        checked_ = true;
        render();
        fire(onClick);
    }
    void uncheckSilently() { changeAndRender(checked_, false); }
    Handler onClick;

private:
    Group& group_;
    bool checked_;
};

}  // namespace tintal

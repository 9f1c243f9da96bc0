#pragma once
#include <vector>

#include "widgets/check_group.h"
#include "widgets/control.h"

namespace tintal {

// A key with the modifiers held with it. key is an upper-case letter or a digit; 0 means no shortcut.
struct Shortcut {
    bool ctrl = false;
    bool alt = false;
    bool shift = false;
    char key = 0;
    bool operator==(const Shortcut&) const = default;
};

// A menu item. Radio items belong to a group in which at most one is checked. Setting the check
// mark fires nothing; click() runs the handler, as choosing the item does.
class MenuItem : public Control {
public:
    using Group = CheckGroup<MenuItem>;

    MenuItem(std::string name, std::string caption, bool checked = false)
        : Control(std::move(name), std::move(caption)), checked_(checked) {}
    MenuItem(Group& group, std::string name, std::string caption, bool checked = false)
        : MenuItem(std::move(name), std::move(caption), checked) {
        group_ = &group;
        group.add(this);
    }
    ~MenuItem() override {
        if (group_) group_->remove(this);
    }

    bool checked() const { return checked_; }
    void setChecked(bool checked) {
        if (checked && group_) group_->uncheckOthers(this);
        changeAndRender(checked_, checked);
    }
    void uncheckSilently() { changeAndRender(checked_, false); }
    bool isRadioItem() const { return group_ != nullptr; }

    // The keys that choose the item from anywhere in its window, hidden or not.
    const Shortcut& shortcut() const { return shortcut_; }
    void setShortcut(Shortcut shortcut) { shortcut_ = shortcut; }

    // Sub-items in display order; not owned.
    const std::vector<MenuItem*>& children() const { return children_; }
    void add(MenuItem& child) { children_.push_back(&child); }

    void click() const { fire(onClick); }
    Handler onClick;

private:
    bool checked_;
    Group* group_ = nullptr;
    Shortcut shortcut_;
    std::vector<MenuItem*> children_;
};

}  // namespace tintal

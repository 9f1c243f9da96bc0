#pragma once
#include "widgets/list_control.h"

namespace tintal {

class ListBox : public ListControl {
public:
    using ListControl::ListControl;
    // A user's selection: fires onClick when the selection changes.
    void setItemIndex(int index) {
        if (select(index)) fire(onClick);
    }
    Handler onClick;
};

}  // namespace tintal

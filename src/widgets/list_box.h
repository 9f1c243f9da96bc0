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
    // The program's own selection, which fires nothing.
    void selectSilently(int index) { select(index); }
    Handler onClick;
};

}  // namespace tintal

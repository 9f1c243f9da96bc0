#include "ui/win32/com_window.h"

#include "radio/tform_com.h"
#include "ui/win32/model_window.h"

namespace tintal {

HWND createComWindow(TFormCOM& com, HWND owner) {
    return createModelWindow(com.form, owner, [&com](ControlBinder& b) {
        b.label(com.Label1, box(10, 8, 310, 18));
        b.listBox(com.ListBoxCOM, box(10, 30, 110, 220));
        b.groupBox(com.GroupBoxPTT.caption(), box(132, 26, 188, 70));
        b.tickBoxes({&com.CheckBoxDTR, &com.CheckBoxRTS}, box(144, 46, 160, 20), 22);
        b.groupBox(com.GroupBoxJouer.caption(), box(132, 102, 188, 70));
        b.tickBoxes({&com.CheckBoxDSR, &com.CheckBoxCTS}, box(144, 122, 160, 20), 22);
        b.groupBox(com.GroupBoxInhiber.caption(), box(132, 178, 188, 48));
        b.tickBox(com.CheckBoxDCD, box(144, 198, 160, 20));
    });
}

}  // namespace tintal

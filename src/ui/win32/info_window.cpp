#include "ui/win32/info_window.h"

#include "shell/tform_info.h"
#include "ui/win32/model_window.h"

namespace tintal {

HWND createInfoWindow(TFormInfo& info, HWND owner) {
    return createModelWindow(info.FormInfo, owner, [&info](ControlBinder& b) {
        b.label(info.Panel1, box(8, 8, 360, 28), CLR_INVALID, SS_SUNKEN | SS_CENTER);
        b.label(info.Label1, box(20, 50, 330, 22));
        b.label(info.Label2, box(20, 76, 330, 22));
        b.linkLabel(info.LabelUrl3, box(20, 104, 330, 22), [&info] { info.LabelUrl3Click(); });
        b.button(info.BitBtnNewrelease, box(20, 140, 340, 30));
        b.button(info.BitBtn1, box(150, 190, 80, 28));
    });
}

}  // namespace tintal

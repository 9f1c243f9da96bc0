#include "ui/win32/record_window.h"

#include "radio/tform_record.h"
#include "ui/win32/model_window.h"

namespace tintal {

HWND createRecordWindow(TFormRecord& record, HWND owner) {
    return createModelWindow(record.form, owner, [&record](ControlBinder& b) {
        b.label(record.Label1, RECT{10, 10, 300, 28});
        b.textField(record.EditZorvane, RECT{10, 32, 320, 56}, false);
        b.button(record.ButtonParcourir, RECT{336, 30, 410, 58});
    });
}

}  // namespace tintal

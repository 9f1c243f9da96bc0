#include "ui/win32/aprs_window.h"

#include "ui/win32/web_source_view.h"
#include "weather/web/tform_meteo_aprs.h"

namespace tintal {

HWND createAprsWindow(TFormMeteoAPRS& form) {
    auto* view = new WebWindowView(form.form);  // lives as long as its window, that is the program
    layoutWebSource(*view, form, "Date :");
    ControlBinder& b = view->binder();
    b.button(form.ButtonParcourir, box(356, 56, 70, 24));
    view->label(form.Label8, box(10, 306, 120, 18));
    b.radioButton(form.RadioButtonKM, box(10, 324, 70, 18));
    b.radioButton(form.RadioButtonMile, box(10, 342, 70, 18));
    b.radioButton(form.RadioButtonKnot, box(10, 360, 70, 18));
    b.radioButton(form.RadioButtondegC, box(90, 324, 50, 18));
    b.radioButton(form.RadioButtonDegF, box(90, 342, 50, 18));
    b.radioButton(form.RadioButtonMM, box(150, 324, 60, 18));
    b.radioButton(form.RadioButtonInch, box(150, 342, 60, 18));
    b.button(form.ButtonLogin, box(280, 270, 130, 26));
    view->label(form.GroupBoxIDPW, box(196, 306, 232, 18));
    b.textField(form.EditID, box(220, 326, 100, 22), false);
    b.textField(form.EditPW, box(324, 326, 100, 22), false);
    view->onActivate = [&form] { form.FormActivate(); };
    return view->hwnd();
}

}  // namespace tintal

#include "ui/win32/pioupiou_window.h"

#include "ui/win32/web_source_view.h"
#include "weather/web/tform_meteo_piu.h"

namespace tintal {

HWND createPioupiouWindow(TFormMeteoPIU& form) {
    auto* view = new WebWindowView(form.form);  // lives as long as its window, that is the program
    layoutWebSource(*view, form, "Date des données:");
    view->label(form.Labelnomstation, box(10, 260, 250, 18));
    view->label(form.LabelVmin, box(10, 280, 250, 18));
    view->onActivate = [&form] { form.FormActivate(); };
    return view->hwnd();
}

}  // namespace tintal

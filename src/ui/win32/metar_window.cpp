#include "ui/win32/metar_window.h"

#include "ui/win32/web_source_view.h"
#include "weather/web/tform_meteo_metar.h"

namespace tintal {

HWND createMetarWindow(TFormMeteoMETAR& form) {
    auto* view = new WebWindowView(form.form);  // lives as long as its window, that is the program
    layoutWebSource(*view, form, "Date des données:");
    view->label(form.LabelICAO, box(10, 320, 200, 18));
    view->label(form.LabelNomICAO, box(210, 320, 210, 18));
    view->onActivate = [&form] { form.FormActivate(); };
    return view->hwnd();
}

}  // namespace tintal

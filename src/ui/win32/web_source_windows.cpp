// The three web sources share their layout; METAR and Pioupiou add two labels, APRS its units and login.
#include "ui/win32/web_source_windows.h"

#include "ui/win32/web_source_view.h"
#include "weather/web/tform_meteo_aprs.h"
#include "weather/web/tform_meteo_metar.h"
#include "weather/web/tform_meteo_piu.h"

namespace tintal {

namespace {

constexpr char kDataDate[] = "Date des données:";

// A source whose own controls are two labels.
HWND createLabelledWindow(WebSourceWindow& source, Label& first, RECT firstAt, Label& second, RECT secondAt) {
    return createWebSourceWindow(source, kDataDate, [&, firstAt, secondAt](WebWindowView& view, ControlBinder&) {
        view.label(first, firstAt);
        view.label(second, secondAt);
    });
}

}  // namespace

HWND createMetarWindow(TFormMeteoMETAR& form) {
    return createLabelledWindow(form, form.LabelICAO, box(10, 320, 200, 18), form.LabelNomICAO, box(210, 320, 210, 18));
}

HWND createPioupiouWindow(TFormMeteoPIU& form) {
    return createLabelledWindow(form, form.Labelnomstation, box(10, 260, 250, 18), form.LabelVmin,
                                box(10, 280, 250, 18));
}

HWND createAprsWindow(TFormMeteoAPRS& form) {
    return createWebSourceWindow(form, "Date :", [&form](WebWindowView& view, ControlBinder& b) {
        b.button(form.ButtonParcourir, box(356, 56, 70, 24));
        view.label(form.Label8, box(10, 306, 120, 18));
        // The units: distance, temperature, rain.
        b.radioButtons({&form.RadioButtonKM, &form.RadioButtonMile, &form.RadioButtonKnot}, box(10, 324, 70, 18), 18);
        b.radioButtons({&form.RadioButtondegC, &form.RadioButtonDegF}, box(90, 324, 50, 18), 18);
        b.radioButtons({&form.RadioButtonMM, &form.RadioButtonInch}, box(150, 324, 60, 18), 18);
        b.button(form.ButtonLogin, box(280, 270, 130, 26));
        view.label(form.GroupBoxIDPW, box(196, 306, 232, 18));
        b.textField(form.EditID, box(220, 326, 100, 22), false);
        b.textField(form.EditPW, box(324, 326, 100, 22), false);
    });
}

}  // namespace tintal

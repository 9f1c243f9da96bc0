#include "weather/tform_choix_meteo.h"

#include "base/numbers.h"

namespace tintal {

TFormChoixMeteo::TFormChoixMeteo()
    : buttons_{&RadioButtonNoMeteo, &RadioButtonMON,  &RadioButtonW23,   &RadioButtonW28,
               &RadioButtonAPRS,    &RadioButtonPro2, &RadioButtonMETAR, &RadioButtonPIU} {
    for (int k = 0; k < 8; ++k) {
        buttons_[k]->onClick = [this, k] { selectKind(static_cast<WeatherSourceKind>(k)); };
    }
    form.onClose = [this] { FormClose(); };
}

void TFormChoixMeteo::attach(WeatherSource& source) { sources_[static_cast<int>(source.kind())] = &source; }

WeatherSourceKind TFormChoixMeteo::checkedKind() const {
    for (int k = 0; k < 8; ++k) {
        if (buttons_[k]->checked()) return static_cast<WeatherSourceKind>(k);
    }
    return WeatherSourceKind::None;
}

void TFormChoixMeteo::selectKind(WeatherSourceKind kind) {
    const int chosen = static_cast<int>(kind);
    for (int k = 1; k < 8; ++k) {
        if (k != chosen && sources_[k]) sources_[k]->stopRefresh();
    }
    if (chosen == 0 || !sources_[chosen]) return;
    sources_[chosen]->select(!(windowsSuppressed && windowsSuppressed()));
}

void TFormChoixMeteo::FormShow(const Rect& main) {
    Rect r = form.bounds();
    r.top =
        main.top + static_cast<int>(roundHalfEven(main.height / 2.0)) - static_cast<int>(roundHalfEven(r.height / 2.0));
    r.left =
        main.left + static_cast<int>(roundHalfEven(main.width / 2.0)) - static_cast<int>(roundHalfEven(r.width / 2.0));
    form.setBounds(r);
    if (checkedKind() != WeatherSourceKind::None) selectedAtShow_ = checkedKind();
    form.show();
}

void TFormChoixMeteo::FormClose() {
    if (button(selectedAtShow_).checked()) selectKind(selectedAtShow_);
}

}  // namespace tintal

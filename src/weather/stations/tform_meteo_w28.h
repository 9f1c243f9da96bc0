#pragma once
// The La Crosse WS-2800 / WS-3610 source: the history file of the station's PC software.
#include "weather/file_source_window.h"
#include "widgets/radio_button.h"

namespace tintal {

class TFormMeteoW28 : public FileSourceWindow {
public:
    explicit TFormMeteoW28(SourceWindowContext context);

    // Either pressure button re-reads at once, as "Rafraichir" does.
    void RadioButtonPABSClick() { ButtonRafraichirClick(); }
    void RadioButtonPRELClick() { ButtonRafraichirClick(); }

    Label LabelFichier{"LabelFichier", "Fichier history.dat :"};
    Label GroupBoxPression{"GroupBoxPression", "Pression"};
    RadioButton::Group pressureKind;
    RadioButton RadioButtonPABS{pressureKind, "RadioButtonPABS", "Absolue", true};
    RadioButton RadioButtonPREL{pressureKind, "RadioButtonPREL", "Relative"};

    double recordInterval = 0;  // days between the last two records of the last read
    double rainSum = 0;         // mm over the last day, as summed before the "unknown" check

protected:
    bool decodeAndShow(const std::vector<std::uint8_t>& bytes) override;
};

}  // namespace tintal

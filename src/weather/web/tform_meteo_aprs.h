#pragma once
// The APRS source "Météo APRS": a local UI-View weather file, or a station page of the public APRS site
// from which the last raw packet is cut out; figures in the units the user says the data use, and a
// line for a Morse beacon.
//
// The site may want its visitors logged in. There is no embedded browser: the login button opens the
// site's login page in the user's default browser (whose login the Windows downloads share) and says
// so in the error field.
#include "weather/web/aprs.h"
#include "weather/web/web_source_window.h"
#include "widgets/radio_button.h"

namespace tintal {

// The public APRS site: its login page, the login button and the message of error 6 name it.
inline constexpr const char* kAprsSiteHost = "aprs.fi";
// The window's design height, restored by "Rafraichir" before any height was remembered.
inline constexpr int kAprsDesignHeight = 402;

class TFormMeteoAPRS : public WebSourceWindow {
public:
    explicit TFormMeteoAPRS(WebSourceContext context);

    void TimerMeteoTimer() override;
    void ButtonRafraichirClick() override;
    void ButtonParcourirClick();
    void ButtonLoginClick();
    void RadioButtondegCClick();
    void RadioButtonKnotClick() { RadioButtondegCClick(); }
    void FormShow() override;
    void FormClose() override;

    // The height "Rafraichir" restores: the settings' APRS_HEIGHT, or the height at the last close.
    int storedHeight = kAprsDesignHeight;

    Button ButtonParcourir{"ButtonParcourir", "Parcourir"};
    Label Label8{"Label8", "Unités d'origine"};
    RadioButton::Group speedUnits, temperatureUnits, rainUnits;
    RadioButton RadioButtonKM{speedUnits, "RadioButtonKM", "km/h"};
    RadioButton RadioButtonMile{speedUnits, "RadioButtonMile", "mile/h", true};
    RadioButton RadioButtonKnot{speedUnits, "RadioButtonKnot", "knot"};
    RadioButton RadioButtondegC{temperatureUnits, "RadioButtondegC", "°C"};
    RadioButton RadioButtonDegF{temperatureUnits, "RadioButtonDegF", "°F", true};
    RadioButton RadioButtonMM{rainUnits, "RadioButtonMM", "mm"};
    RadioButton RadioButtonInch{rainUnits, "RadioButtonInch", "inch", true};
    Button ButtonLogin{"ButtonLogin"};
    Label GroupBoxIDPW{"GroupBoxIDPW", "aprs login ID + PW  (pour mémoire)"};
    TextField EditID{"EditID"};
    TextField EditPW{"EditPW"};

protected:
    int extractPage() override;
    void submit(bool fromRead) override;
    bool refreshWaitsForStartUp() const override { return false; }

private:
    AprsReadParameters readParameters() const;
    void showFigures(const AprsReading& r);
    void acceptLocator(const std::string& locator);

    int rememberedHeight_ = kAprsDesignHeight;
};

}  // namespace tintal

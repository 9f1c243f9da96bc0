#pragma once
// The Pioupiou source "Météo Pioupiou": the live measurements of one wind beacon, fetched as JSON.
#include "weather/web/pioupiou.h"
#include "weather/web/web_source_window.h"

namespace tintal {

inline constexpr const char* kPioupiouWebFileName = "PIU_web.txt";

class TFormMeteoPIU : public WebSourceWindow {
public:
    explicit TFormMeteoPIU(WebSourceContext context);

    void TimerMeteoTimer() override;
    void FormShow() override;
    void FormActivate() override;

    Label Labelnomstation{"Labelnomstation", "Pioupiou"};
    Label LabelVmin{"LabelVmin", "Vent min. (km/h)  ="};
    double windMin = kPioupiouNoWindMin;  // shown only, never announced

    // Set while a read runs (the read pumps messages while it fetches).
    PioupiouBusyMark busy;

protected:
    int extractPage() override;
    void submit(bool fromRead) override;

private:
    void showFigures(const PioupiouFigures& figures);
};

}  // namespace tintal

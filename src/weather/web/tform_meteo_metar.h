#pragma once
// The METAR source "Météo METAR": an aerodrome's report fetched from the web, decoded into the
// reading, and exported for other radio programs (a UI-View weather file and a beacon line).
#include "weather/web/metar.h"
#include "weather/web/web_source_window.h"

namespace tintal {

inline constexpr const char* kMetarWebFileName = "metar_web.txt";
inline constexpr const char* kMetarUiViewFileName = "metar_uiview.txt";
inline constexpr const char* kMetarBeaconFileName = "metar_cw.txt";

class TFormMeteoMETAR : public WebSourceWindow {
public:
    explicit TFormMeteoMETAR(WebSourceContext context);

    void TimerMeteoTimer() override;
    void EditDatChange();
    void FormShow() override;

    Label LabelICAO{"LabelICAO", "Code aérodrome = "};
    Label LabelNomICAO{"LabelNomICAO", "===================="};

protected:
    int extractPage() override;
    void submit(bool fromRead) override;

private:
    void showFigures(const MetarGroups& groups, const MetarFigures& figures);

    std::string timeStampLine_;  // of the last report that had a time group
};

}  // namespace tintal

#pragma once
// The three web sources and their favourites windows, created together at start-up and attached to
// the source chooser.
#include "weather/tform_choix_meteo.h"
#include "weather/web/favourites_window.h"
#include "weather/web/tform_meteo_aprs.h"
#include "weather/web/tform_meteo_metar.h"
#include "weather/web/tform_meteo_piu.h"

namespace tintal {

struct WebSources {
    // Each window is selected when its kind is checked in the chooser, and hides the chooser when shown.
    WebSources(const WebSourceContext& shared, TFormChoixMeteo& chooser);

    // A fetch of any of the three is under way.
    bool downloading() const { return metar.downloading() || aprs.downloading() || piu.downloading(); }

    TFormMeteoMETAR metar;
    TFormMeteoAPRS aprs;
    TFormMeteoPIU piu;
    TFormFavMETAR favMetar{metar};
    TFormFavAPRS favAprs{aprs};
    TFormFavPIU favPiu{piu};
};

}  // namespace tintal

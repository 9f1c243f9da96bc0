#include "weather/web/web_sources.h"

namespace tintal {

namespace {

WebSourceContext contextFor(const WebSourceContext& shared, TFormChoixMeteo& chooser, WeatherSourceKind kind) {
    WebSourceContext context = shared;
    context.isSelected = [&chooser, kind] { return chooser.isChecked(kind); };
    context.hideChooser = [&chooser] { chooser.form.hide(); };
    return context;
}

}  // namespace

WebSources::WebSources(const WebSourceContext& shared, TFormChoixMeteo& chooser)
    : metar(contextFor(shared, chooser, WeatherSourceKind::METAR)),
      aprs(contextFor(shared, chooser, WeatherSourceKind::APRS)),
      piu(contextFor(shared, chooser, WeatherSourceKind::PIOUPIOU)) {
    chooser.attach(metar);
    chooser.attach(aprs);
    chooser.attach(piu);
}

}  // namespace tintal

#include "ui/win32/program_windows.h"

#include "shell/tintal_program.h"
#include "ui/win32/com_window.h"
#include "ui/win32/favourites_window_view.h"
#include "ui/win32/info_window.h"
#include "ui/win32/record_window.h"
#include "ui/win32/weather_windows.h"
#include "ui/win32/web_source_windows.h"

namespace tintal {

void createProgramWindows(TintalProgram& p, HWND main) {
    createWeatherChooserWindow(p.chooser, main);
    createWeatherMonitorWindow(p.mon, main);
    createWs2300Window(p.w23, main);
    createWs2800Window(p.w28, main);
    createVantagePro2Window(p.pro2, main);
    createMetarWindow(p.web.metar);
    createAprsWindow(p.web.aprs);
    createPioupiouWindow(p.web.piu);
    for (FavouritesWindow* favourites :
         {static_cast<FavouritesWindow*>(&p.web.favMetar), static_cast<FavouritesWindow*>(&p.web.favAprs),
          static_cast<FavouritesWindow*>(&p.web.favPiu)}) {
        createFavouritesWindow(*favourites);
    }
    createComWindow(p.radio.com(), main);
    createRecordWindow(p.radio.record(), main);
    createInfoWindow(p.info, main);
}

}  // namespace tintal

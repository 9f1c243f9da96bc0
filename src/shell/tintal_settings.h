#pragma once
// The whole settings file over every window of the program: the key tables in file order, the start-up
// load with its deferred steps, and the save.
#include <functional>
#include <optional>
#include <vector>

#include "config/key_table.h"
#include "config/settings_file.h"
#include "weather/weather_reading.h"
#include "widgets/window.h"

namespace tintal {

class TForm1;
class MainShell;
class TFormInfo;
class TFormChoixMeteo;
class TFormMeteo;
class TFormMeteoW23;
class TFormMeteoW28;
class TFormMeteoPro2;
class TFormMeteoAPRS;
class TFormMeteoMETAR;
class TFormMeteoPIU;
class FavouritesWindow;
class TFormCOM;
class TFormRecord;
class TintalLog;

struct SettingsWindows {
    TForm1& main;
    MainShell& shell;
    TFormInfo& info;
    TFormChoixMeteo& chooser;
    TFormMeteo& mon;
    TFormMeteoW23& w23;
    TFormMeteoW28& w28;
    TFormMeteoPro2& pro2;
    TFormMeteoAPRS& aprs;
    TFormMeteoMETAR& metar;
    TFormMeteoPIU& piu;
    FavouritesWindow& favAprs;
    FavouritesWindow& favMetar;
    FavouritesWindow& favPiu;
    TFormCOM& com;
    TFormRecord& record;
};

class TintalSettings {
public:
    TintalSettings(SettingsWindows windows, SettingsFile& file, TintalLog& log);

    // The start-up load (run by the clock's first tick): every line of the file into its control, the
    // log, the station port, the source chosen, the windows placed.
    void LoadConfig();
    // Its end, once the player and the volume are ready: the port window, then the version check.
    void finishLoad(const std::function<void()>& checkVersion);
    // closing: the main window is closing, so the last visible weather window's place is noted first.
    // A failure sounds the beep and shows "Err: tintal.ini"; the previous file stays in force.
    // Nothing is saved before the load (a stop during start-up), nor over a file that could not be
    // read (the status line says so once).
    void SaveConfig(bool closing = false);
    // The lines of the file the load could not take.
    const std::vector<SettingsLineProblem>& lineProblems() const { return lineProblems_; }

    // The weather window of the chooser's kind; none with "Pas de météo".
    Window* selectedWeatherWindow();
    // In the order the program hides them: MON, WS-2300, WS-2800, APRS, METAR, Pioupiou, Vantage Pro2.
    std::vector<Window*> weatherWindows();

    bool ConfigLoading = false;
    Rect MeteoWindowRect{};  // written, never read back

private:
    void buildTable();
    void openStationPort();
    void placeWindows();

    SettingsWindows w_;
    SettingsFile& file_;
    TintalLog& log_;
    KeyTable table_;
    std::optional<WeatherSourceKind> deferredSource_;
    bool hideWeatherWindows_ = false;  // FORMMETEO=N was read
    std::vector<SettingsLineProblem> lineProblems_;
    bool skippedSaveShown_ = false;
};

}  // namespace tintal

#pragma once
// The main window: the clock, the announcement settings and the listen button.
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "core/clip_player.h"
#include "core/clock_scheduler.h"
#include "core/sequencer.h"
#include "core/sound_controls.h"
#include "core/station_hooks.h"
#include "core/weather_phrases.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "widgets/button.h"
#include "widgets/image.h"
#include "widgets/label.h"
#include "widgets/list_box.h"
#include "widgets/menu_item.h"
#include "widgets/spin_box.h"
#include "widgets/text_field.h"
#include "widgets/tick_box.h"
#include "widgets/timer.h"
#include "widgets/window.h"

namespace tintal {

struct MainWindowPorts {
    EventLoop& loop;
    Desktop& desktop;
    ClipPlayer& player;
    AudioDevice& audio;
    StationHooks& hooks;
    // The weather source windows, any order; none for a clock without weather.
    std::vector<WeatherSource*> weatherSources;
};

class TForm1 : public PlayerHost {
public:
    explicit TForm1(MainWindowPorts ports);
    ~TForm1() override;

    // Lifecycle.
    void FormCreate();
    void FormClose();
    // The start-up routine run by the first tick: settings, windows, then the one-second clock.
    void LoadConfig();

    // Timer handlers. The end-of-clip one has no timer of its own: the wave player calls it.
    void TimerSecuriteTimer();
    void TimerFinWaveTimer();

    void UpDownPeriodeMouseDown();
    void MenuSimuErreurClick();
    void CheckBoxheureClick();
    void CheckBoxNoMinutesClick();
    void ButtonPlayWaveClick();
    void ButtonPlayWaveResClick();

    // PlayerHost.
    void clipFailed(const std::string& text) override;
    void clipFinished() override;

    // The period in minutes shown in Edit1 (0 = none).
    int periodMinutes() const;

    EventLoop& loop;
    Desktop& desktop;
    ClipPlayer& player;
    StationHooks& hooks;

    // State shared by the clock and the sequencer.
    bool ConfigPending = true;
    bool announcing = false;
    bool errorSimulation = false;

    // Sound files: header, cuckoo and closing (paths relative to the program's folder).
    std::string headerFilePath;
    std::string cuckooFilePath = "tintal.wav";
    std::string closingFilePath;

    // Loads the stored settings into the controls; set by the settings component.
    std::function<void()> onLoadSettings;
    // The end of the start-up load, once the player and the volume are ready (port window, version check).
    std::function<void()> onSettingsLoaded;
    std::function<void()> onSaveSettings;
    // The program must end (the player's memory could not be had); EditData holds the reason.
    std::function<void()> onTerminate;

    Window Form1{"Form1", "Tintal", Rect{200, 120, 570, 480}};
    Button Button1{"Button1", "Ecouter le tintal"};
    TextField EditDate{"EditDate"};
    TextField EditTime{"EditTime"};
    TextField EditData{"EditData"};
    TextField Edit1{"Edit1", "0"};
    SpinBox UpDownPeriode{"UpDownPeriode", 0, 6, 0};

    TickBox CheckBoxEntete{"CheckBoxEntete", "En-tête", false};
    SpinBox SpinEditPause{"SpinEditPause", 0, 15, 0};
    TickBox CheckBoxTintal{"CheckBoxTintal", "\"tintal\"", true};
    TickBox CheckBoxDate{"CheckBoxDate", "Date", true};
    TickBox CheckBoxIlEst{"CheckBoxIlEst", "\"il est\"", true};
    TickBox CheckBoxheure{"CheckBoxheure", "h \"Heure\" : mn \"minutes\"", true};
    TickBox CheckBoxNoMinutes{"CheckBoxNoMinutes", "h \"Heure\" : mn", false};
    TickBox CheckBoxFin{"CheckBoxFin", "Fin", false};

    MenuItem MenuPlageHoraire{"MenuPlageHoraire", "Plage horaire des annonces"};
    MenuItem MenuDebutPlageHoraire{"MenuDebutPlageHoraire", "Heure début (00h)"};
    MenuItem MenuFinPlageHoraire{"MenuFinPlageHoraire", "Heure fin (24h)"};
    MenuItem::Group startHourGroup;
    MenuItem::Group endHourGroup;
    std::array<std::unique_ptr<MenuItem>, 25> D;  // D00 .. D24
    std::array<std::unique_ptr<MenuItem>, 25> F;  // F00 .. F24
    // Entries 0..24 are D00..D24, 25..49 are F00..F24 (filled by FormCreate).
    std::array<MenuItem*, 50> HourMenuItems{};
    MenuItem MenuRecord{"MenuRecord", "Enregistrer le message"};
    MenuItem MenuAnnonceMeteo{"MenuAnnonceMeteo", "Annonce des données météo"};
    MenuItem::Group ageGroup;
    MenuItem MenuAnnonceToujours{ageGroup, "MenuAnnonceToujours", "Toujours annoncer", true};
    MenuItem MenuAnnonce1h{ageGroup, "MenuAnnonce1h", "Ignorer si datées de plus d'une heure"};
    MenuItem MenuAnnonce2h{ageGroup, "MenuAnnonce2h", "Ignorer si datées de plus de 2 heures"};
    MenuItem MenuAnnonce3h{ageGroup, "MenuAnnonce3h", "Ignorer si datées de plus de 3 heures"};
    MenuItem MenuRoseVents{"MenuRoseVents", "Rose des vents"};
    MenuItem::Group roseGroup;
    MenuItem menu8secteurs{roseGroup, "menu8secteurs", "8 secteurs", true};
    MenuItem Menu16secteurs{roseGroup, "Menu16secteurs", "16 secteurs"};
    MenuItem MenuCarteSon{"MenuCarteSon", "Carte Son"};
    MenuItem MenuCOM{"MenuCOM", "Port COM"};

    // The radio side: port name, transmit light, clock picture (off while the carrier is present),
    // the line labels (hidden), the port list found at start (hidden), the recorder's status.
    Label LabelCOM{"LabelCOM", "COM"};
    Image ImageLedON{"ImageLedON", false};
    Image ImageLedOFF{"ImageLedOFF"};
    Image ImageTintal{"ImageTintal"};
    Image ImageTintalOff{"ImageTintalOff", false};
    Label LabelDCD{"LabelDCD", "DCD=Off"};
    Label LabelCTS{"LabelCTS", "CTS=Off"};
    Label LabelDSR{"LabelDSR", "DSR=Off"};
    ListBox ListBoxPort{"ListBoxPort"};
    Label StaticTextW{"StaticTextW"};
    // Hidden test buttons: the cuckoo file and the clip "son0".
    Button ButtonPlayWave{"ButtonPlayWave", "Wave ext"};
    Button ButtonPlayWaveRes{"ButtonPlayWaveRes", "Wave int"};
    MenuItem MenuSimuErreur{"MenuSimuErreur", "Simu Errreur (caché)"};

    Timer TimerSeconde;
    Timer TimerSecurite;

    SoundControls sound;
    ClockScheduler clock;
    Sequencer sequencer;
    WeatherPhrases phrases;
};

}  // namespace tintal

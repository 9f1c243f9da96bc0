#include "core/tform1.h"

#include <cstdio>
#include <initializer_list>

#include "base/numbers.h"
#include "core/periods.h"

namespace tintal {

namespace {

std::string twoDigits(int n) {
    char text[4];
    std::snprintf(text, sizeof text, "%02d", n);
    return text;
}

// "D07", "F24": the menu item of an hour. Formatted whole: GCC 12 reports a false -Wrestrict on
// `"D" + std::string`.
std::string hourItemName(char prefix, int hour) {
    char text[8];
    std::snprintf(text, sizeof text, "%c%02d", prefix, hour);
    return text;
}

}  // namespace

TForm1::TForm1(MainWindowPorts ports)
    : loop(ports.loop),
      desktop(ports.desktop),
      player(ports.player),
      hooks(ports.hooks),
      TimerSeconde(ports.loop, 500),
      TimerSecurite(ports.loop, 120000),
      sound(ports.loop, ports.audio, ports.player, ports.desktop),
      clock(*this),
      sequencer(*this),
      phrases(*this, ports.weatherSources) {
    for (int h = 0; h <= 24; ++h) {
        D[h] = std::make_unique<MenuItem>(startHourGroup, hourItemName('D', h), twoDigits(h), h == 0);
        F[h] = std::make_unique<MenuItem>(endHourGroup, hourItemName('F', h), twoDigits(h), h == 24);
        MenuDebutPlageHoraire.add(*D[h]);
        MenuFinPlageHoraire.add(*F[h]);
        D[h]->onClick = [this, item = D[h].get()] { clock.D00Click(*item); };
        F[h]->onClick = [this, item = F[h].get()] { clock.F00Click(*item); };
    }
    // Radio items ticked on choice.
    for (MenuItem* item : {&MenuAnnonceToujours, &MenuAnnonce1h, &MenuAnnonce2h, &MenuAnnonce3h}) {
        MenuAnnonceMeteo.add(*item);
        item->onClick = [item] { item->setChecked(true); };
    }
    for (MenuItem* item : {&menu8secteurs, &Menu16secteurs}) {
        MenuRoseVents.add(*item);
        item->onClick = [item] { item->setChecked(true); };
    }
    MenuPlageHoraire.add(MenuDebutPlageHoraire);
    MenuPlageHoraire.add(MenuFinPlageHoraire);
    MenuSimuErreur.setVisible(false);
    MenuSimuErreur.setShortcut({.ctrl = true, .alt = true, .key = 'E'});
    MenuSimuErreur.onClick = [this] { MenuSimuErreurClick(); };
    MenuCarteSon.onClick = [this] { sound.MenuCarteSonClick(announcing); };
    ButtonPlayWave.setVisible(false);
    ButtonPlayWaveRes.setVisible(false);
    ButtonPlayWave.onClick = [this] { ButtonPlayWaveClick(); };
    ButtonPlayWaveRes.onClick = [this] { ButtonPlayWaveResClick(); };
    for (Control* hidden : std::initializer_list<Control*>{&LabelDCD, &LabelCTS, &LabelDSR, &ListBoxPort}) {
        hidden->setVisible(false);
    }

    Button1.onClick = [this] { sequencer.Button1Click(); };
    UpDownPeriode.onChange = [this] { UpDownPeriodeMouseDown(); };
    CheckBoxheure.onClick = [this] { CheckBoxheureClick(); };
    CheckBoxNoMinutes.onClick = [this] { CheckBoxNoMinutesClick(); };
    TimerSeconde.onTimer = [this] { clock.TimerSecondeTimer(); };
    TimerSecurite.onTimer = [this] { TimerSecuriteTimer(); };
    player.setHost(this);
}

TForm1::~TForm1() { player.setHost(nullptr); }

void TForm1::FormCreate() {
    for (int h = 0; h <= 24; ++h) {
        HourMenuItems[h] = D[h].get();
        HourMenuItems[25 + h] = F[h].get();
    }
    hooks.mainWindowCreated();
    TimerSeconde.start();
}

void TForm1::LoadConfig() {
    TimerSeconde.stop();
    // The settings decide whether the window shows (not when the program starts minimised).
    if (onLoadSettings) {
        onLoadSettings();
    } else {
        Form1.show();
    }
    if (const std::string error = player.allocateMemory(); !error.empty()) {
        EditData.setText(error);
        if (onTerminate) onTerminate();
        return;
    }
    UpDownPeriodeMouseDown();
    clock.readClock();
    sound.ReadDeviceVolume();
    if (onSettingsLoaded) onSettingsLoaded();
    ConfigPending = false;
    TimerSeconde.setInterval(1000);
    TimerSeconde.start();
}

void TForm1::FormClose() {
    player.markIdle();
    if (onSaveSettings) onSaveSettings();
    try {
        player.releaseDevice();
        player.freeMemory();
    } catch (...) {
        // Closing goes on whatever the device says.
    }
    // A transmitter left keyed would stay on the air after the program has gone.
    hooks.releaseTransmitter();
    hooks.mainWindowClosing();
    TimerSeconde.stop();
    TimerSecurite.stop();
    Form1.hide();
}

void TForm1::TimerSecuriteTimer() {
    TimerSecurite.stop();
    // A clip still sounding is left to finish: the announcement goes on without a safety timer.
    if (announcing && player.clipPlaying()) return;
    // Whatever ended the announcement, the transmitter must not stay keyed.
    hooks.releaseTransmitter();
    // Nothing moves the ended announcement on during the wait below; starts stay refused while
    // announcing holds.
    sequencer.reset();
    try {
        player.releaseDevice();
        loop.pump(1000);
        hooks.reconnectCompanion();
    } catch (...) {
        // Each release is best effort; the return to idle below must happen.
    }
    player.markIdle();
    announcing = false;
    sequencer.reset();
    Button1.setEnabled(true);
}

void TForm1::TimerFinWaveTimer() {
    if (sequencer.step() <= 0) return;
    sequencer.allowAdvance();
    Button1.click();
}

void TForm1::clipFailed(const std::string& text) {
    EditData.setText(text);
    TimerSecuriteTimer();
}

void TForm1::clipFinished() { TimerFinWaveTimer(); }

void TForm1::UpDownPeriodeMouseDown() { Edit1.setText(std::to_string(kPeriodMinutes[UpDownPeriode.value()])); }

int TForm1::periodMinutes() const { return strictToInt(Edit1.text()).value_or(0); }

void TForm1::MenuSimuErreurClick() {
    errorSimulation = !errorSimulation;
    EditData.setText(errorSimulation ? "simu erreur" : "raz simu err");
}

void TForm1::ButtonPlayWaveClick() { player.playFile("tintal.wav"); }

void TForm1::ButtonPlayWaveResClick() { player.playClip("son0"); }

void TForm1::CheckBoxheureClick() {
    if (CheckBoxheure.checked()) CheckBoxNoMinutes.setChecked(false);
}

void TForm1::CheckBoxNoMinutesClick() {
    if (CheckBoxNoMinutes.checked()) CheckBoxheure.setChecked(false);
}

}  // namespace tintal

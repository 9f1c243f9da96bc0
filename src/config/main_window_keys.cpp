#include "config/main_window_keys.h"

#include "config/settings_keys.h"
#include "core/tform1.h"

namespace tintal {

namespace {

// An hour of the announcement window: the menu item of that hour is clicked, as the user would.
// Hours outside 0..24 have no menu item and are ignored.
SettingsKey hourKey(const std::string& key, TForm1& form, int& hour, int defaultHour, int firstItem) {
    return integerKey(
        key, [&hour] { return hour; },
        [&form, &hour, firstItem](int value) {
            if (value < 0 || value > 24) return false;
            hour = value;
            form.HourMenuItems[firstItem + value]->click();
            return true;
        },
        [defaultHour](int value) { return value != defaultHour; });
}

SettingsKey pathKey(const std::string& key, std::string& path) {
    return textKey(
        key, [&path] { return path; },
        [&path](const std::string& value) {
            path = value;
            return true;
        });
}

}  // namespace

SettingsKey recordKey(TForm1& form) { return markedFlag("RECORD", form.MenuRecord); }

std::vector<SettingsKey> menuChoiceKeys(TForm1& form) {
    return {markedFlag("ROSE", form.Menu16secteurs, "16"), markedFlag("OLD", form.MenuAnnonce1h, "1"),
            markedFlag("OLD", form.MenuAnnonce2h, "2"), markedFlag("OLD", form.MenuAnnonce3h, "3")};
}

std::vector<SettingsKey> soundFileKeys(TForm1& form) {
    return {pathKey("FICHIER_ENTETE", form.headerFilePath), pathKey("FICHIER_TINTAL", form.cuckooFilePath),
            pathKey("FICHIER_FIN", form.closingFilePath)};
}

std::vector<SettingsKey> contentKeys(TForm1& form) {
    ClockScheduler& clock = form.clock;
    return {integerKey(
                "PERIOD", [&form] { return form.UpDownPeriode.value(); },
                [&form](int value) {
                    if (value < form.UpDownPeriode.minimum() || value > form.UpDownPeriode.maximum()) return false;
                    form.UpDownPeriode.setValue(value);
                    return true;
                },
                [](int value) { return value > 0; }),
            hourKey("PLAGE_DEBUT", form, clock.windowStartHour, 0, 0),
            hourKey("PLAGE_FIN", form, clock.windowEndHour, 24, 25),
            tickedFlag("ENTETE", form.CheckBoxEntete),
            spinKey("PAUSE", form.SpinEditPause, [](int value) { return value != 0; }),
            tickedFlag("FINAL", form.CheckBoxFin),
            untickedFlag("TINTAL", form.CheckBoxTintal),
            untickedFlag("DATE", form.CheckBoxDate),
            untickedFlag("ILEST", form.CheckBoxIlEst),
            untickedFlag("HEURE", form.CheckBoxheure),
            tickedFlag("MINUTE", form.CheckBoxNoMinutes)};
}

std::vector<SettingsKey> volumeKeys(TForm1& form) {
    SoundControls& sound = form.sound;
    // BALANCE comes first: applying VOLUME sets the device with the balance read just before.
    return {integerKey(
                "BALANCE", [&sound] { return sound.balance; },
                [&sound](int value) {
                    if (value < -100 || value > 100) return false;
                    sound.balance = value;
                    return true;
                }),
            spinKey("VOLUME", sound.TrackBarVolume)};
}

std::vector<SettingsKey> mainGeometryKeys(TForm1& form) {
    return geometryKeys("", form.Form1, GeometryOrder::TopLeftWidthHeight);
}

SettingsKey outputDeviceKey(TForm1& form) {
    SoundControls& sound = form.sound;
    return integerKey(
        "OSOUND", [&sound] { return sound.RadioButtonCarteWin.checked() ? -1 : sound.outputDevice(); },
        [&sound](int value) {
            if (value < -1) return false;
            if (value == -1) return true;
            sound.RadioButtonCarteMoi.setChecked(true);
            sound.setOutputDevice(value);
            return true;
        });
}

}  // namespace tintal

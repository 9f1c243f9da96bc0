#include "shell/tintal_settings.h"

#include <array>
#include <string_view>

#include "config/main_window_keys.h"
#include "config/radio_keys.h"
#include "config/settings_keys.h"
#include "config/station_window_keys.h"
#include "config/web_window_keys.h"
#include "core/tform1.h"
#include "radio/tform_com.h"
#include "radio/tform_record.h"
#include "shell/main_shell.h"
#include "shell/tform_info.h"
#include "shell/tintal_log.h"
#include "weather/stations/tform_meteo.h"
#include "weather/stations/tform_meteo_pro2.h"
#include "weather/stations/tform_meteo_w23.h"
#include "weather/stations/tform_meteo_w28.h"
#include "weather/tform_choix_meteo.h"
#include "weather/web/favourites_window.h"
#include "weather/web/tform_meteo_aprs.h"
#include "weather/web/tform_meteo_metar.h"
#include "weather/web/tform_meteo_piu.h"

namespace tintal {

namespace {

struct SourceWord {
    WeatherSourceKind kind;
    std::string_view word;
};
constexpr std::array<SourceWord, 7> kSourceWords{{{WeatherSourceKind::MON, "MON"},
                                                  {WeatherSourceKind::W23, "W23"},
                                                  {WeatherSourceKind::W28, "W28"},
                                                  {WeatherSourceKind::APRS, "APRS"},
                                                  {WeatherSourceKind::METAR, "METAR"},
                                                  {WeatherSourceKind::PIOUPIOU, "PIOUPIOU"},
                                                  {WeatherSourceKind::PRO2, "PRO2"}}};

void addAll(KeyTable& table, std::vector<SettingsKey> keys) { table.add(std::move(keys)); }

}  // namespace

TintalSettings::TintalSettings(SettingsWindows windows, SettingsFile& file, TintalLog& log)
    : w_(windows), file_(file), log_(log) {
    buildTable();
}

std::vector<Window*> TintalSettings::weatherWindows() {
    return {&w_.mon.form, &w_.w23.form, &w_.w28.form, &w_.aprs.form, &w_.metar.form, &w_.piu.form, &w_.pro2.form};
}

Window* TintalSettings::selectedWeatherWindow() {
    switch (w_.chooser.checkedKind()) {
        case WeatherSourceKind::MON: return &w_.mon.form;
        case WeatherSourceKind::W23: return &w_.w23.form;
        case WeatherSourceKind::W28: return &w_.w28.form;
        case WeatherSourceKind::APRS: return &w_.aprs.form;
        case WeatherSourceKind::PRO2: return &w_.pro2.form;
        case WeatherSourceKind::METAR: return &w_.metar.form;
        case WeatherSourceKind::PIOUPIOU: return &w_.piu.form;
        case WeatherSourceKind::None: break;
    }
    return nullptr;
}

void TintalSettings::buildTable() {
    TForm1& f = w_.main;
    MainShell& shell = w_.shell;
    table_.add(recordKey(f));
    table_.add(recorderPathKey(w_.record));
    addAll(table_, menuChoiceKeys(f));
    addAll(table_, soundFileKeys(f));
    addAll(table_, contentKeys(f));
    table_.add(tickedFlag("START", shell.CheckBoxDemarrage));
    // The loader's tick minimises at once; the pending mark keeps that minimise from saving.
    table_.add({[&shell](std::vector<std::string>& lines) {
                    if (shell.CheckBoxReduire.checked()) lines.push_back("REDUCE=Y");
                },
                [&shell](const std::string& k, const std::string& value) {
                    if (k != "REDUCE=") return KeyRead::NotMine;
                    if (value != "Y") return value == "N" ? KeyRead::Taken : KeyRead::Refused;
                    shell.ReducePending = true;
                    shell.CheckBoxReduire.setChecked(true);
                    return KeyRead::Taken;
                }});
    addAll(table_, volumeKeys(f));
    table_.add(spinKey("MAXVOLUME", shell.Gauge1));
    table_.add({[this](std::vector<std::string>& lines) {
                    for (const SourceWord& s : kSourceWords) {
                        if (w_.chooser.isChecked(s.kind)) lines.push_back("METEO=" + std::string(s.word));
                    }
                },
                [this](const std::string& k, const std::string& value) {
                    if (k != "METEO=") return KeyRead::NotMine;
                    if (value == "MON") {
                        w_.chooser.RadioButtonMON.setChecked(true);
                        return KeyRead::Taken;
                    }
                    for (const SourceWord& s : kSourceWords) {
                        if (value != s.word) continue;
                        deferredSource_ = s.kind;
                        return KeyRead::Taken;
                    }
                    return KeyRead::Refused;
                }});
    addAll(table_, monitorKeys(w_.mon));
    addAll(table_, w23Keys(w_.w23));
    addAll(table_, w28Keys(w_.w28));
    addAll(table_, aprsKeys(w_.aprs, w_.favAprs));
    addAll(table_, metarKeys(w_.metar, w_.favMetar));
    addAll(table_, pioupiouKeys(w_.piu, w_.favPiu));
    addAll(table_, pro2Keys(w_.pro2));
    addAll(table_, mainGeometryKeys(f));
    for (const auto& entry : {std::pair{"METEO_TOP", &Rect::top},
                              {"METEO_LEFT", &Rect::left},
                              {"METEO_WIDTH", &Rect::width},
                              {"METEO_HEIGHT", &Rect::height}}) {
        const auto side = entry.second;
        table_.add(integerKey(
            entry.first, [this, side] { return MeteoWindowRect.*side; }, [](int) { return true; }));
    }
    table_.add({[this](std::vector<std::string>& lines) {
                    bool anyShown = false;
                    for (Window* window : weatherWindows()) anyShown = anyShown || window->visible();
                    if (!anyShown) lines.push_back("FORMMETEO=N");
                },
                [this](const std::string& k, const std::string& value) {
                    if (k != "FORMMETEO=") return KeyRead::NotMine;
                    if (value == "N") hideWeatherWindows_ = true;
                    return value == "N" || value == "Y" ? KeyRead::Taken : KeyRead::Refused;
                }});
    table_.add(outputDeviceKey(f));
    table_.add({[&shell](std::vector<std::string>& lines) {
                    lines.push_back(std::string("VERSTART=") + (shell.CheckBoxInfoVersion.checked() ? "1" : "0"));
                },
                [&shell](const std::string& k, const std::string& value) {
                    if (k != "VERSTART=") return KeyRead::NotMine;
                    if (value == "1") shell.CheckBoxInfoVersion.setChecked(true);
                    return value == "1" || value == "0" ? KeyRead::Taken : KeyRead::Refused;
                }});
    addAll(table_, serialPortKeys(w_.com));
}

void TintalSettings::LoadConfig() {
    const std::string version(kProgramVersion);
    w_.main.Form1.setCaption("Tintal V" + version);
    w_.info.Label1.setCaption("TINTAL V" + version);
    deferredSource_.reset();
    hideWeatherWindows_ = false;
    ConfigLoading = true;
    lineProblems_ = file_.load(table_);
    if (file_.state() == SettingsFile::State::Unreadable) {
        w_.main.desktop.beep();
        w_.main.EditData.setText("Err: tintal.ini");
    }
    log_.load();
    openStationPort();
    if (deferredSource_) w_.chooser.button(*deferredSource_).setChecked(true);
    placeWindows();
}

void TintalSettings::openStationPort() {
    if (w_.mon.comPort == 0 || !w_.chooser.RadioButtonMON.checked()) return;
    if (!w_.shell.CheckBoxReduire.checked()) w_.mon.form.show();
    w_.mon.requestSilentPortRefill();
    w_.mon.ButtonPortClick();
    w_.mon.choosePort(w_.mon.comPort);
}

void TintalSettings::placeWindows() {
    const bool minimised = w_.shell.CheckBoxReduire.checked();
    if (!minimised) {
        w_.main.Form1.show();
        if (Window* source = selectedWeatherWindow()) source->show();
    }
    if (hideWeatherWindows_) {
        for (Window* window : weatherWindows()) window->hide();
    } else if (minimised) {
        w_.mon.form.hide();
    }
}

void TintalSettings::finishLoad(const std::function<void()>& checkVersion) {
    w_.com.FormShow();
    if (w_.shell.CheckBoxInfoVersion.checked() && checkVersion) checkVersion();
    ConfigLoading = false;
}

void TintalSettings::SaveConfig(bool closing) {
    if (file_.state() == SettingsFile::State::Unreadable && !skippedSaveShown_) {
        skippedSaveShown_ = true;
        w_.main.EditData.setText("tintal.ini illisible : configuration non sauvée");
    }
    if (!file_.mayReplace()) return;
    if (closing) {
        // In this order the last visible one wins.
        for (Window* window :
             {&w_.mon.form, &w_.aprs.form, &w_.metar.form, &w_.piu.form, &w_.w23.form, &w_.w28.form, &w_.pro2.form}) {
            if (window->visible()) MeteoWindowRect = window->bounds();
        }
    }
    if (!file_.save(table_)) {
        w_.main.desktop.beep();
        w_.main.EditData.setText("Err: tintal.ini");
    }
}

}  // namespace tintal

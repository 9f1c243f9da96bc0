#include "config/station_window_keys.h"

#include "config/settings_keys.h"
#include "weather/stations/tform_meteo.h"
#include "weather/stations/tform_meteo_pro2.h"
#include "weather/stations/tform_meteo_w23.h"
#include "weather/stations/tform_meteo_w28.h"

namespace tintal {

namespace {

AnnounceBoxes allFigures(FileSourceWindow& w) {
    return {{"TEMPINT", &w.CheckBoxTint},  {"TEMPEXT", &w.CheckBoxText}, {"PRESATM", &w.CheckBoxPatm},
            {"PRETEND", &w.CheckBoxTend},  {"VITVENT", &w.CheckBoxVent}, {"VITRAFA", &w.CheckBoxRafa},
            {"DIRVENT", &w.CheckBoxDire},  {"TRES", &w.CheckBoxTRes},    {"PLUIE", &w.CheckBoxPluie},
            {"HUMIDI", &w.CheckBoxHumiExt}};
}

// Flags, geometry, refresh period and file: the keys every station window starts with.
std::vector<SettingsKey> commonKeys(const std::string& prefix, FileSourceWindow& w) {
    std::vector<SettingsKey> keys = announceFlagKeys(prefix, allFigures(w));
    for (SettingsKey& key : geometryKeys(prefix, w.form)) keys.push_back(std::move(key));
    keys.push_back(spinKey(prefix + "METPERI", w.SpinEditRafraichir));
    keys.push_back(textKey(
        prefix + "DAT", [&w] { return w.EditDat.text(); },
        [&w](const std::string& path) {
            if (path.empty()) return true;
            w.setFile(path);
            return w.EditDat.text() == path;
        }));
    return keys;
}

}  // namespace

std::vector<SettingsKey> monitorKeys(TFormMeteo& w) {
    std::vector<SettingsKey> keys = announceFlagKeys("", {{"TEMPINT", &w.CheckBoxTint},
                                                          {"TEMPEXT", &w.CheckBoxText},
                                                          {"PRESATM", &w.CheckBoxPatm},
                                                          {"PRETEND", &w.CheckBoxtend},
                                                          {"VITVENT", &w.CheckBoxVent},
                                                          {"VITRAFA", &w.CheckBoxRafa},
                                                          {"DIRVENT", &w.CheckBoxDire},
                                                          {"LOG", &w.CheckBoxlog}});
    for (SettingsKey& key : geometryKeys("MON_", w.form)) keys.push_back(std::move(key));
    keys.push_back(spinKey("METPERI", w.SpinEditRafraichir));
    // The port itself opens after the whole file is read.
    keys.push_back(integerKey(
        "METCOMM", [&w] { return w.comPort; },
        [&w](int port) {
            w.comPort = port;
            w.ButtonPort.setCaption("COM=" + std::to_string(port));
            return port >= 0;
        }));
    return keys;
}

std::vector<SettingsKey> w23Keys(TFormMeteoW23& window) {
    std::vector<SettingsKey> keys = commonKeys("W23_", window);
    keys.push_back(spinKey("W23_POFFSET", window.SpinEditOffSetPression));
    keys.push_back(spinKey("W23_SEUILTEN", window.SpinEditSeuiltendance));
    return keys;
}

std::vector<SettingsKey> w28Keys(TFormMeteoW28& window) {
    std::vector<SettingsKey> keys = commonKeys("W28_", window);
    keys.push_back(radioPair("W28_PABS", window.RadioButtonPABS, window.RadioButtonPREL));
    keys.push_back(spinKey("W28_POFFSET", window.SpinEditOffSetPression));
    return keys;
}

std::vector<SettingsKey> pro2Keys(TFormMeteoPro2& window) {
    std::vector<SettingsKey> keys = commonKeys("PRO2_", window);
    keys.push_back(spinKey("PRO2_POFFSET", window.SpinEditOffSetPression));
    keys.push_back(spinKey("PRO2_SEUILTEN", window.SpinEditSeuiltendance));
    keys.push_back(untickedFlag("PRO2_NEW", window.CheckBoxFichier));
    return keys;
}

}  // namespace tintal

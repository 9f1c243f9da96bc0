#include "config/web_window_keys.h"

#include "config/settings_keys.h"
#include "weather/web/favourites_window.h"
#include "weather/web/tform_meteo_aprs.h"
#include "weather/web/tform_meteo_metar.h"
#include "weather/web/tform_meteo_piu.h"

namespace tintal {

namespace {

constexpr char kBadAddress[] = "Erreur fichier #6";

// The address field: a value the window cannot use shows the error and leaves the field empty.
SettingsKey addressKey(const std::string& key, WebSourceWindow& w, bool localFilesToo) {
    return textKey(
        key, [&w] { return w.EditDat.text(); },
        [&w, localFilesToo](const std::string& value) {
            if (value.empty()) return true;
            if (isWebAddress(value) || (localFilesToo && w.files().exists(value))) {
                w.EditDat.setText(value);
                return true;
            }
            w.StaticTextErreur.setCaption(kBadAddress);
            return false;
        });
}

SettingsKey timeBaseKey(const std::string& key, WebSourceWindow& w) {
    return integerKey(
        key, [&w] { return w.ComboBoxTU.itemIndex(); },
        [&w](int item) {
            if (item != 0 && item != 1) return false;
            w.ComboBoxTU.setItemIndex(item);
            return true;
        });
}

std::vector<TextField*> slotsOf(FavouritesWindow& favourites) {
    return {favourites.slots.begin(), favourites.slots.end()};
}

// Flags, units (APRS only, between them), geometry, refresh period, address, history and favourites.
std::vector<SettingsKey> webKeys(const std::string& prefix, const std::string& geometryPrefix, WebSourceWindow& w,
                                 const AnnounceBoxes& figures, std::vector<SettingsKey> units, bool localFiles,
                                 FavouritesWindow& favourites) {
    std::vector<SettingsKey> keys = announceFlagKeys(prefix, figures);
    for (SettingsKey& key : units) keys.push_back(std::move(key));
    for (SettingsKey& key : geometryKeys(geometryPrefix, w.form)) keys.push_back(std::move(key));
    keys.push_back(spinKey(prefix + "METPERI", w.SpinEditRafraichir));
    keys.push_back(addressKey(prefix + "DAT", w, localFiles));
    keys.push_back(listKey(prefix + "LIST", w.ComboBoxPath));
    keys.push_back(numberedTexts(prefix + "FAV", slotsOf(favourites)));
    keys.push_back(spinKey(prefix + "POFFSET", w.SpinEditOffSetPression));
    keys.push_back(timeBaseKey(prefix + "TU", w));
    return keys;
}

AnnounceBoxes outdoorFigures(WebSourceWindow& w) {
    return {{"TEMPEXT", &w.CheckBoxText}, {"PRESATM", &w.CheckBoxPatm},  {"VITVENT", &w.CheckBoxVent},
            {"VITRAFA", &w.CheckBoxRafa}, {"DIRVENT", &w.CheckBoxDire},  {"TRES", &w.CheckBoxTRes},
            {"PLUIE", &w.CheckBoxPluie},  {"HUMIDI", &w.CheckBoxHumiExt}};
}

SettingsKey chosenRadio(const std::string& key, RadioButton& button) {
    const std::string match = key + "=";
    return {[match, &button](std::vector<std::string>& lines) {
                if (button.checked()) lines.push_back(match + "Y");
            },
            [match, &button](const std::string& k, const std::string& value) {
                if (k != match) return KeyRead::NotMine;
                if (value == "Y") button.setChecked(true);
                return value == "Y" || value == "N" ? KeyRead::Taken : KeyRead::Refused;
            }};
}

SettingsKey noteKey(const std::string& key, TextField& field) {
    return textKey(
        key, [&field] { return field.text(); },
        [&field](const std::string& value) {
            field.setText(value);
            return true;
        });
}

}  // namespace

std::vector<SettingsKey> aprsKeys(TFormMeteoAPRS& w, FavouritesWindow& favourites) {
    std::vector<SettingsKey> units{chosenRadio("APRS_KM", w.RadioButtonKM), chosenRadio("APRS_KNOT", w.RadioButtonKnot),
                                   radioPair("APRS_DGF", w.RadioButtonDegF, w.RadioButtondegC),
                                   radioPair("APRS_INC", w.RadioButtonInch, w.RadioButtonMM)};
    std::vector<SettingsKey> keys = webKeys("APRS_", "APRS_", w, outdoorFigures(w), std::move(units), true, favourites);
    keys.push_back(noteKey("APRS_ID", w.EditID));
    keys.push_back(noteKey("APRS_PW", w.EditPW));
    return keys;
}

std::vector<SettingsKey> metarKeys(TFormMeteoMETAR& w, FavouritesWindow& favourites) {
    return webKeys("METAR_", "METAR_", w, outdoorFigures(w), {}, false, favourites);
}

std::vector<SettingsKey> pioupiouKeys(TFormMeteoPIU& w, FavouritesWindow& favourites) {
    const AnnounceBoxes figures{{"PRESATM", &w.CheckBoxPatm},
                                {"VITVENT", &w.CheckBoxVent},
                                {"VITRAFA", &w.CheckBoxRafa},
                                {"DIRVENT", &w.CheckBoxDire}};
    return webKeys("PIOUPIOU_", "PIU_", w, figures, {}, false, favourites);
}

}  // namespace tintal

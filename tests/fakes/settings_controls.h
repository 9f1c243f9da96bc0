#pragma once
// A small window's worth of controls and their settings keys, one of each kind of key, for the
// settings file's tests and its fuzz target.
#include <memory>
#include <string>
#include <vector>

#include "config/key_table.h"
#include "config/settings_keys.h"
#include "widgets/combo_box.h"
#include "widgets/spin_box.h"
#include "widgets/text_field.h"
#include "widgets/tick_box.h"
#include "widgets/window.h"

namespace tintal {

struct SettingsControls {
    TickBox entete{"CheckBoxEntete", "", false};
    TickBox tintal{"CheckBoxTintal", "", true};
    SpinBox pause{"SpinEditPause", 0, 15, 0};
    TextField path{"EditDat"};
    ComboBox list{"ComboBoxPath"};
    std::vector<std::unique_ptr<TextField>> favourites;
    Window window{"TFormMeteoW23", "", Rect{332, 104, 306, 381}};
    KeyTable table;

    SettingsControls() {
        std::vector<TextField*> fields;
        for (int i = 1; i <= 10; ++i) {
            favourites.push_back(std::make_unique<TextField>("Edit" + std::to_string(i)));
            fields.push_back(favourites.back().get());
        }
        table.add(tickedFlag("ENTETE", entete));
        table.add(untickedFlag("TINTAL", tintal));
        table.add(integerKey(
            "PAUSE", [this] { return pause.value(); },
            [this](int v) {
                pause.setValue(v);
                return true;
            },
            [](int v) { return v != 0; }));
        table.add(textKey(
            "W23_DAT", [this] { return path.text(); },
            [this](const std::string& v) {
                path.setText(v);
                return true;
            }));
        table.add(listKey("APRS_LIST", list));
        table.add(numberedTexts("APRS_FAV", fields));
        table.add(geometryKeys("W23_", window));
    }
    void load(const std::vector<std::string>& lines) {
        for (const std::string& line : lines) table.apply(line);
    }
};

}  // namespace tintal

// Any bytes a settings file may hold: every line is offered to every kind of key over real controls,
// and what they then write is a file that reads back to the same controls.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>

#include "config/key_table.h"
#include "config/settings_keys.h"
#include "config/settings_text.h"
#include "widgets/combo_box.h"
#include "widgets/spin_box.h"

namespace {

struct Controls {
    tintal::TickBox on{"on", "", false}, off{"off", "", true};
    tintal::SpinBox spin{"spin", 1, 60, 1};
    tintal::TextField text{"text"};
    tintal::ComboBox list{"list"};
    std::vector<std::unique_ptr<tintal::TextField>> favourites;
    tintal::Window window{"w", "", {1, 2, 3, 4}};
    tintal::KeyTable table;
    Controls() {
        using namespace tintal;
        std::vector<TextField*> fields;
        for (int i = 0; i < 10; ++i) {
            favourites.push_back(std::make_unique<TextField>("f"));
            fields.push_back(favourites.back().get());
        }
        table.add(tickedFlag("ON", on));
        table.add(untickedFlag("OFF", off));
        table.add(integerKey(
            "SPIN", [this] { return spin.value(); },
            [this](int v) {
                spin.setValue(v);
                return true;
            }));
        table.add(textKey(
            "TEXT", [this] { return text.text(); },
            [this](const std::string& v) {
                text.setText(v);
                return true;
            }));
        table.add(listKey("LIST", list));
        table.add(numberedTexts("FAV", fields));
        table.add(geometryKeys("W_", window));
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tintal;
    Controls first;
    for (const std::string& line : splitSettingsLines(std::span<const std::uint8_t>(data, size)))
        first.table.apply(line);
    if (first.list.count() > 10) std::abort();
    const std::vector<std::uint8_t> saved = joinSettingsLines(first.table.write());

    Controls second;
    for (const std::string& line : splitSettingsLines(saved)) second.table.apply(line);
    // A value with a line break cannot be stored, so only texts without one are sure to come back whole.
    if (first.text.text().find_first_of("\r\n") == std::string::npos && first.text.text() != second.text.text()) {
        if (!first.text.text().empty()) std::abort();
    }
    if (first.spin.value() != second.spin.value() || first.on.checked() != second.on.checked()) std::abort();
    return 0;
}

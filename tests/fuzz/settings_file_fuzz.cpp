// Any bytes a settings file may hold: every line is offered to every kind of key over real controls,
// and what they then write is a file that reads back to the same controls.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "../fakes/settings_controls.h"
#include "config/settings_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tintal;
    SettingsControls first;
    first.load(splitSettingsLines(std::span<const std::uint8_t>(data, size)));
    if (first.list.count() > 10) std::abort();
    const std::vector<std::uint8_t> saved = joinSettingsLines(first.table.write());

    SettingsControls second;
    second.load(splitSettingsLines(saved));
    // A value with a line break cannot be stored, so only texts without one are sure to come back whole.
    if (first.path.text().find_first_of("\r\n") == std::string::npos && first.path.text() != second.path.text()) {
        if (!first.path.text().empty()) std::abort();
    }
    if (first.pause.value() != second.pause.value() || first.entete.checked() != second.entete.checked()) std::abort();
    return 0;
}

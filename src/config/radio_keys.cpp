#include "config/radio_keys.h"

#include "base/numbers.h"
#include "config/settings_keys.h"
#include "platform/serial_port_names.h"
#include "radio/tform_com.h"
#include "radio/tform_record.h"

namespace tintal {

SettingsKey recorderPathKey(TFormRecord& window) {
    return textKey(
        "RECORDER", [&window] { return window.EditZorvane.text(); },
        [&window](const std::string& path) {
            if (!path.empty()) window.EditZorvane.setText(path);
            return true;
        },
        true);
}

std::vector<SettingsKey> serialPortKeys(TFormCOM& window) {
    // The chosen entry: "No COM" is written 0, "COMn" as n; a list without a choice writes nothing.
    SettingsKey port{[&window](std::vector<std::string>& lines) {
                         const int entry = window.ListBoxCOM.itemIndex();
                         if (entry < 0) return;
                         const std::optional<int> number = portNumber(window.ListBoxCOM.selectedItem());
                         lines.push_back("COM=" + std::to_string(entry == 0 || !number ? 0 : *number));
                     },
                     [&window](const std::string& k, const std::string& value) {
                         if (k != "COM=") return KeyRead::NotMine;
                         const std::optional<int> number = strictToInt(value);
                         if (!number || *number < 0) return KeyRead::Refused;
                         window.restorePort(*number);
                         return KeyRead::Taken;
                     }};
    return {port,
            untickedFlag("DTR", window.CheckBoxDTR, "0"),
            untickedFlag("RTS", window.CheckBoxRTS, "0"),
            untickedFlag("DSR", window.CheckBoxDSR, "0"),
            untickedFlag("CTS", window.CheckBoxCTS, "0"),
            untickedFlag("DCD", window.CheckBoxDCD, "0")};
}

}  // namespace tintal

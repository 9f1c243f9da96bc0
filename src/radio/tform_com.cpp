#include "radio/tform_com.h"

#include <string>

#include "radio/serial_port_list.h"

namespace tintal {

TFormCOM::TFormCOM(PttPort& port, const ListBox& mainPortList, Desktop& desktop)
    : port_(port), mainPortList_(mainPortList), desktop_(desktop) {
    form.onShow = [this] { FormShow(); };
    ListBoxCOM.onClick = [this] { ListBoxCOMClick(); };
}

void TFormCOM::FormShow() {
    // The list is copied once per run: the ports found at start.
    if (ListBoxCOM.count() != 0) return;
    for (const std::string& item : mainPortList_.items()) ListBoxCOM.addItem(item);
    ListBoxCOM.selectSilently(ListBoxCOM.indexOf(port_.pttPortName));
}

void TFormCOM::ListBoxCOMClick() {
    const std::string entry = ListBoxCOM.selectedItem();
    if (entry.empty()) return;
    if (entry != kNoPort) {
        port_.pttPortName = entry;
        menuCOMClick();
        // After a failed open this writes "No COM", the name the failure left.
        port_.LabelCOM().setCaption(port_.pttPortName);
    } else {
        menuComNoneclick();
    }
    if (port_.pttOpenOk) form.hide();
}

void TFormCOM::menuCOMClick() {
    if (port_.openNamedPort()) return;
    desktop_.errorBox("Erreur port COM");
    menuComNoneclick();
}

void TFormCOM::restorePort(int number) {
    if (number == 0) {
        menuComNoneclick();
        return;
    }
    port_.pttPortName = portName(number);
    menuCOMClick();
    port_.LabelCOM().setCaption(port_.pttPortName);
}

void TFormCOM::menuComNoneclick() {
    port_.closePort();
    ListBoxCOM.selectSilently(0);
    port_.pttPortName = std::string(kNoPort);
    port_.LabelCOM().setCaption("COM");
    port_.clearCarrier();
}

}  // namespace tintal

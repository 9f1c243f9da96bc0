#pragma once
// The window "Port COM": the port list and the lines in use.
#include "platform/desktop.h"
#include "radio/ptt_port.h"
#include "widgets/label.h"
#include "widgets/list_box.h"
#include "widgets/tick_box.h"
#include "widgets/window.h"

namespace tintal {

class TFormCOM {
public:
    // mainPortList: the main window's hidden list, "No COM" then the ports found at start.
    TFormCOM(PttPort& port, const ListBox& mainPortList, Desktop& desktop);

    void FormShow();
    void ListBoxCOMClick();
    // Opens the port named by the port state (set by the caller).
    void menuCOMClick();
    void menuComNoneclick();
    // The stored port number: 0 is no port, n opens "COMn"; the main window then shows the name.
    void restorePort(int number);

    Window form{"TFormCOM", "Port COM", Rect{780, 120, 340, 270}};
    Label Label1{"Label1", " Choisissez port COM et signaux opérants"};
    ListBox ListBoxCOM{"ListBoxCOM"};
    Label GroupBoxPTT{"GroupBoxPTT", "Commande PTT (+12V)"};
    TickBox CheckBoxDTR{"CheckBoxDTR", "DTR (pin 4)", true};
    TickBox CheckBoxRTS{"CheckBoxRTS", "RTS (pin 7)", true};
    Label GroupBoxJouer{"GroupBoxJouer", "Jouer message (->+)"};
    TickBox CheckBoxDSR{"CheckBoxDSR", "DSR (pin 6)", true};
    TickBox CheckBoxCTS{"CheckBoxCTS", "CTS (pin 8)", true};
    Label GroupBoxInhiber{"GroupBoxInhiber", "Inhiber message (->+)"};
    TickBox CheckBoxDCD{"CheckBoxDCD", "DCD (pin 1)", true};

private:
    PttPort& port_;
    const ListBox& mainPortList_;
    Desktop& desktop_;
};

}  // namespace tintal

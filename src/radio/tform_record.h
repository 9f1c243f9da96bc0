#pragma once
// The window "TINTAL" that holds the recorder program's path, and the main menu's recording switch.
#include "platform/desktop.h"
#include "platform/files.h"
#include "widgets/button.h"
#include "widgets/label.h"
#include "widgets/menu_item.h"
#include "widgets/text_field.h"
#include "widgets/window.h"

namespace tintal {

class TFormRecord {
public:
    // menuRecord: the main window's "Enregistrer le message", whose click this window handles.
    TFormRecord(MenuItem& menuRecord, Desktop& desktop, Files& files);

    void MenuRecordClick();
    void ButtonParcourirClick();

    Window form{"TFormRecord", "TINTAL", Rect{200, 580, 430, 100}};
    Label Label1{"Label1", "Chemin Palvomane"};
    TextField EditZorvane{"EditZorvane"};
    Button ButtonParcourir{"ButtonParcourir", "Parcourir"};

private:
    MenuItem& menuRecord_;
    Desktop& desktop_;
    Files& files_;
};

}  // namespace tintal

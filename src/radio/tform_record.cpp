#include "radio/tform_record.h"

namespace tintal {

TFormRecord::TFormRecord(MenuItem& menuRecord, Desktop& desktop, Files& files)
    : menuRecord_(menuRecord), desktop_(desktop), files_(files) {
    menuRecord_.onClick = [this] { MenuRecordClick(); };
    ButtonParcourir.onClick = [this] { ButtonParcourirClick(); };
}

void TFormRecord::MenuRecordClick() {
    if (menuRecord_.checked()) {
        menuRecord_.setChecked(false);
        return;
    }
    menuRecord_.setChecked(true);
    form.show();
}

void TFormRecord::ButtonParcourirClick() {
    const auto chosen = desktop_.chooseFile("Programme (*.exe)|*.exe", "exe");
    // A cancelled dialog keeps the path the user had.
    if (!chosen) return;
    if (files_.exists(*chosen)) {
        EditZorvane.setText(*chosen);
        return;
    }
    EditZorvane.setText("");
    desktop_.beep();
}

}  // namespace tintal

#include "ui/win32/file_source_layout.h"

namespace tintal {

namespace {

constexpr int kRight = 250;  // the right-hand column

void bindFigures(ControlBinder& b, FileSourceWindow& w) {
    const int y = bindAnnouncePanel(b, w.figureBoxes(), 102, 236, 20);
    b.label(w.LabelHumInt, box(26, y + 2, 218, 18));
    b.label(w.LabelTros, box(26, y + 22, 218, 18));
}

void bindRefresh(ControlBinder& b, FileSourceWindow& w) {
    b.staticText("toutes les", box(kRight, 104, 70, 18));
    b.spinEdit(w.SpinEditRafraichir, box(kRight + 72, 101, 50, 22));
    b.staticText("minute(s)", box(kRight + 128, 104, 70, 18));
    b.button(w.ButtonRafraichir, box(kRight, 130, 100, 26));
}

void bindPressure(ControlBinder& b, FileSourceWindow& w, const std::string& offsetLabel) {
    b.staticText(offsetLabel, box(kRight, 190, 110, 18));
    b.spinEdit(w.SpinEditOffSetPression, box(kRight + 112, 187, 56, 22));
    b.staticText("hPa", box(kRight + 174, 190, 40, 18));
    b.staticText("Seuil tendance", box(kRight, 220, 110, 18));
    b.spinEdit(w.SpinEditSeuiltendance, box(kRight + 112, 217, 44, 22));
    b.staticText("0.1*hPa/h", box(kRight + 158, 220, 60, 18));
}

}  // namespace

WindowFrame createFileSourceFrame(FileSourceWindow& w, HWND owner, const std::string& fileLabel,
                                  const std::string& offsetLabel, const Label* pressureGroup, int groupHeight) {
    const WindowFrame frame = createWindowFrame(w.form, owner);
    ControlBinder& b = frame.binder;
    b.staticText(fileLabel, box(8, 8, 300, 18));
    // Read-only but framed: an empty path must still show where the path goes.
    b.textField(w.EditDat, box(8, 26, 350, 22), true, WS_BORDER);
    b.button(w.ButtonParcourir, box(364, 24, 96, 26));
    b.staticText("Date :", box(8, 59, 40, 18));
    b.textField(w.Editdatemeteo, box(50, 56, 180, 22), true, WS_BORDER);
    HWND error = b.label(w.StaticTextErreur, box(kRight, 59, 210, 18));
    SendMessageW(error, WM_SETFONT, reinterpret_cast<WPARAM>(frame.italicFont), TRUE);
    bindFigures(b, w);
    bindRefresh(b, w);
    if (pressureGroup) b.groupBox(pressureGroup->caption(), box(kRight - 6, 170, 228, groupHeight));
    bindPressure(b, w, offsetLabel);
    return frame;
}

}  // namespace tintal

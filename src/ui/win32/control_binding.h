#pragma once
// Binds widget models to real Win32 controls: the model's renderer updates the control, and the
// control's notifications call the model's setters, so handlers run as for the program's own changes.
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "widgets/button.h"
#include "widgets/combo_box.h"
#include "widgets/image.h"
#include "widgets/label.h"
#include "widgets/list_box.h"
#include "widgets/menu_item.h"
#include "widgets/radio_button.h"
#include "widgets/spin_box.h"
#include "widgets/text_field.h"
#include "widgets/tick_box.h"
#include "widgets/window.h"

namespace tintal {

// The colour value of a widget colour (red is 255, as the rest of the program reads it).
COLORREF colourValue(Colour colour);

class ControlBinder {
public:
    ControlBinder(HWND parent, HFONT font) : parent_(parent), font_(font) {}
    ~ControlBinder();
    ControlBinder(const ControlBinder&) = delete;
    ControlBinder& operator=(const ControlBinder&) = delete;

    HWND tickBox(TickBox& box, RECT r);
    HWND button(Button& button, RECT r);
    // A read-only field shows the model; an editable one feeds typing back into it. A read-only field has no
    // border unless extraStyle adds one (WS_BORDER).
    HWND textField(TextField& field, RECT r, bool readOnly, DWORD extraStyle = 0);
    // An up-down control beside its buddy field (the field shows what the handler writes there).
    HWND upDown(SpinBox& spin, HWND buddy);
    // A spin edit: a number field with its up-down control.
    HWND spinEdit(SpinBox& spin, RECT r);
    HWND staticText(const std::string& text, RECT r);
    // A label whose caption and text colour follow the model; background CLR_INVALID = the window's.
    // extraStyle adds static-control styles (SS_SUNKEN draws it in a hollow).
    HWND label(Label& label, RECT r, COLORREF background = CLR_INVALID, DWORD extraStyle = 0);
    // A label the user can click, as a web link is.
    HWND linkLabel(Label& label, RECT r, std::function<void()> onClick);
    // A group box frame around controls created separately.
    HWND groupBox(const std::string& caption, RECT r);
    // A list; choosing an entry selects it in the model.
    HWND listBox(ListBox& list, RECT r);
    // A picture shown while the model is visible; onClick, if any, runs when it is clicked. The bitmap
    // stays the caller's.
    HWND image(Image& image, RECT r, HBITMAP bitmap, std::function<void()> onClick = {});
    HWND radioButton(RadioButton& button, RECT r);
    // A column of tick boxes or radio buttons: the first at `first`, each next `step` lower.
    void tickBoxes(const std::vector<TickBox*>& boxes, RECT first, int step);
    void radioButtons(const std::vector<RadioButton*>& buttons, RECT first, int step);
    // A drop-down list; choosing an entry selects it in the model.
    HWND comboBox(ComboBox& combo, RECT r);
    // A vertical slider over the spin box's range.
    HWND trackBar(SpinBox& spin, RECT r);
    // A panel: the controls shown and hidden with the panel's model.
    void panel(Window& panel, std::vector<HWND> controls);
    // Appends the item (and its sub-items, as a pop-up) to a menu; a hidden item is bound to its shortcut only.
    void menuItem(HMENU menu, MenuItem& item);
    // The command whose shortcut the key makes with these modifiers held, or 0; a WM_COMMAND with it chooses
    // the item.
    int shortcutCommand(WPARAM key, bool ctrl, bool alt, bool shift) const;

    // Window-procedure hooks; each returns true when it handled the message.
    bool command(WPARAM wParam);
    bool notify(LPARAM lParam, LRESULT& result);
    // All of the hooks above for one message (commands, notifications, sliders, colours).
    bool dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    HWND create(const wchar_t* cls, const std::string& text, DWORD style, RECT r, int id);
    int nextId() { return nextId_++; }
    // A list's choice: the control's notice of a new selection selects it in the model.
    template <typename List>
    void selectOnNotice(int id, HWND hwnd, List& list, int notice, UINT getSelection);
    template <typename Widget>
    void column(HWND (ControlBinder::*bind)(Widget&, RECT), const std::vector<Widget*>& widgets, RECT r, int step);

    HWND parent_;
    HFONT font_;
    int nextId_ = 1000;
    std::map<int, std::function<void(int code)>> commands_;
    std::map<HWND, std::function<void(int delta)>> upDowns_;
    std::vector<std::pair<Shortcut, int>> shortcuts_;

public:
    // WM_VSCROLL from a slider; true when it was one of ours.
    bool scroll(HWND slider);
    // WM_CTLCOLORSTATIC (labels, tick boxes): the model's colours; true when the control was one of ours.
    bool controlColour(HWND control, HDC dc, LRESULT& result);

private:
    std::map<HWND, std::function<void()>> sliders_;
    struct Colours {
        std::function<Colour()> text;
        HBRUSH background = nullptr;  // null: the window's own
    };
    std::map<HWND, Colours> colours_;
    std::vector<HBRUSH> brushes_;
};

// A control's rectangle from its left, top, width and height.
constexpr RECT box(int x, int y, int w, int h) { return RECT{x, y, x + w, y + h}; }

// Registers a window class drawn in the dialog colour (a class already registered is kept).
void registerWindowClass(const wchar_t* name, WNDPROC procedure, HICON icon = nullptr);
// The font of every window's controls (italic: for the red error texts); the caller deletes it.
HFONT createControlFont(bool italic = false);

// On WM_NCDESTROY of a window whose user data is its view (with the window's font): both go.
template <typename View>
void destroyView(HWND hwnd, View* view) {
    if (view) DeleteObject(view->font);
    delete view;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
}

// Applies the common state every control has: caption, enabled, visible.
void renderCommon(HWND hwnd, const Control& control, bool withCaption);

}  // namespace tintal

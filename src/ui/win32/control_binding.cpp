#include "ui/win32/control_binding.h"

#include <commctrl.h>

#include "platform/win32/win32_text.h"
#include "ui/win32/tooltips.h"
#include "ui/win32/window_placement.h"

namespace tintal {

void renderCommon(HWND hwnd, const Control& control, bool withCaption) {
    if (withCaption) SetWindowTextW(hwnd, widen(control.caption()).c_str());
    EnableWindow(hwnd, control.enabled());
    ShowWindow(hwnd, control.visible() ? SW_SHOWNA : SW_HIDE);
    setControlHint(hwnd, control.hint());
}

COLORREF colourValue(Colour colour) {
    switch (colour) {
        case Colour::Red: return RGB(255, 0, 0);
        case Colour::Green: return RGB(0, 128, 0);
        case Colour::Blue: return RGB(0, 0, 255);
        case Colour::Gray: return RGB(128, 128, 128);
        case Colour::Black: break;
    }
    return RGB(0, 0, 0);
}

ControlBinder::~ControlBinder() {
    for (HBRUSH brush : brushes_) DeleteObject(brush);
}

HWND ControlBinder::create(const wchar_t* cls, const std::string& text, DWORD style, RECT r, int id) {
    // Layouts are written for 96 DPI.
    r = dpiScaled(r);
    HWND hwnd = CreateWindowExW(0, cls, widen(text).c_str(), WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                                r.right - r.left, r.bottom - r.top, parent_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    return hwnd;
}

namespace {

// Tick boxes and radio buttons: a button showing the model's check mark.
template <typename Checkable>
void bindCheckMark(HWND hwnd, Checkable& model) {
    const auto render = [hwnd, &model] {
        renderCommon(hwnd, model, true);
        SendMessageW(hwnd, BM_SETCHECK, model.checked() ? BST_CHECKED : BST_UNCHECKED, 0);
        InvalidateRect(hwnd, nullptr, TRUE);  // a new colour shows at once
    };
    model.setRenderer(render);
    render();
}

// List boxes and combo boxes: the model's items and selection, given the control's own messages.
template <typename List>
void showItems(HWND hwnd, const List& list, UINT reset, UINT add, UINT select) {
    renderCommon(hwnd, list, false);
    SendMessageW(hwnd, reset, 0, 0);
    for (const auto& item : list.items()) SendMessageW(hwnd, add, 0, reinterpret_cast<LPARAM>(widen(item).c_str()));
    SendMessageW(hwnd, select, list.itemIndex(), 0);
}

}  // namespace

template <typename List>
void ControlBinder::selectOnNotice(int id, HWND hwnd, List& list, int notice, UINT getSelection) {
    commands_[id] = [hwnd, &list, notice, getSelection](int code) {
        if (code == notice) list.setItemIndex(static_cast<int>(SendMessageW(hwnd, getSelection, 0, 0)));
    };
}

HWND ControlBinder::tickBox(TickBox& box, RECT r) {
    const int id = nextId();
    HWND hwnd = create(L"BUTTON", box.caption(), BS_AUTOCHECKBOX | WS_TABSTOP, r, id);
    bindCheckMark(hwnd, box);
    colours_[hwnd] = {[&box] { return box.colour(); }, nullptr};
    commands_[id] = [hwnd, &box](int code) {
        if (code == BN_CLICKED) box.setChecked(SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED);
    };
    return hwnd;
}

HWND ControlBinder::button(Button& button, RECT r) {
    const int id = nextId();
    HWND hwnd = create(L"BUTTON", button.caption(), BS_PUSHBUTTON | WS_TABSTOP, r, id);
    const auto render = [hwnd, &button] { renderCommon(hwnd, button, true); };
    button.setRenderer(render);
    render();
    commands_[id] = [&button](int code) {
        if (code == BN_CLICKED && button.enabled()) button.click();
    };
    return hwnd;
}

HWND ControlBinder::textField(TextField& field, RECT r, bool readOnly, DWORD extraStyle) {
    const int id = nextId();
    const DWORD style = ES_AUTOHSCROLL | extraStyle | (readOnly ? ES_READONLY : WS_TABSTOP | WS_BORDER);
    HWND hwnd = create(L"EDIT", field.text(), style, r, id);
    const auto render = [hwnd, &field] {
        renderCommon(hwnd, field, false);
        const std::wstring text = widen(field.text());
        wchar_t shown[512];
        GetWindowTextW(hwnd, shown, 512);
        if (text != shown) SetWindowTextW(hwnd, text.c_str());  // keeps the caret while typing
    };
    field.setRenderer(render);
    render();
    if (!readOnly) {
        commands_[id] = [hwnd, &field](int code) {
            if (code != EN_CHANGE) return;
            wchar_t text[512];
            GetWindowTextW(hwnd, text, 512);
            field.setText(narrow(text));
        };
    }
    return hwnd;
}

HWND ControlBinder::upDown(SpinBox& spin, HWND buddy) {
    HWND hwnd = CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_ARROWKEYS, 0, 0, 0,
                                0, parent_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextId())),
                                GetModuleHandleW(nullptr), nullptr);
    SendMessageW(hwnd, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
    SendMessageW(hwnd, UDM_SETRANGE32, spin.minimum(), spin.maximum());
    const auto render = [hwnd, &spin] {
        renderCommon(hwnd, spin, false);
        SendMessageW(hwnd, UDM_SETPOS32, 0, spin.value());
    };
    spin.setRenderer(render);
    render();
    upDowns_[hwnd] = [&spin](int delta) { spin.setValue(spin.value() + delta); };
    return hwnd;
}

HWND ControlBinder::spinEdit(SpinBox& spin, RECT r) {
    HWND edit = create(L"EDIT", std::to_string(spin.value()), ES_NUMBER | ES_READONLY | WS_BORDER, r, nextId());
    HWND hwnd = upDown(spin, edit);
    const auto render = [hwnd, edit, &spin] {
        renderCommon(hwnd, spin, false);
        SendMessageW(hwnd, UDM_SETPOS32, 0, spin.value());
        SetWindowTextW(edit, std::to_wstring(spin.value()).c_str());
    };
    spin.setRenderer(render);
    render();
    return hwnd;
}

HWND ControlBinder::radioButton(RadioButton& button, RECT r) {
    const int id = nextId();
    HWND hwnd = create(L"BUTTON", button.caption(), BS_AUTORADIOBUTTON | WS_TABSTOP, r, id);
    bindCheckMark(hwnd, button);
    commands_[id] = [&button](int code) {
        if (code == BN_CLICKED) button.setChecked(true);
    };
    return hwnd;
}

template <typename Widget>
void ControlBinder::column(HWND (ControlBinder::*bind)(Widget&, RECT), const std::vector<Widget*>& widgets, RECT r,
                           int step) {
    for (Widget* widget : widgets) {
        (this->*bind)(*widget, r);
        OffsetRect(&r, 0, step);
    }
}

void ControlBinder::tickBoxes(const std::vector<TickBox*>& boxes, RECT first, int step) {
    column(&ControlBinder::tickBox, boxes, first, step);
}

void ControlBinder::radioButtons(const std::vector<RadioButton*>& buttons, RECT first, int step) {
    column(&ControlBinder::radioButton, buttons, first, step);
}

HWND ControlBinder::comboBox(ComboBox& combo, RECT r) {
    const int id = nextId();
    HWND hwnd = create(L"COMBOBOX", "", CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP,
                       RECT{r.left, r.top, r.right, r.bottom + 160}, id);
    const auto render = [hwnd, &combo] {
        showItems(hwnd, combo, CB_RESETCONTENT, CB_ADDSTRING, CB_SETCURSEL);
        if (combo.itemIndex() < 0) SetWindowTextW(hwnd, widen(combo.text()).c_str());
    };
    combo.setRenderer(render);
    render();
    selectOnNotice(id, hwnd, combo, CBN_SELCHANGE, CB_GETCURSEL);
    return hwnd;
}

HWND ControlBinder::trackBar(SpinBox& spin, RECT r) {
    HWND hwnd = create(TRACKBAR_CLASSW, "", TBS_VERT | TBS_AUTOTICKS | WS_TABSTOP, r, nextId());
    SendMessageW(hwnd, TBM_SETRANGE, TRUE, MAKELPARAM(spin.minimum(), spin.maximum()));
    const auto render = [hwnd, &spin] {
        renderCommon(hwnd, spin, false);
        SendMessageW(hwnd, TBM_SETPOS, TRUE, spin.value());
    };
    spin.setRenderer(render);
    render();
    sliders_[hwnd] = [hwnd, &spin] { spin.setValue(static_cast<int>(SendMessageW(hwnd, TBM_GETPOS, 0, 0))); };
    return hwnd;
}

bool ControlBinder::scroll(HWND slider) {
    const auto it = sliders_.find(slider);
    if (it == sliders_.end()) return false;
    it->second();
    return true;
}

void ControlBinder::panel(Window& panel, std::vector<HWND> controls) {
    const auto render = [controls, &panel] {
        for (HWND hwnd : controls) ShowWindow(hwnd, panel.visible() ? SW_SHOWNA : SW_HIDE);
    };
    panel.setRenderer(render);
    render();
}

HWND ControlBinder::staticText(const std::string& text, RECT r) {
    return create(L"STATIC", text, SS_LEFT, r, nextId());
}

HWND ControlBinder::label(Label& label, RECT r, COLORREF background, DWORD extraStyle) {
    HWND hwnd = create(L"STATIC", label.caption(), SS_LEFT | SS_NOPREFIX | extraStyle, r, nextId());
    const auto render = [hwnd, &label] {
        renderCommon(hwnd, label, true);
        InvalidateRect(hwnd, nullptr, TRUE);
    };
    label.setRenderer(render);
    render();
    HBRUSH brush = nullptr;
    if (background != CLR_INVALID) brushes_.push_back(brush = CreateSolidBrush(background));
    colours_[hwnd] = {[&label] { return label.colour(); }, brush};
    return hwnd;
}

HWND ControlBinder::linkLabel(Label& label, RECT r, std::function<void()> onClick) {
    HWND hwnd = this->label(label, r, CLR_INVALID, SS_CENTER | SS_NOTIFY);
    commands_[GetDlgCtrlID(hwnd)] = [onClick = std::move(onClick)](int code) {
        if (code == STN_CLICKED && onClick) onClick();
    };
    return hwnd;
}

HWND ControlBinder::groupBox(const std::string& caption, RECT r) {
    return create(L"BUTTON", caption, BS_GROUPBOX, r, nextId());
}

HWND ControlBinder::listBox(ListBox& list, RECT r) {
    const int id = nextId();
    HWND hwnd = create(L"LISTBOX", "", LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP, r, id);
    const auto render = [hwnd, &list] {
        showItems(hwnd, list, LB_RESETCONTENT, LB_ADDSTRING, LB_SETCURSEL);
        if (list.visible()) SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);  // over its neighbours
    };
    list.setRenderer(render);
    render();
    selectOnNotice(id, hwnd, list, LBN_SELCHANGE, LB_GETCURSEL);
    return hwnd;
}

HWND ControlBinder::image(Image& image, RECT r, HBITMAP bitmap, std::function<void()> onClick) {
    const int id = nextId();
    // SS_NOTIFY: the picture sees the mouse, for its click and its hint.
    HWND hwnd = create(L"STATIC", "", SS_BITMAP | SS_NOTIFY, r, id);
    SendMessageW(hwnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    const auto render = [hwnd, &image] { renderCommon(hwnd, image, false); };
    image.setRenderer(render);
    render();
    if (onClick) {
        commands_[id] = [onClick = std::move(onClick)](int code) {
            if (code == STN_CLICKED) onClick();
        };
    }
    return hwnd;
}

bool ControlBinder::controlColour(HWND control, HDC dc, LRESULT& result) {
    const auto it = colours_.find(control);
    if (it == colours_.end()) return false;
    SetTextColor(dc, colourValue(it->second.text()));
    HBRUSH brush = it->second.background ? it->second.background : GetSysColorBrush(COLOR_BTNFACE);
    LOGBRUSH fill{};
    GetObjectW(brush, sizeof fill, &fill);
    SetBkColor(dc, fill.lbColor);
    result = reinterpret_cast<LRESULT>(brush);
    return true;
}

void ControlBinder::menuItem(HMENU menu, MenuItem& item) {
    if (!item.children().empty()) {
        HMENU popup = CreatePopupMenu();
        for (MenuItem* child : item.children()) menuItem(popup, *child);
        const int position = GetMenuItemCount(menu);
        AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), widen(item.caption()).c_str());
        item.setRenderer([this, menu, position, &item] {
            ModifyMenuW(menu, position, MF_BYPOSITION | MF_POPUP | MF_STRING,
                        reinterpret_cast<UINT_PTR>(GetSubMenu(menu, position)), widen(item.caption()).c_str());
            DrawMenuBar(parent_);
        });
        return;
    }
    const int id = nextId();
    commands_[id] = [&item](int) { item.click(); };
    if (item.shortcut().key != 0) shortcuts_.emplace_back(item.shortcut(), id);
    if (!item.visible()) return;  // reached by its shortcut only
    AppendMenuW(menu, MF_STRING, id, widen(item.caption()).c_str());
    const auto render = [menu, id, &item] {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
        info.fType = MFT_STRING | (item.isRadioItem() ? MFT_RADIOCHECK : 0);
        info.fState = (item.checked() ? MFS_CHECKED : MFS_UNCHECKED) | (item.enabled() ? MFS_ENABLED : MFS_DISABLED);
        std::wstring caption = widen(item.caption());
        info.dwTypeData = caption.data();
        SetMenuItemInfoW(menu, id, FALSE, &info);
    };
    item.setRenderer(render);
    render();
}

int ControlBinder::shortcutCommand(WPARAM key, bool ctrl, bool alt, bool shift) const {
    const Shortcut pressed{ctrl, alt, shift, key < 128 ? static_cast<char>(key) : '\0'};
    for (const auto& [shortcut, id] : shortcuts_) {
        if (shortcut == pressed) return id;
    }
    return 0;
}

bool ControlBinder::command(WPARAM wParam) {
    const auto it = commands_.find(LOWORD(wParam));
    if (it == commands_.end()) return false;
    it->second(HIWORD(wParam));
    return true;
}

bool ControlBinder::dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (message) {
        case WM_COMMAND: return command(wParam);
        case WM_NOTIFY: return notify(lParam, result);
        case WM_VSCROLL: return lParam && scroll(reinterpret_cast<HWND>(lParam));
        case WM_CTLCOLORSTATIC:
            return controlColour(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam), result);
    }
    return false;
}

bool ControlBinder::notify(LPARAM lParam, LRESULT& result) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->code != UDN_DELTAPOS) return false;
    const auto it = upDowns_.find(header->hwndFrom);
    if (it == upDowns_.end()) return false;
    it->second(reinterpret_cast<const NMUPDOWN*>(lParam)->iDelta);
    result = 1;  // the model decides the position; its renderer moves the control
    return true;
}

void registerWindowClass(const wchar_t* name, WNDPROC procedure, HICON icon) {
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.lpfnWndProc = procedure;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszClassName = name;
    cls.hIcon = icon;
    RegisterClassExW(&cls);
}

HFONT createControlFont(bool italic) {
    // Segoe UI 9 pt, the desktop's own; Windows without it (and Wine) fall back to a similar face.
    return CreateFontW(-MulDiv(9, screenDpi(), 72), 0, 0, 0, FW_NORMAL, italic, 0, 0, DEFAULT_CHARSET, 0, 0,
                       CLEARTYPE_QUALITY, 0, L"Segoe UI");
}

}  // namespace tintal

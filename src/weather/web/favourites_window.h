#pragma once
// The favourites of a web source: ten editable slots, each opened into the source by the button in
// front of it. The settings loader and saver reach the slots through `slots` (slot n is slots[n - 1]).
#include <array>

#include "weather/web/web_source_window.h"

namespace tintal {

inline constexpr int kFavouriteSlots = 10;

class FavouritesWindow {
public:
    FavouritesWindow(WebSourceWindow& source, std::string name, std::string caption);
    FavouritesWindow(const FavouritesWindow&) = delete;
    FavouritesWindow& operator=(const FavouritesWindow&) = delete;

    void FormCreate();
    void FormShow() {}
    // Button1Click .. Button10Click: opens slot n (1 to 10) in the source: its address field takes the
    // slot's text, then "Rafraichir" runs.
    void ButtonClick(int n);

    Window form;
    Label LabelAide{"LabelAide", "Cliquer le button devant le lien pour l'ouvrir"};
    TextField Edit1{"Edit1"}, Edit2{"Edit2"}, Edit3{"Edit3"}, Edit4{"Edit4"}, Edit5{"Edit5"};
    TextField Edit6{"Edit6"}, Edit7{"Edit7"}, Edit8{"Edit8"}, Edit9{"Edit9"}, Edit10{"Edit10"};
    Button Button1{"Button1", "F1"}, Button2{"Button2", "F2"}, Button3{"Button3", "F3"}, Button4{"Button4", "F4"};
    Button Button5{"Button5", "F5"}, Button6{"Button6", "F6"}, Button7{"Button7", "F7"}, Button8{"Button8", "F8"};
    Button Button9{"Button9", "F9"}, Button10{"Button10", "F10"};

    std::array<TextField*, kFavouriteSlots> slots{};
    std::array<Button*, kFavouriteSlots> buttons;

private:
    WebSourceWindow& source_;
};

class TFormFavMETAR : public FavouritesWindow {
public:
    explicit TFormFavMETAR(WebSourceWindow& source) : FavouritesWindow(source, "TFormFavMETAR", "Favoris METAR") {}
};

class TFormFavAPRS : public FavouritesWindow {
public:
    explicit TFormFavAPRS(WebSourceWindow& source) : FavouritesWindow(source, "TFormFavAPRS", "Favoris APRS") {}
};

class TFormFavPIU : public FavouritesWindow {
public:
    explicit TFormFavPIU(WebSourceWindow& source) : FavouritesWindow(source, "TFormFavPIU", "Favoris Pioupiou") {}
};

}  // namespace tintal

#include "ui/win32/favourites_window_view.h"

#include "ui/win32/web_source_view.h"
#include "weather/web/favourites_window.h"

namespace tintal {

HWND createFavouritesWindow(FavouritesWindow& form) {
    auto* view = new WebWindowView(form.form);  // lives as long as its window, that is the program
    view->label(form.LabelAide, box(10, 6, 400, 18));
    for (int n = 0; n < kFavouriteSlots; ++n) {
        const int y = 28 + n * 26;
        view->binder().button(*form.buttons[n], box(10, y, 40, 22));
        view->binder().textField(*form.slots[n], box(56, y, 380, 22), false);
    }
    return view->hwnd();
}

}  // namespace tintal

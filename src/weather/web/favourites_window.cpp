#include "weather/web/favourites_window.h"

namespace tintal {

FavouritesWindow::FavouritesWindow(WebSourceWindow& source, std::string name, std::string caption)
    : form(std::move(name), std::move(caption), Rect{320, 200, 460, 330}),
      buttons{&Button1, &Button2, &Button3, &Button4, &Button5, &Button6, &Button7, &Button8, &Button9, &Button10},
      source_(source) {
    for (int n = 1; n <= kFavouriteSlots; ++n) buttons[n - 1]->onClick = [this, n] { ButtonClick(n); };
    form.onShow = [this] { FormShow(); };
    source_.favourites = &form;
    FormCreate();
}

void FavouritesWindow::FormCreate() {
    slots = {&Edit1, &Edit2, &Edit3, &Edit4, &Edit5, &Edit6, &Edit7, &Edit8, &Edit9, &Edit10};
}

void FavouritesWindow::ButtonClick(int n) {
    if (n < 1 || n > kFavouriteSlots) return;
    const std::string& entry = slots[n - 1]->text();
    if (entry.empty() || !source_.form.visible()) return;
    source_.EditDat.setText(entry);
    source_.ButtonRafraichir.click();
}

}  // namespace tintal

#pragma once
// The favourites windows "Favoris METAR", "Favoris APRS" and "Favoris Pioupiou".
#include <windows.h>

namespace tintal {

class FavouritesWindow;

// Creates the window, hidden until the model shows it; it lives as long as the program.
HWND createFavouritesWindow(FavouritesWindow& form);

}  // namespace tintal

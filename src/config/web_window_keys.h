#pragma once
// The keys of the web source windows (APRS, METAR, Pioupiou) and of their favourites.
#include <vector>

#include "config/key_table.h"

namespace tintal {

class TFormMeteoAPRS;
class TFormMeteoMETAR;
class TFormMeteoPIU;
class FavouritesWindow;

std::vector<SettingsKey> aprsKeys(TFormMeteoAPRS& window, FavouritesWindow& favourites);
std::vector<SettingsKey> metarKeys(TFormMeteoMETAR& window, FavouritesWindow& favourites);
std::vector<SettingsKey> pioupiouKeys(TFormMeteoPIU& window, FavouritesWindow& favourites);

}  // namespace tintal

#include "core/clip_catalogue.h"

#include <algorithm>

#include "platform/clip_store.h"

namespace tintal {

namespace {

constexpr std::array<std::string_view, kClipCount> kNames = {
    "SON0", "SON1", "SON2", "SON3", "SON4", "SON5", "SON6", "SON7", "SON8", "SON9", "SON10", "SON11", "SON12", "SON13",
    "SON14", "SON15", "SON16", "SON17", "SON18", "SON19", "SON20", "SON21", "SON22", "SON23", "SON24", "SON25", "SON26",
    "SON27", "SON28", "SON29", "SON30", "SON31", "SON32", "SON33", "SON34", "SON35", "SON36", "SON37", "SON38", "SON39",
    "SON40", "SON41", "SON42", "SON43", "SON44", "SON45", "SON46", "SON47", "SON48", "SON49", "SON50", "SON51", "SON52",
    "SON53", "SON54", "SON55", "SON56", "SON57", "SON58", "SON59", "SON60", "SON70", "SON80", "SON90", "SON100",
    "SON900", "SON1000", "SON2000",
    // number variants
    "SON60_COURT", "SON1_ET", "SON11_ET", "SON1_PREMIER", "SON1_UNE", "SON21_UNE", "SON31_UNE", "SON41_UNE",
    "SON51_UNE",
    // time words
    "SON_IL_EST", "SON_MINUTES", "SON_HEURES", "SON_HEURES_K", "SON_HEURES_N", "SON_HEURES_T", "SON_HEURES_V",
    "SON_HEURES_Z",
    // days and months
    "SON_DIMANCHE", "SON_LUNDI", "SON_MARDI", "SON_MERCREDI", "SON_JEUDI", "SON_VENDREDI", "SON_SAMEDI", "SON_JANVIER",
    "SON_FEVRIER", "SON_MARS", "SON_AVRIL", "SON_MAI", "SON_JUIN", "SON_JUILLET", "SON_AOUT", "SON_SEPTEMBRE",
    "SON_OCTOBRE", "SON_NOVEMBRE", "SON_DECEMBRE",
    // figure titles, units, trend
    "SON_TEMP_INT", "SON_TEMP_EXT", "SON_TEMPERATURE_RESSENTIE", "SON_PRESSION_ATMOS", "SON_VENT", "SON_RAFALE",
    "SON_SECTEUR", "SON_PLUIE", "SON_HUMIDITE", "SON_MOINS", "SON_DEGRES", "SON_HECTOPASCAL", "SON_KMH",
    "SON_MILLIMETRE", "SON_POURCENT", "SON_NULLE", "SON_STATIONNAIRE", "SON_EN_HAUSSE", "SON_EN_BAISSE",
    // compass
    "SON_NORD", "SON_NORD_NORD_EST", "SON_NORD_EST", "SON_EST_NORD_EST", "SON_EST", "SON_EST_SUD_EST", "SON_SUD_EST",
    "SON_SUD_SUD_EST", "SON_SUD", "SON_SUD_SUD_OUEST", "SON_SUD_OUEST", "SON_OUEST_SUD_OUEST", "SON_OUEST",
    "SON_OUEST_NORD_OUEST", "SON_NORD_OUEST", "SON_NORD_NORD_OUEST", "SON_VARIABLE",
    // present weather and the rest
    "SON_PLUIE_NOW", "SON_NEIGE", "SON_GRELE", "SON_BRUME", "SON_BROUILLARD", "SON_FAIBLE", "SON_FORTE", "SON_MODEREE",
    "SON_ET", "SON_TINTAL"};

constexpr std::array<std::string_view, 7> kDays = {"dimanche", "lundi",    "mardi", "mercredi",
                                                   "jeudi",    "vendredi", "samedi"};
constexpr std::array<std::string_view, 12> kMonths = {"janvier",   "fevrier", "mars",     "avril",
                                                      "mai",       "juin",    "juillet",  "aout",
                                                      "septembre", "octobre", "novembre", "decembre"};

}  // namespace

const std::array<std::string_view, kClipCount>& clipNames() { return kNames; }

bool isCatalogueClip(std::string_view name) {
    const std::string upper = canonicalClipName(name);
    return std::find(kNames.begin(), kNames.end(), upper) != kNames.end();
}

std::string_view dayName(int dayOfWeek) { return dayOfWeek >= 1 && dayOfWeek <= 7 ? kDays[dayOfWeek - 1] : ""; }

std::string_view monthName(int month) { return month >= 1 && month <= 12 ? kMonths[month - 1] : ""; }

}  // namespace tintal

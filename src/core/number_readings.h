#pragma once
// How numbers become clip names. A reading is the clip sequence of one spoken number.
#include <string>
#include <vector>

namespace tintal {

using ClipNames = std::vector<std::string>;

// "son" + the digits of a non-negative number.
std::string numberClip(int n);
// Hours and minutes take the feminine "une" forms (1, 21, 31, 41, 51).
std::string feminineNumberClip(int n);
// Day of the month: the 1st is "premier".
std::string dayOfMonthClip(int day);
// The hour word whose liaison follows the spoken hour number.
std::string hourWordClip(int hour);

// Temperatures: "son_moins" for negatives, the "soixante" forms from 61 to 79.
ClipNames signedReading(int value);
// Wind, gust, rain and humidity: 0 is "son_nulle" alone (no unit follows), hundreds, 61..99 forms.
ClipNames quantityReading(int value);
// Pressure in hPa: "son900" or "son1000" and the rest.
ClipNames pressureReading(int value);

}  // namespace tintal

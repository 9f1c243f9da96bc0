#include "core/number_readings.h"

namespace tintal {

namespace {

// The tail after "soixante": 61 and 71 take "et".
std::string tailClip(int t) {
    if (t == 1) return "son1_et";
    if (t == 11) return "son11_et";
    return numberClip(t);
}

// 0..99 below a hundred or a leading "900"/"1000": nothing for 0.
void appendBelowHundred(ClipNames& clips, int r) {
    if (r == 0) return;
    if (r >= 61 && r <= 79) {
        clips.push_back("son60_court");
        clips.push_back(tailClip(r - 60));
    } else if (r >= 80 && r <= 99) {
        clips.push_back("son80");
        if (r > 80) clips.push_back(numberClip(r - 80));
    } else {
        clips.push_back(numberClip(r));
    }
}

}  // namespace

std::string numberClip(int n) { return "son" + std::to_string(n); }

std::string feminineNumberClip(int n) {
    switch (n) {
        case 1: return "son1_une";
        case 21: return "son21_une";
        case 31: return "son31_une";
        case 41: return "son41_une";
        case 51: return "son51_une";
        default: return numberClip(n);
    }
}

std::string dayOfMonthClip(int day) { return day == 1 ? "son1_premier" : numberClip(day); }

std::string hourWordClip(int hour) {
    switch (hour) {
        case 0:
        case 4:
        case 24: return "son_heures";
        case 1:
        case 21: return "son_heures_N";
        case 5: return "son_heures_K";
        case 7:
        case 8:
        case 17:
        case 18:
        case 20: return "Son_Heures_T";
        case 9:
        case 19: return "Son_Heures_V";
        default: return "Son_Heures_Z";
    }
}

ClipNames signedReading(int value) {
    ClipNames clips;
    if (value < 0) {
        clips.push_back("son_moins");
        value = -value;
    }
    if (value == 0) {
        clips.push_back("son0");
    } else if (value >= 61 && value <= 79) {
        appendBelowHundred(clips, value);
    } else {
        clips.push_back(numberClip(value));
    }
    return clips;
}

ClipNames quantityReading(int value) {
    if (value == 0) return {"son_nulle"};
    ClipNames clips;
    if (value > 99) {
        clips.push_back("son100");
        value -= 100;
    }
    appendBelowHundred(clips, value);
    return clips;
}

ClipNames pressureReading(int value) {
    ClipNames clips;
    if (value < 1000) {
        clips.push_back("son900");
        value -= 900;
    } else {
        clips.push_back("son1000");
        value -= 1000;
    }
    appendBelowHundred(clips, value);
    return clips;
}

}  // namespace tintal

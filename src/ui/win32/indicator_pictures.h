#pragma once
// The pictures of the main window's indicators, drawn once at start.
#include <windows.h>

namespace tintal {

struct IndicatorPictures {
    IndicatorPictures();
    ~IndicatorPictures();
    IndicatorPictures(const IndicatorPictures&) = delete;
    IndicatorPictures& operator=(const IndicatorPictures&) = delete;

    static constexpr int kLedSize = 16;
    static constexpr int kClockSize = 48;

    HBITMAP ledOn;     // transmitting: bright red
    HBITMAP ledOff;    // dark
    HBITMAP clockOn;   // the clock face: channel free
    HBITMAP clockOff;  // greyed: carrier present
};

}  // namespace tintal

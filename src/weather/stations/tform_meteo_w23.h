#pragma once
// The La Crosse WS-2310 / 2315 / 2355 source: the history file of the station's PC software.
#include "weather/file_source_window.h"

namespace tintal {

class TFormMeteoW23 : public FileSourceWindow {
public:
    explicit TFormMeteoW23(SourceWindowContext context);

    double recordInterval = 0;  // days between the last two records of the last read

protected:
    bool decodeAndShow(const std::vector<std::uint8_t>& bytes) override;
    void resetCaptions() override;

private:
    // A figure the station did not measure is stored as `none`, and shown black as "--".
    void showMeasured(TickBox& box, const FigureFormat& figure, std::optional<double> value, double none);
};

}  // namespace tintal

#pragma once
// The weather steps of an announcement (12 to 57, 61 and 62): which source speaks, whether its
// weather is skipped, and each ticked figure within its limits, one clip per step.
#include <deque>
#include <string>
#include <vector>

#include "weather/weather_source.h"

namespace tintal {

class TForm1;

struct StepOutcome {
    int next;
    std::string clip;  // empty: the step is silent
};

class WeatherPhrases {
public:
    WeatherPhrases(TForm1& form, std::vector<WeatherSource*> sources) : form_(form), sources_(std::move(sources)) {}

    StepOutcome run(int step);
    // The source whose figures an announcement would speak now (None when no configured source is selected).
    WeatherSourceKind effectiveKind() const;
    WeatherSource* source(WeatherSourceKind kind) const;
    // The chooser's selection, configured or not (a station link that failed is still selected).
    WeatherSource* selectedSource() const;

private:
    bool weatherSkipped(const WeatherSource* source) const;
    StepOutcome nextClip(int step);
    StepOutcome presentWeather(int step);
    StepOutcome direction();

    TForm1& form_;
    std::vector<WeatherSource*> sources_;
    WeatherSource* speaking_ = nullptr;
    std::deque<std::string> pending_;  // number clips still to say, then the unit
    int afterPending_ = 58;
    int wind_ = -1, gust_ = 0;  // working values, for the direction rule
    int direction_ = -1;        // the direction the rule accepted, for the compass word
    std::string intensity_;
};

}  // namespace tintal

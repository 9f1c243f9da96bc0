#pragma once
// The weather steps of an announcement (12 to 57, 61 and 62). Each call runs one step: it names
// the clip to play (empty when the step is silent) and the step that follows.
#include <string>

namespace tintal {

struct StepOutcome {
    int next;
    std::string clip;
};

class WeatherSteps {
public:
    virtual ~WeatherSteps() = default;
    virtual StepOutcome run(int step) = 0;
};

// No weather source: the announcement goes straight on to the closing file.
class NoWeather : public WeatherSteps {
public:
    StepOutcome run(int) override { return {58, {}}; }
};

}  // namespace tintal

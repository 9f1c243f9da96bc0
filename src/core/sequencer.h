#pragma once
#include <string>

#include "weather/weather_reading.h"

// The announcement step machine. Each entry plays at most one clip and records the next step;
// the player's clip-finished call re-enters it. Entering with step 0 starts an announcement.
namespace tintal {

class TForm1;

class Sequencer {
public:
    explicit Sequencer(TForm1& form) : form_(form) {}

    // The handler of Button1 ("Ecouter le tintal").
    void Button1Click();

    int step() const { return step_; }
    // The clip-finished routine's click is coming: the only entry that moves a running announcement on.
    void allowAdvance() { advanceAllowed_ = true; }
    // Back to idle without the end-of-announcement actions (the safety abort).
    void reset() { step_ = 0; }

    // Set by the companion listener (on the window thread) before it starts an announcement.
    bool companionRequested = false;
    // The source whose figures this announcement speaks, fixed when the weather part begins.
    WeatherSourceKind effectiveSource = WeatherSourceKind::None;

private:
    void start();
    // Runs steps from step_ until one plays a clip or the announcement ends.
    void runSteps();
    // One step: returns true when it played a clip (or could not), which ends the entry.
    bool runStep();
    bool playClip(int next, const std::string& name);
    bool playFile(int next, const std::string& path);
    void finish();

    TForm1& form_;
    int step_ = 0;
    bool advanceAllowed_ = false;
    bool running_ = false;  // inside the steps of one entry (its waits included)
};

}  // namespace tintal

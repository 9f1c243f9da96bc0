#include "core/sequencer.h"

#include <utility>

#include "core/clip_catalogue.h"
#include "core/number_readings.h"
#include "core/tform1.h"

namespace tintal {

void Sequencer::Button1Click() {
    const bool advance = std::exchange(advanceAllowed_, false);
    if (step_ < 1 || step_ > 62) {
        step_ = 0;
        start();
        return;
    }
    // Any other entry while an announcement runs is a start request (a press, the clock, a serial
    // line, the companion), refused: it would repeat a step that waits or skip a clip.
    if (!advance || running_) return;
    runSteps();
}

void Sequencer::start() {
    TForm1& f = form_;
    if (f.ConfigPending || f.announcing) return;
    // A busy channel drops this announcement; nobody retries it.
    if (f.hooks.carrierBlocksStart()) return;
    f.announcing = true;
    f.hooks.markHandshakeLinesSeen();
    f.Button1.setEnabled(false);
    f.TimerSecurite.start();
    f.EditData.setText("TINTAL_PLAY");
    if (f.errorSimulation) return;
    if (f.hooks.transmitterPortSelected()) {
        f.hooks.keyTransmitter();
        f.loop.pump(300);  // let the transmitter come up before the first sound
    }
    f.hooks.startRecorder();
    if (f.CheckBoxEntete.checked() && !f.headerFilePath.empty()) {
        playFile(1, f.headerFilePath);
        return;
    }
    step_ = 1;
    runSteps();
}

void Sequencer::runSteps() {
    running_ = true;
    while (step_ != 0 && !runStep()) {
    }
    running_ = false;
}

bool Sequencer::playClip(int next, const std::string& name) {
    step_ = next;
    form_.player.playClip(name);
    return true;
}

bool Sequencer::playFile(int next, const std::string& path) {
    step_ = next;
    form_.player.playFile(path);
    return true;
}

bool Sequencer::runStep() {
    TForm1& f = form_;
    const ClockFields& t = f.clock.fields();
    const auto skipTo = [this](int next) {
        step_ = next;
        return false;
    };
    switch (step_) {
        case 1:
            if (f.SpinEditPause.value() != 0) {
                f.loop.pump(f.SpinEditPause.value() * 1000);
                if (!f.announcing) return true;  // ended by the safety abort meanwhile
            }
            if (f.CheckBoxTintal.checked()) return playFile(2, f.cuckooFilePath);
            return skipTo(2);
        case 2:
            if (!f.CheckBoxDate.checked()) return skipTo(7);
            return playClip(3, "son_" + std::string(dayName(t.dayOfWeek)));
        case 3: return playClip(4, dayOfMonthClip(t.day));
        case 4: return playClip(5, "son_" + std::string(monthName(t.month)));
        case 5:
            if (t.year < 2001 || t.year > 2059) return skipTo(7);
            return playClip(6, "son2000");
        case 6: return playClip(7, numberClip(t.year - 2000));
        case 7:
            if (!f.CheckBoxIlEst.checked()) return skipTo(8);
            return playClip(8, "son_il_est");
        case 8:
            if (!f.CheckBoxheure.checked() && !f.CheckBoxNoMinutes.checked()) return skipTo(12);
            return playClip(9, feminineNumberClip(t.hour));
        case 9: return playClip(10, hourWordClip(t.hour));
        case 10:
            if (t.minute == 0 && f.CheckBoxNoMinutes.checked()) return skipTo(12);
            return playClip(11, feminineNumberClip(t.minute));
        case 11:
            if (!f.CheckBoxheure.checked()) return skipTo(12);
            return playClip(12, "son_minutes");
        case 58:
            if (f.CheckBoxFin.checked() && !f.closingFilePath.empty()) return playFile(59, f.closingFilePath);
            return skipTo(59);
        case 59:
        case 60: finish(); return true;
        default: {
            const StepOutcome outcome = f.phrases.run(step_);
            if (outcome.clip.empty()) return skipTo(outcome.next);
            return playClip(outcome.next, outcome.clip);
        }
    }
}

void Sequencer::finish() {
    TForm1& f = form_;
    if (f.hooks.transmitterPortSelected()) f.hooks.releaseTransmitter();
    f.announcing = false;
    step_ = 0;
    f.Button1.setEnabled(true);
    f.sound.BitBtnOKCarteSon.setEnabled(true);
    f.TimerSecurite.stop();
    f.EditData.setText("TINTAL_DONE");
    if (companionRequested) {
        companionRequested = false;
        f.hooks.sendCompanionDone();
    } else {
        try {
            f.loop.pump(1000);
            f.hooks.reconnectCompanion();
        } catch (...) {
            // A companion that cannot be reached is not the announcement's concern.
        }
    }
    // The selected source's, not the effective one's: a station link that failed mid-way leaves no
    // effective source, and its postponed read would otherwise never run again.
    if (WeatherSource* source = f.phrases.selectedSource()) source->runPostponedRead();
    if (f.MenuRecord.checked()) f.hooks.stopRecorder();
}

}  // namespace tintal

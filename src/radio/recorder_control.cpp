#include "radio/recorder_control.h"

namespace tintal {

namespace {

const char* commandFor(int state) {
    switch (state) {
        case RecorderControl::RecordSent: return "Zorvane record";
        case RecorderControl::StopSent: return "Zorvane stop";
        default: return "Zorvane close";
    }
}

// The recorder's answers; any other leaves the status as it was.
const char* statusForAnswer(std::intptr_t answer) {
    switch (answer) {
        case 0: return "Palvomane ne répond pas";
        case 1: return "Palvomane record";
        case 2: return "Palvomane stop";
        case 3: return "Palvomane close";
        default: return nullptr;
    }
}

}  // namespace

void RecorderControl::startRecording() {
    recorderState = Idle;
    recorderWasRunning = false;
    if (!window_.MenuRecord.checked()) return;
    const std::string path = window_.EditZorvane.text();
    if (path.empty() || !files_.exists(path)) return fail("Chemin Palvomane erroné");
    if (link_.windowExists()) {
        recorderWasRunning = true;
    } else if (!link_.canLaunch()) {
        // No recorder can run here (Linux): no use looking for its window.
        return fail("Palvomane !");
    } else {
        // What the shell says is not trusted either way: the window decides.
        link_.launch(path);
        if (!waitForWindow()) return fail("Palvomane pas trouvé !");
    }
    loop_.pump(kBeforeRecordMs);
    recorderState = RecordSent;
    sendRecorderCommand();
}

bool RecorderControl::waitForWindow() {
    for (int look = 0; look < kLooks; ++look) {
        loop_.pump(kLookIntervalMs);
        if (link_.windowExists()) return true;
    }
    return false;
}

void RecorderControl::stopRecording() {
    if (!window_.MenuRecord.checked() || recorderState != RecordSent) return;
    recorderState = StopSent;
    sendRecorderCommand();
    if (recorderWasRunning) return;
    // This announcement started the recorder: it closes it again.
    loop_.pump(kBeforeCloseMs);
    recorderState = CloseSent;
    sendRecorderCommand();
}

void RecorderControl::sendRecorderCommand() {
    const auto answer = link_.sendCommand(commandFor(recorderState));
    if (!answer) {
        window_.StaticTextW.setCaption("Palvomane !");
        return;
    }
    if (const char* status = statusForAnswer(*answer)) window_.StaticTextW.setCaption(status);
}

void RecorderControl::fail(const char* status) {
    window_.StaticTextW.setCaption(status);
    desktop_.beep();
}

}  // namespace tintal

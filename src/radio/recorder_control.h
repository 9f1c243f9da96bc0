#pragma once
// Recording each announcement with the recorder program: found or started at the announcement's
// start, told to record, to stop at the end, and to close when this announcement started it.
//
// Window thread only. The waits pump the event loop; a recorder problem is shown in the status
// field with a beep and never holds the announcement up beyond those waits.
#include <string>

#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/recorder_link.h"
#include "widgets/label.h"
#include "widgets/menu_item.h"
#include "widgets/text_field.h"

namespace tintal {

struct RecorderWindow {
    MenuItem& MenuRecord;    // "Enregistrer le message"
    TextField& EditZorvane;  // the recorder program's path
    Label& StaticTextW;      // the recorder's status
};

class RecorderControl {
public:
    static constexpr int kLooks = 30;
    static constexpr int kLookIntervalMs = 100;
    static constexpr int kBeforeRecordMs = 200;
    static constexpr int kBeforeCloseMs = 1000;

    enum State { Idle = 0, RecordSent = 1, StopSent = 2, CloseSent = 3 };

    RecorderControl(RecorderLink& link, Files& files, Desktop& desktop, EventLoop& loop, RecorderWindow window)
        : link_(link), files_(files), desktop_(desktop), loop_(loop), window_(window) {}

    // At the start of every announcement, after the transmitter is keyed.
    void startRecording();
    // At the end of an announcement, after the transmitter is released and the companion told.
    void stopRecording();
    // Sends the command recorderState stands for and shows the answer.
    void sendRecorderCommand();

    int recorderState = Idle;
    bool recorderWasRunning = false;

private:
    // Looks for the started program's window every kLookIntervalMs; false when it never came.
    bool waitForWindow();
    void fail(const char* status);

    RecorderLink& link_;
    Files& files_;
    Desktop& desktop_;
    EventLoop& loop_;
    RecorderWindow window_;
};

}  // namespace tintal

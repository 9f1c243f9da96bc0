#pragma once
// The radio side of the clock as the main window sees it: the transmitter port and its window, the
// companion link, the recorder and its window, behind the hooks the clock and the sequencer call.
//
// Built before the main window (which takes it as its hooks), then attached to it; until attached
// every hook does nothing. Window thread only.
#include <memory>

#include "core/station_hooks.h"
#include "platform/companion_channel.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/recorder_link.h"
#include "platform/serial_lines.h"
#include "radio/companion_link.h"
#include "radio/ptt_port.h"
#include "radio/recorder_control.h"
#include "radio/tform_com.h"
#include "radio/tform_record.h"

namespace tintal {

class TForm1;

struct RadioPorts {
    EventLoop& loop;
    Desktop& desktop;
    Files& files;
    SerialLines& lines;
    CompanionChannel& channel;
    RecorderLink& recorder;
};

class RadioStation : public StationHooks {
public:
    explicit RadioStation(RadioPorts ports);
    ~RadioStation() override;

    // Binds the radio side to the main window's indicators, menus and listen button.
    void attach(TForm1& form);

    // The main window's "Port COM": shows the port window.
    void MenuCOMClick();

    void mainWindowCreated() override;
    void mainWindowClosing() override;
    bool carrierBlocksStart() override;
    void markHandshakeLinesSeen() override;
    bool transmitterPortSelected() override;
    void keyTransmitter() override;
    void releaseTransmitter() override;
    bool serialPortOpen() override;
    void pollLines() override;
    void startRecorder() override;
    void stopRecorder() override;
    void sendCompanionDone() override;
    void reconnectCompanion() override;

    // The parts, once attached.
    PttPort& ptt();
    TFormCOM& com();
    CompanionLink& companion();
    RecorderControl& recorder();
    TFormRecord& record();

private:
    struct Parts;

    RadioPorts ports_;
    TForm1* form_ = nullptr;
    std::unique_ptr<Parts> parts_;
};

}  // namespace tintal

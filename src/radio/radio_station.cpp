#include "radio/radio_station.h"

#include "core/tform1.h"
#include "radio/companion_message.h"
#include "radio/serial_port_list.h"

namespace tintal {

struct RadioStation::Parts {
    Parts(RadioPorts ports, TForm1& form)
        : ptt(ports.lines, {form.LabelCOM, form.ImageLedON, form.ImageLedOFF, form.ImageTintal, form.ImageTintalOff,
                            form.LabelDCD, form.LabelCTS, form.LabelDSR}),
          com(ptt, form.ListBoxPort, ports.desktop),
          record(form.MenuRecord, ports.desktop, ports.files),
          recorder(ports.recorder, ports.files, ports.desktop, ports.loop,
                   {form.MenuRecord, record.EditZorvane, form.StaticTextW}),
          companion(ports.channel, ports.loop, ports.desktop,
                    {form.EditData, [&form] { return form.announcing; }, [&form] { return form.ConfigPending; },
                     [&form] {
                         form.sequencer.companionRequested = true;
                         form.Button1.click();
                     }}) {}

    PttPort ptt;
    TFormCOM com;
    TFormRecord record;
    RecorderControl recorder;
    CompanionLink companion;
};

RadioStation::RadioStation(RadioPorts ports) : ports_(ports) {}

RadioStation::~RadioStation() = default;

void RadioStation::attach(TForm1& form) {
    form_ = &form;
    parts_ = std::make_unique<Parts>(ports_, form);
    form.MenuCOM.onClick = [this] { MenuCOMClick(); };
}

void RadioStation::MenuCOMClick() {
    if (parts_) parts_->com.form.show();
}

PttPort& RadioStation::ptt() { return parts_->ptt; }
TFormCOM& RadioStation::com() { return parts_->com; }
CompanionLink& RadioStation::companion() { return parts_->companion; }
RecorderControl& RadioStation::recorder() { return parts_->recorder; }
TFormRecord& RadioStation::record() { return parts_->record; }

void RadioStation::mainWindowCreated() {
    if (!parts_) return;
    // Only this first connection tells the user it failed; the reconnects after announcements are quiet.
    if (const CompanionStatus status = parts_->companion.connectCompanion(); !status) {
        ports_.desktop.errorBox(status.error);
    }
    ListBox& list = form_->ListBoxPort;
    list.clearItems();
    for (std::string& name : buildPortList(ports_.lines.portNames())) list.addItem(std::move(name));
}

void RadioStation::mainWindowClosing() {
    if (!parts_) return;
    parts_->ptt.release();
    parts_->companion.disconnectCompanion();
}

bool RadioStation::carrierBlocksStart() { return parts_ && parts_->com.CheckBoxDCD.checked() && parts_->ptt.dcdOn; }

void RadioStation::markHandshakeLinesSeen() {
    if (parts_) parts_->ptt.markLinesSeen();
}

bool RadioStation::transmitterPortSelected() { return parts_ && parts_->ptt.transmitterSelected(); }

void RadioStation::keyTransmitter() {
    if (parts_) parts_->ptt.key(parts_->com.CheckBoxDTR.checked(), parts_->com.CheckBoxRTS.checked());
}

void RadioStation::releaseTransmitter() {
    if (parts_) parts_->ptt.release();
}

bool RadioStation::serialPortOpen() { return parts_ && parts_->ptt.portOpen(); }

void RadioStation::pollLines() {
    if (!parts_) return;
    const RisingLine rising = parts_->ptt.poll();
    const bool wanted = (rising == RisingLine::Cts && parts_->com.CheckBoxCTS.checked()) ||
                        (rising == RisingLine::Dsr && parts_->com.CheckBoxDSR.checked());
    if (wanted) form_->Button1.click();
}

void RadioStation::startRecorder() {
    if (parts_) parts_->recorder.startRecording();
}

void RadioStation::stopRecorder() {
    if (parts_) parts_->recorder.stopRecording();
}

void RadioStation::sendCompanionDone() {
    if (parts_) parts_->companion.answerDone();
}

void RadioStation::reconnectCompanion() {
    if (parts_) parts_->companion.reconnectCompanion();
}

}  // namespace tintal

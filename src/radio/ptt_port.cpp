#include "radio/ptt_port.h"

#include "radio/serial_port_list.h"

namespace tintal {

bool PttPort::openNamedPort() {
    closePort();
    pttOpenOk = lines_.open(pttPortName);
    return pttOpenOk;
}

void PttPort::closePort() {
    if (!lines_.isOpen()) return;
    lines_.setDtr(false);
    lines_.setRts(false);
    lines_.close();
}

std::string PttPort::pttDevicePath() const {
    return lines_.isOpen() ? "\\\\.\\" + pttPortName : std::string(kClosedPath);
}

bool PttPort::transmitterSelected() const { return lines_.isOpen() && pttPortName != kNoPort; }

void PttPort::key(bool dtr, bool rts) {
    bool raised = false;
    if (dtr) raised |= lines_.setDtr(true);
    if (rts) raised |= lines_.setRts(true);
    if (raised) showLed(true);
}

void PttPort::release() {
    if (lines_.isOpen()) {
        lines_.setDtr(false);
        lines_.setRts(false);
    }
    showLed(false);
}

RisingLine PttPort::poll() {
    const auto inputs = lines_.readInputs();
    if (!inputs) return RisingLine::None;
    showCarrier(inputs->dcd);
    if (!inputs->cts) {
        ctsLatch = false;
        ui_.LabelCTS.setCaption("CTS=Off");
    }
    if (!inputs->dsr) {
        dsrLatch = false;
        ui_.LabelDSR.setCaption("DSR=Off");
    }
    if (inputs->cts && !ctsLatch) {
        ctsLatch = true;
        ui_.LabelCTS.setCaption("CTS=On");
        return RisingLine::Cts;
    }
    if (inputs->dsr && !dsrLatch) {
        dsrLatch = true;
        ui_.LabelDSR.setCaption("DSR=On");
        return RisingLine::Dsr;
    }
    return RisingLine::None;
}

void PttPort::showCarrier(bool on) {
    dcdOn = on;
    ui_.LabelDCD.setCaption(on ? "DCD=On" : "DCD=Off");
    ui_.ImageTintalOff.setVisible(on);
    ui_.ImageTintal.setVisible(!on);
}

void PttPort::showLed(bool on) {
    ui_.ImageLedON.setVisible(on);
    ui_.ImageLedOFF.setVisible(!on);
}

}  // namespace tintal

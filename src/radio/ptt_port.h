#pragma once
// The transmitter port: the one serial port whose DTR and RTS key the transmitter and whose DCD, CTS
// and DSR the clock watches, with what the main window shows of it (port name, transmit light,
// carrier picture, line labels).
//
// Window thread only. A port counts as open while the serial lines say so; the name may be "No COM"
// with no port open, or empty before any choice was applied.
#include <string>
#include <string_view>

#include "platform/serial_lines.h"
#include "widgets/image.h"
#include "widgets/label.h"

namespace tintal {

struct PttIndicators {
    Label& LabelCOM;
    Image& ImageLedON;
    Image& ImageLedOFF;
    Image& ImageTintal;     // the clock picture, shown while the channel is free
    Image& ImageTintalOff;  // shown while the carrier is present
    Label& LabelDCD;
    Label& LabelCTS;
    Label& LabelDSR;
};

// The handshake line whose rising edge a poll found (at most one per poll, CTS first).
enum class RisingLine { None, Cts, Dsr };

class PttPort {
public:
    static constexpr std::string_view kClosedPath = "    ";

    PttPort(SerialLines& lines, PttIndicators indicators) : lines_(lines), ui_(indicators) {}

    // Closes any open port (lines lowered) and opens pttPortName; sets pttOpenOk.
    bool openNamedPort();
    // Lowers DTR and RTS and closes the port; nothing when none is open.
    void closePort();
    bool portOpen() const { return lines_.isOpen(); }
    // "\\.\COMn" while a port is open, four spaces otherwise.
    std::string pttDevicePath() const;
    // A port is open and it is not "No COM": announcements key it.
    bool transmitterSelected() const;

    // Raises the chosen outputs; the light shows transmission when one of them went up.
    void key(bool dtr, bool rts);
    // Lowers both outputs, whatever was chosen, and puts the light out.
    void release();

    // One reading of the inputs: carrier state, picture and labels, latches. A failed reading changes nothing.
    RisingLine poll();
    // An announcement started: a line held high must drop before it can start another one.
    void markLinesSeen() { ctsLatch = dsrLatch = true; }
    // No carrier: the state, its label and the clock picture.
    void clearCarrier() { showCarrier(false); }
    Label& LabelCOM() { return ui_.LabelCOM; }

    std::string pttPortName;
    bool pttOpenOk = false;
    bool dcdOn = false;
    bool ctsLatch = false;
    bool dsrLatch = false;

private:
    void showCarrier(bool on);
    void showLed(bool on);

    SerialLines& lines_;
    PttIndicators ui_;
};

}  // namespace tintal

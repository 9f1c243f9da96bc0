#pragma once
// Where the radio side (transmitter lines, carrier detect, companion program, recorder), the sound
// device and the weather take part in the clock and its announcements. The defaults are those of a
// station with none of them: no serial port, no companion, no recorder, no weather source.
namespace tintal {

class StationHooks {
public:
    virtual ~StationHooks() = default;

    // The main window was created (port list, companion link) / is closing (lines down, link closed).
    virtual void mainWindowCreated() {}
    virtual void mainWindowClosing() {}

    // The receiver's carrier is on and the user asked to stay quiet then.
    virtual bool carrierBlocksStart() { return false; }
    // A held CTS/DSR line must not start another announcement once this one ends.
    virtual void markHandshakeLinesSeen() {}
    // A serial port is open and chosen for the transmitter.
    virtual bool transmitterPortSelected() { return false; }
    // Raises the ticked lines (DTR, RTS) and shows the transmit light.
    virtual void keyTransmitter() {}
    // Lowers both lines and puts the transmit light out; harmless with no port open.
    virtual void releaseTransmitter() {}
    // A serial port is open (chosen or not for the transmitter): the tick then polls its lines.
    virtual bool serialPortOpen() { return false; }
    // The clock tick's line polling; may start an announcement.
    virtual void pollLines() {}

    // Called at every start, recording or not: the recorder's state is reset each time.
    virtual void startRecorder() {}
    virtual void stopRecorder() {}

    // The companion asked for this announcement: tell it that it is done.
    virtual void sendCompanionDone() {}
    // Close and reopen the companion link (failures ignored by the caller).
    virtual void reconnectCompanion() {}

    // The clock tick's hourly station log.
    virtual bool hourlyLogWanted() { return false; }
    virtual void writeHourlyLog() {}
};

}  // namespace tintal

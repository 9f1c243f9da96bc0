#pragma once
// Serial lines scripted by the test: it says which ports exist, which refuse to open and what the
// inputs read; the fake keeps every call in order and the state of the outputs.
#include <deque>
#include <set>
#include <string>
#include <vector>

#include "platform/serial_lines.h"

namespace tintal {

class FakeSerialLines : public SerialLines {
public:
    std::vector<std::string> portNames() override { return names; }
    bool open(std::string_view portName) override;
    void close() override;
    bool isOpen() const override { return !openPort_.empty(); }
    bool setDtr(bool on) override { return setLine("DTR", on, dtr_); }
    bool setRts(bool on) override { return setLine("RTS", on, rts_); }
    // The next scripted reading if any, else `inputs`; nullopt when closed or failReads.
    std::optional<ModemInputs> readInputs() override;

    const std::string& openPort() const { return openPort_; }
    bool dtr() const { return dtr_; }
    bool rts() const { return rts_; }
    bool keyed() const { return dtr_ || rts_; }
    // The calls since the last clearEvents(): "open COM3", "open COM4 failed", "close", "DTR on",
    // "RTS off", and "DTR on (no port)" for a line call made with no port open.
    const std::vector<std::string>& events() const { return events_; }
    void clearEvents() { events_.clear(); }

    // Set-up.
    std::vector<std::string> names{"COM1", "COM3"};
    std::set<std::string> unopenable;  // ports that exist but refuse to open
    ModemInputs inputs;                // what every read returns once the script is used up
    std::deque<ModemInputs> script;    // readings returned one per read, before `inputs`
    bool failLineCalls = false;        // the device refuses line calls (no modem lines)
    bool failReads = false;
    int reads = 0;

private:
    bool setLine(const char* line, bool on, bool& state);

    std::string openPort_;
    bool dtr_ = false, rts_ = false;
    std::vector<std::string> events_;
};

}  // namespace tintal

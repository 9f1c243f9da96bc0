#include "radio/serial_port_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_serial_lines.h"

namespace tintal {
namespace {

using Names = std::vector<std::string>;

TEST(SerialPortList, NoPortFirstThenPortsInAlphabeticalOrder) {
    EXPECT_EQ(buildPortList({"COM2", "COM10", "COM1"}), (Names{"No COM", "COM1", "COM10", "COM2"}));
    EXPECT_EQ(buildPortList({}), (Names{"No COM"}));
    // A port reported twice (two drivers, or two device kinds) is listed once.
    EXPECT_EQ(buildPortList({"COM3", "COM33", "COM3"}), (Names{"No COM", "COM3", "COM33"}));
}

TEST(SerialPortList, OnlyNamesOfRealPortsAreListed) {
    // No number above 0, no port name at all, a number the system would not write, beyond any port.
    for (const char* name : {"COM0", "COMX", "COM", "com4", "LPT1", "\\Device\\Serial0", "", "COM-1", "COM+5", "COM05",
                             "COM 6", "COM7 ", "COM99999999999"}) {
        EXPECT_EQ(buildPortList({name, "COM8"}), (Names{"No COM", "COM8"})) << name;
    }
}

TEST(SerialPortList, RegistryDataWithItsTerminatingNulIsAccepted) {
    using namespace std::string_literals;
    EXPECT_EQ(buildPortList({"COM3\0"s, "COM4"}), (Names{"No COM", "COM3", "COM4"}));
    // Only one terminator is dropped; a NUL inside the name spoils it.
    EXPECT_EQ(buildPortList({"COM3\0\0"s, "CO\0M5"s, "COM\0"s}), (Names{"No COM"}));
}

TEST(SerialPortList, PortNumbersReadBackAsTheirNames) {
    EXPECT_EQ(portNumber("COM1"), 1);
    EXPECT_EQ(portNumber("COM256"), 256);
    EXPECT_EQ(portNumber("COM0"), std::nullopt);
    EXPECT_EQ(portNumber("COM03"), std::nullopt);
    EXPECT_EQ(portNumber("No COM"), std::nullopt);
    EXPECT_EQ(portNumber("COM2147483648"), std::nullopt);
    for (int n : {1, 9, 10, 32, 33, 128, 255}) EXPECT_EQ(portNumber(portName(n)), n);
}

TEST(SerialPortMapping, EachDeviceKindOwnsAFixedBlockOfPorts) {
    const std::vector<std::pair<std::string, std::string>> pairs{
        {"COM1", "ttyS0"},    {"COM2", "ttyS1"},      {"COM32", "ttyS31"},   {"COM33", "ttyUSB0"},
        {"COM34", "ttyUSB1"}, {"COM64", "ttyUSB31"},  {"COM65", "ttyACM0"},  {"COM96", "ttyACM31"},
        {"COM97", "ttyAMA0"}, {"COM128", "ttyAMA31"}, {"COM43", "ttyUSB10"},
    };
    for (const auto& [port, device] : pairs) {
        EXPECT_EQ(deviceForPort(port), device) << port;
        EXPECT_EQ(portForDevice(device), port) << device;
    }
    // Every mapped port goes to a device and back to itself.
    for (int n = 1; n <= 4 * kDevicesPerKind; ++n) {
        const auto device = deviceForPort(portName(n));
        ASSERT_TRUE(device) << n;
        EXPECT_EQ(portForDevice(*device), portName(n));
    }
}

TEST(SerialPortMapping, NamesOutsideTheMappingHaveNoCounterpart) {
    for (const char* port : {"COM0", "COM129", "COM03", "No COM", "", "ttyS0", "COM1x"}) {
        EXPECT_EQ(deviceForPort(port), std::nullopt) << port;
    }
    for (const char* device : {"ttyS32", "ttyUSB32", "ttyS", "ttyS01", "ttySAC0", "ttyS0 ", "ttyS-1", "tty0", "tty1",
                               "ttyUSB", "ttyACM1a", "ttyprintk", "/dev/ttyS0", "pts0", "ttyAMA99", ""}) {
        EXPECT_EQ(portForDevice(device), std::nullopt) << device;
    }
}

// The fake keeps the port's promises, so tests of its users see what a real port would do.
TEST(FakeSerialLines, KeepsThePortContractAndRecordsEveryCall) {
    FakeSerialLines lines;
    EXPECT_FALSE(lines.setDtr(true));
    EXPECT_EQ(lines.readInputs(), std::nullopt);

    ASSERT_TRUE(lines.open("COM1"));
    EXPECT_TRUE(lines.setDtr(true));
    EXPECT_TRUE(lines.setRts(true));
    EXPECT_TRUE(lines.keyed());
    // Opening another port closes the first, and nothing is keyed on the new one.
    ASSERT_TRUE(lines.open("COM3"));
    EXPECT_EQ(lines.openPort(), "COM3");
    EXPECT_FALSE(lines.keyed());
    lines.unopenable.insert("COM1");
    EXPECT_FALSE(lines.open("COM1"));
    EXPECT_FALSE(lines.isOpen());
    EXPECT_FALSE(lines.open("COM9"));  // not a port of this system
    EXPECT_EQ(lines.events(), (Names{"DTR on (no port)", "open COM1", "DTR on", "RTS on", "close", "open COM3", "close",
                                     "open COM1 failed", "open COM9 failed"}));
}

TEST(FakeSerialLines, InputsFollowTheScriptThenTheSteadyState) {
    FakeSerialLines lines;
    ASSERT_TRUE(lines.open("COM3"));
    lines.script = {{.cts = true}, {.dsr = true, .dcd = true}};
    lines.inputs = {.dcd = true};
    EXPECT_EQ(lines.readInputs(), (ModemInputs{.cts = true}));
    EXPECT_EQ(lines.readInputs(), (ModemInputs{.dsr = true, .dcd = true}));
    EXPECT_EQ(lines.readInputs(), (ModemInputs{.dcd = true}));
    EXPECT_EQ(lines.readInputs(), (ModemInputs{.dcd = true}));
    lines.failReads = true;
    EXPECT_EQ(lines.readInputs(), std::nullopt);
    lines.failLineCalls = true;
    EXPECT_FALSE(lines.setRts(true));
    EXPECT_FALSE(lines.rts());
    EXPECT_EQ(lines.reads, 5);
}

}  // namespace
}  // namespace tintal

#include "platform/win32/win32_serial_lines.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "radio/serial_port_list.h"

namespace tintal {
namespace {

bool contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

// Values of the test's own in the system's serial port map (the Wine prefix is the build's), all
// removed again whatever the test's outcome. Ports far above any real one are used.
class SerialPortMapValues {
public:
    SerialPortMapValues() {
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, Win32SerialLines::kSerialPortMapKey, 0, nullptr, REG_OPTION_VOLATILE,
                        KEY_SET_VALUE, nullptr, &key_, nullptr);
    }
    ~SerialPortMapValues() {
        if (!key_) return;
        for (const auto& name : names_) RegDeleteValueA(key_, name.c_str());
        RegCloseKey(key_);
    }
    SerialPortMapValues(const SerialPortMapValues&) = delete;
    SerialPortMapValues& operator=(const SerialPortMapValues&) = delete;

    bool ok() const { return key_ != nullptr; }
    // Data stored as Windows stores it: with its terminating NUL counted in the size.
    bool add(const std::string& name, const std::string& data, DWORD type = REG_SZ) {
        names_.push_back(name);
        return RegSetValueExA(key_, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.c_str()),
                              static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
    }

private:
    HKEY key_ = nullptr;
    std::vector<std::string> names_;
};

TEST(Win32SerialLines, ListsThePortsOfTheRegistryMap) {
    {
        SerialPortMapValues values;
        ASSERT_TRUE(values.ok());
        // An oversized value enumerated first (Wine sorts by name, Windows keeps the order of creation):
        // the ports after it must still be found.
        ASSERT_TRUE(values.add("\\Device\\Tintal0Long", std::string(600, 'C')));
        ASSERT_TRUE(values.add("\\Device\\TintalTest201", "COM201"));
        ASSERT_TRUE(values.add("\\Device\\TintalTest210", "COM210"));
        ASSERT_TRUE(values.add("\\Device\\TintalTest0", "COM0"));
        ASSERT_TRUE(values.add("\\Device\\TintalTestX", "COMX"));
        ASSERT_TRUE(values.add("\\Device\\TintalTestBinary", "COM220", REG_BINARY));

        const std::vector<std::string> reported = Win32SerialLines().portNames();
        EXPECT_TRUE(contains(reported, "COM201"));  // without the NUL the registry keeps
        EXPECT_TRUE(contains(reported, "COM210"));
        EXPECT_TRUE(contains(reported, "COM0"));  // reported as is; the list leaves it out
        EXPECT_FALSE(contains(reported, "COM220"));

        const std::vector<std::string> list = buildPortList(reported);
        ASSERT_FALSE(list.empty());
        EXPECT_EQ(list.front(), "No COM");
        const auto at201 = std::find(list.begin(), list.end(), "COM201");
        const auto at210 = std::find(list.begin(), list.end(), "COM210");
        ASSERT_NE(at201, list.end());
        ASSERT_NE(at210, list.end());
        EXPECT_LT(at201, at210);
        EXPECT_FALSE(contains(list, "COM0"));
        EXPECT_FALSE(contains(list, "COMX"));
    }
    // Removed again: the map is as the test found it.
    const std::vector<std::string> after = Win32SerialLines().portNames();
    EXPECT_FALSE(contains(after, "COM201"));
    EXPECT_FALSE(contains(after, "COM210"));
}

TEST(Win32SerialLines, AMissingMapMeansNoPorts) {
    Win32SerialLines lines("SOFTWARE\\TintalTest\\NoSuchSerialMap");
    EXPECT_TRUE(lines.portNames().empty());
    EXPECT_EQ(buildPortList(lines.portNames()), (std::vector<std::string>{"No COM"}));
}

TEST(Win32SerialLines, APortThatDoesNotExistFailsCleanly) {
    Win32SerialLines lines;
    EXPECT_FALSE(lines.open("COM239"));
    EXPECT_FALSE(lines.isOpen());
    EXPECT_FALSE(lines.setDtr(true));
    EXPECT_FALSE(lines.setRts(true));
    EXPECT_EQ(lines.readInputs(), std::nullopt);
    lines.close();  // nothing open: harmless
    EXPECT_FALSE(lines.isOpen());
}

TEST(Win32SerialLines, NamesThatAreNotPortsNeverOpen) {
    Win32SerialLines lines;
    // Devices that exist on every system, none a serial port, and names that are no port at all.
    for (const char* name : {"NUL", "CONOUT$", "PhysicalDrive0", "COM0", "COM01", "No COM", ""}) {
        EXPECT_FALSE(lines.open(name)) << name;
        EXPECT_FALSE(lines.isOpen()) << name;
    }
}

}  // namespace
}  // namespace tintal

#include "platform/posix/posix_serial_lines.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "radio/serial_port_list.h"

namespace tintal {
namespace {

namespace fs = std::filesystem;

// A pseudo-terminal pair: a terminal with no modem lines. The test keeps a slave descriptor of
// its own (opened before the adapter's, so the adapter's exclusive mode does not refuse it) to
// look at the terminal's settings.
class Pty {
public:
    Pty() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
        slavePath_ = ptsname(master_);
        slave_ = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    }
    ~Pty() {
        if (slave_ >= 0) ::close(slave_);
        if (master_ >= 0) ::close(master_);
    }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    bool ok() const { return slave_ >= 0; }
    const std::string& slavePath() const { return slavePath_; }
    termios settings() const {
        termios t{};
        tcgetattr(slave_, &t);
        return t;
    }
    void setSettings(const termios& t) const { tcsetattr(slave_, TCSANOW, &t); }
    bool exclusive() const {
        int on = 0;
        return ioctl(slave_, TIOCGEXCL, &on) == 0 && on != 0;
    }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

int openDescriptors() {
    return static_cast<int>(std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator{}));
}

class PosixSerialLinesTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tintal-serial.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
        fs::create_directories(dev());
        fs::create_directories(sys());
        ASSERT_TRUE(uart0_.ok() && uart1_.ok() && usb0_.ok() && absent_.ok());
        link("ttyS0", uart0_.slavePath());
        link("ttyS1", uart1_.slavePath());
        link("ttyUSB0", usb0_.slavePath());
        link("ttyS5", absent_.slavePath());
        uartType("ttyS1", "4\n");  // a 16550A
        uartType("ttyS5", "0\n");  // a slot the kernel found no UART in
        std::ofstream(dev() + "/ttyACM0") << "not a terminal\n";
        link("ttyUSB3", root_ + "/nowhere");
        link("ttyS2", "/dev/null");
        link("tty0", uart0_.slavePath());
        link("ttyUSB40", usb0_.slavePath());
    }
    void TearDown() override { fs::remove_all(root_); }

    std::string dev() const { return root_ + "/dev"; }
    std::string sys() const { return root_ + "/sys"; }
    void link(const std::string& name, const std::string& target) { fs::create_symlink(target, dev() + "/" + name); }
    void uartType(const std::string& name, const std::string& type) {
        fs::create_directories(sys() + "/" + name);
        std::ofstream(sys() + "/" + name + "/type") << type;
    }

    std::string root_;
    Pty uart0_, uart1_, usb0_, absent_;
};

TEST_F(PosixSerialLinesTest, ListsTheMappedTerminalsOfTheFolder) {
    PosixSerialLines serial(dev(), sys());
    std::vector<std::string> names = serial.portNames();
    std::sort(names.begin(), names.end());
    // ttyS2 (/dev/null) is a character device of a mapped name, so it is listed: only an open can
    // tell it is no terminal. ttyS5 is left out without being opened.
    EXPECT_EQ(names, (std::vector<std::string>{"COM1", "COM2", "COM3", "COM33"}));
    EXPECT_EQ(buildPortList(serial.portNames()), (std::vector<std::string>{"No COM", "COM1", "COM2", "COM3", "COM33"}));
    EXPECT_EQ(serial.devicePath("COM33"), dev() + "/ttyUSB0");
    EXPECT_EQ(serial.devicePath("COM200"), std::nullopt);

    EXPECT_TRUE(PosixSerialLines(root_ + "/no-such-folder", sys()).portNames().empty());
}

TEST_F(PosixSerialLinesTest, OpenTakesTheTerminalWithoutChangingItsDataSettings) {
    termios wanted = uart0_.settings();
    cfsetispeed(&wanted, B4800);
    cfsetospeed(&wanted, B4800);
    // Two stop bits: a pseudo-terminal keeps those, while it forces 8 bits without parity.
    wanted.c_cflag = (wanted.c_cflag & ~HUPCL) | CSTOPB;
    uart0_.setSettings(wanted);
    const termios before = uart0_.settings();
    ASSERT_EQ(cfgetospeed(&before), B4800);
    ASSERT_TRUE(before.c_cflag & CSTOPB);
    ASSERT_FALSE(before.c_cflag & HUPCL);

    PosixSerialLines serial(dev(), sys());
    ASSERT_TRUE(serial.open("COM1"));
    EXPECT_TRUE(serial.isOpen());
    const termios after = uart0_.settings();
    EXPECT_EQ(cfgetospeed(&after), B4800);
    EXPECT_EQ(cfgetispeed(&after), B4800);
    EXPECT_EQ(after.c_cflag & ~HUPCL, before.c_cflag);
    EXPECT_EQ(after.c_iflag, before.c_iflag);
    EXPECT_EQ(after.c_oflag, before.c_oflag);
    EXPECT_EQ(after.c_lflag, before.c_lflag);
    // The lines must drop if the program dies with the transmitter keyed.
    EXPECT_TRUE(after.c_cflag & HUPCL);
    EXPECT_TRUE(uart0_.exclusive());

    serial.close();
    EXPECT_FALSE(serial.isOpen());
    EXPECT_FALSE(uart0_.exclusive());
    serial.close();  // twice is harmless
}

// A pseudo-terminal has no modem lines: TIOCMGET/TIOCMBIS/TIOCMBIC fail with ENOTTY there.
TEST_F(PosixSerialLinesTest, LineCallsOnATerminalWithoutModemLinesReportFailure) {
    PosixSerialLines serial(dev(), sys());
    ASSERT_TRUE(serial.open("COM33"));
    EXPECT_FALSE(serial.setDtr(true));
    EXPECT_FALSE(serial.setRts(true));
    EXPECT_FALSE(serial.setDtr(false));
    EXPECT_FALSE(serial.setRts(false));
    EXPECT_EQ(serial.readInputs(), std::nullopt);
    EXPECT_TRUE(serial.isOpen());  // the failures leave the port as it was

    serial.close();
    EXPECT_FALSE(serial.setDtr(true));
    EXPECT_EQ(serial.readInputs(), std::nullopt);
}

TEST_F(PosixSerialLinesTest, APortHeldByAnotherClockCannotBeOpened) {
    PosixSerialLines first(dev(), sys());
    PosixSerialLines second(dev(), sys());
    ASSERT_TRUE(first.open("COM1"));
    EXPECT_FALSE(second.open("COM1"));
    EXPECT_FALSE(second.isOpen());
    EXPECT_TRUE(first.isOpen());

    // Choosing another port lets the first one go.
    ASSERT_TRUE(first.open("COM2"));
    EXPECT_FALSE(uart0_.exclusive());
    EXPECT_TRUE(uart1_.exclusive());
    EXPECT_TRUE(second.open("COM1"));
}

TEST_F(PosixSerialLinesTest, AFailedOpenLeavesNoPortOpenAndNothingLeaked) {
    PosixSerialLines serial(dev(), sys());
    const int descriptors = openDescriptors();
    for (const char* port : {"COM34",   // no ttyUSB1
                             "COM36",   // ttyUSB3 points nowhere
                             "COM65",   // ttyACM0 is a plain file
                             "COM3",    // ttyS2 is /dev/null: a device, but no terminal
                             "COM200",  // outside the mapping
                             "No COM", "ttyS0", "/dev/ttyS0", "COM01", ""}) {
        EXPECT_FALSE(serial.open(port)) << port;
        EXPECT_FALSE(serial.isOpen()) << port;
    }
    EXPECT_EQ(openDescriptors(), descriptors);

    // A failed choice after a good one also releases the good one.
    ASSERT_TRUE(serial.open("COM1"));
    EXPECT_FALSE(serial.open("COM34"));
    EXPECT_FALSE(serial.isOpen());
    EXPECT_FALSE(uart0_.exclusive());
    PosixSerialLines other(dev(), sys());
    EXPECT_TRUE(other.open("COM1"));
}

TEST_F(PosixSerialLinesTest, TheDestructorLetsThePortGo) {
    const int descriptors = openDescriptors();
    {
        PosixSerialLines serial(dev(), sys());
        ASSERT_TRUE(serial.open("COM1"));
        EXPECT_EQ(openDescriptors(), descriptors + 1);
    }
    EXPECT_EQ(openDescriptors(), descriptors);
    EXPECT_FALSE(uart0_.exclusive());
}

}  // namespace
}  // namespace tintal

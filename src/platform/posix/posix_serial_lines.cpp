#include "platform/posix/posix_serial_lines.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "platform/serial_port_names.h"

namespace tintal {

namespace {

// The kernel's PORT_UNKNOWN: a ttyS slot with no UART behind it (most of ttyS0-ttyS31 on a PC).
constexpr int kUartTypeUnknown = 0;

bool isCharacterDevice(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISCHR(info.st_mode);
}

// Lowers both outputs in one call. A terminal without modem lines (a pseudo-terminal) has nothing
// that could be high, so it counts as done; any other refusal means the device is unusable.
bool lowerOutputs(int fd) {
    int lines = TIOCM_DTR | TIOCM_RTS;
    if (ioctl(fd, TIOCMBIC, &lines) == 0) return true;
    return errno == ENOTTY || errno == EINVAL;
}

// The lines drop on the last close, even when the program dies with the transmitter keyed. Only
// this flag changes: speed and framing stay as the system had them.
bool hangUpOnClose(int fd) {
    termios settings{};
    if (tcgetattr(fd, &settings) != 0) return false;
    if (settings.c_cflag & HUPCL) return true;
    settings.c_cflag |= HUPCL;
    return tcsetattr(fd, TCSANOW, &settings) == 0;
}

}  // namespace

PosixSerialLines::PosixSerialLines(std::string devFolder, std::string sysTtyFolder)
    : devFolder_(std::move(devFolder)), sysTtyFolder_(std::move(sysTtyFolder)) {}

PosixSerialLines::~PosixSerialLines() { close(); }

std::optional<std::string> PosixSerialLines::devicePath(std::string_view portName) const {
    const auto device = deviceForPort(portName);
    if (!device) return std::nullopt;
    return devFolder_ + "/" + *device;
}

bool PosixSerialLines::uartAbsent(const std::string& deviceName) const {
    // sysfs tells without opening the device; an unreadable entry (not a UART, or no sysfs) keeps the port.
    std::ifstream type(sysTtyFolder_ + "/" + deviceName + "/type");
    int value = -1;
    return type >> value && value == kUartTypeUnknown;
}

std::vector<std::string> PosixSerialLines::portNames() {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(devFolder_, error)) {
        const std::string device = entry.path().filename().string();
        const auto port = portForDevice(device);
        if (!port || !isCharacterDevice(entry.path().string()) || uartAbsent(device)) continue;
        names.push_back(*port);
    }
    return names;
}

bool PosixSerialLines::open(std::string_view portName) {
    close();
    const auto path = devicePath(portName);
    if (!path) return false;
    // O_NONBLOCK: do not wait for a carrier; no data is ever read, so it is never cleared.
    int fd;
    do {
        fd = ::open(path->c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return false;
    // Another clock holding the port keeps its lines: the check comes before any line is touched.
    // The kernel raised DTR and RTS on the first open; they come down at once.
    if (!isatty(fd) || flock(fd, LOCK_EX | LOCK_NB) != 0 || !lowerOutputs(fd) || !hangUpOnClose(fd)) {
        ::close(fd);
        return false;
    }
    // Like the Windows port's exclusive open: other programs (except root) cannot open it meanwhile.
    ioctl(fd, TIOCEXCL);
    fd_ = fd;
    return true;
}

void PosixSerialLines::close() {
    if (fd_ < 0) return;
    lowerOutputs(fd_);
    ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
}

bool PosixSerialLines::setLine(int line, bool on) {
    if (fd_ < 0) return false;
    return ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &line) == 0;
}

bool PosixSerialLines::setDtr(bool on) { return setLine(TIOCM_DTR, on); }
bool PosixSerialLines::setRts(bool on) { return setLine(TIOCM_RTS, on); }

std::optional<ModemInputs> PosixSerialLines::readInputs() {
    int status = 0;
    if (fd_ < 0 || ioctl(fd_, TIOCMGET, &status) != 0) return std::nullopt;
    return ModemInputs{
        .cts = (status & TIOCM_CTS) != 0, .dsr = (status & TIOCM_DSR) != 0, .dcd = (status & TIOCM_CAR) != 0};
}

}  // namespace tintal

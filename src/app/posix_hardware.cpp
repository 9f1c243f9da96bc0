// The hardware commands: --list-devices, --list-ports and --test-ptt PORT.
#include <chrono>
#include <iostream>
#include <thread>

#include "app/posix_commands.h"
#include "platform/posix/alsa_audio_device.h"
#include "platform/posix/posix_event_loop.h"
#include "platform/posix/posix_serial_lines.h"
#include "radio/serial_port_list.h"

namespace tintal {

int listDevices(const Options&, double) {
    PosixEventLoop loop;
    AlsaAudioDevice device(loop);
    const int count = device.deviceCount();
    if (count == 0) std::cout << "no sound output device\n";
    for (int i = 0; i < count; ++i)
        std::cout << i << ": " << device.deviceName(i).value_or("Erreur sorties lecture") << '\n';
    return 0;
}

int listPorts(const Options&, double) {
    PosixSerialLines lines;
    for (const std::string& entry : buildPortList(lines.portNames())) std::cout << entry << '\n';
    return 0;
}

// The transmitter keyed for one second, with what the inputs read meanwhile.
int testPtt(const Options& options, double) {
    const std::string& port = options.testPttPort;
    PosixSerialLines lines;
    const std::string device = lines.devicePath(port).value_or("?");
    if (!lines.open(port)) {
        std::cerr << "tintal: Erreur port COM: " << port << " (" << device << ") cannot be opened\n";
        return 1;
    }
    const bool dtr = lines.setDtr(true);
    const bool rts = lines.setRts(true);
    std::cout << port << " (" << device << "): DTR " << (dtr ? "on" : "refused") << ", RTS " << (rts ? "on" : "refused")
              << std::endl;
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const auto inputs = lines.readInputs();
    lines.setDtr(false);
    lines.setRts(false);
    lines.close();
    if (inputs) {
        std::cout << "CTS=" << (inputs->cts ? "On" : "Off") << " DSR=" << (inputs->dsr ? "On" : "Off")
                  << " DCD=" << (inputs->dcd ? "On" : "Off") << '\n';
    }
    std::cout << "DTR and RTS released\n";
    return dtr || rts ? 0 : 1;
}

}  // namespace tintal

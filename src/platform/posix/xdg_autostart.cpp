#include "platform/posix/xdg_autostart.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace tintal {

namespace fs = std::filesystem;

namespace {

std::string configHome() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') return xdg;
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.config";
}

// Desktop entries quote an argument holding spaces or special characters with double quotes.
std::string quoted(const std::string& path) {
    std::string out = "\"";
    for (char c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

}  // namespace

std::string XdgAutostart::entryPath() const { return configHome() + "/autostart/tintal.desktop"; }

std::string XdgAutostart::set(bool on) {
    const fs::path path = entryPath();
    std::error_code error;
    if (!on) {
        fs::remove(path, error);
        return error ? error.message() : std::string();
    }
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error) return error.message();
    fs::create_directories(path.parent_path(), error);
    if (error) return error.message();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << "[Desktop Entry]\nType=Application\nName=Tintal\nComment=Horloge parlante\nExec=" << quoted(program.string())
        << (arguments_.empty() ? "" : " " + arguments_) << "\nTerminal=false\n";
    out.close();
    return out ? std::string() : "cannot write " + path.string();
}

std::string XdgAutostart::entry() {
    std::ifstream in(entryPath());
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("Exec=", 0) == 0) return line.substr(5);
    }
    return {};
}

}  // namespace tintal

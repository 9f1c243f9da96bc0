#pragma once
// What a web source window needs around it in a test: virtual time, a French desktop, canned
// documents, a working folder and an export folder.
#include <fstream>
#include <iterator>
#include <string>

#include "base/date_time.h"
#include "fakes/fake_downloader.h"
#include "fakes/temp_folder.h"
#include "platform/files.h"
#include "platform/virtual_event_loop.h"
#include "weather/web/web_source_window.h"

namespace tintal {

struct WebSourceRig {
    explicit WebSourceRig(double now = encodeDateTime(2024, 3, 7, 15, 0)) : loop(now) {}

    WebSourceContext context() {
        return {loop,
                desktop,
                realDownloader ? *realDownloader : downloader,
                files,
                work.path().string(),
                exports.path().string(),
                [] { return true; },
                [this] { ++chooserHides; },
                [this] { return startingUp; },
                [this] { ++helps; }};
    }
    std::string workFile(const std::string& name) const { return slurp(work.file(name)); }
    std::string exportFile(const std::string& name) const { return slurp(exports.file(name)); }
    bool inWork(const std::string& name) const { return std::filesystem::exists(work.file(name)); }
    void putWork(const std::string& name, const std::string& bytes) const {
        std::ofstream(work.file(name), std::ios::binary) << bytes;
    }
    static std::string slurp(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    }

    VirtualEventLoop loop;
    FrenchDesktop desktop;
    FakeDownloader downloader;
    StdFiles files;
    Downloader* realDownloader = nullptr;  // a real adapter in place of the fake, for end-to-end runs
    TempFolder work, exports;
    bool startingUp = false;
    int chooserHides = 0, helps = 0;
};

// A rig with its window, and the user's submission of an address or path (typed, then Enter).
template <typename SourceWindow>
struct WindowRig : WebSourceRig {
    WindowRig() : window(context()) {}
    void submit(const std::string& text) {
        window.EditDat.setText(text);
        window.EditDatKeyPress('\r');
    }
    SourceWindow window;
};

}  // namespace tintal

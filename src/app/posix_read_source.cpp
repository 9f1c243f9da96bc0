// --read-source KIND PATH: one read of a station file or of a web source, printed as its window shows it.
#include <algorithm>
#include <iostream>

#include "app/posix_commands.h"
#include "app/posix_composition.h"
#include "platform/files.h"
#include "platform/posix/local_time_zone.h"
#include "platform/virtual_event_loop.h"
#include "shell/read_source.h"
#include "shell/read_web_source.h"

namespace tintal {

namespace {

int readWebSource(const Options& options) {
    PosixEventLoop loop;
    FrenchDesktop desktop;
    desktop.biasMinutes = localBiasMinutes();
    CurlDownloader downloader(&loop);
    StdFiles files;
    WebSourceRun run{loop, desktop, downloader, files, "", makeExportFolder(), std::cout};
    const std::string& kind = options.readSourceKind;
    const std::string& path = options.readSourcePath;
    int status = 2;
    if (kind == "metar") {
        status = readMetarSource(path, run);
    } else if (kind == "aprs") {
        status = readAprsSource(path, run);
    } else if (kind == "piu") {
        status = readPioupiouSource(path, run);
    }
    for (const std::string& message : desktop.messages) std::cerr << message << '\n';
    return status;
}

}  // namespace

int readSourceOnce(const Options& options, double at) {
    const std::vector<std::string> stations = readSourceKinds();
    if (std::find(stations.begin(), stations.end(), options.readSourceKind) == stations.end())
        return readWebSource(options);
    VirtualEventLoop loop(at);
    FrenchDesktop desktop;
    StdFiles files;
    return printSourceRead(options.readSourceKind, options.readSourcePath, {loop, desktop, files}, std::cout);
}

}  // namespace tintal

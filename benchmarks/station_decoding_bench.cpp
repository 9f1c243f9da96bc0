// How fast a refresh of the file-fed stations is: a 20 MB WS-2300 history file and a whole month of
// 5-minute Vantage Pro2 records, each read from disk in one go and decoded, as every refresh does.
// Prints the figures; run with `make bench`.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "fakes/station_files.h"
#include "platform/files.h"
#include "weather/stations/vantage_archive.h"
#include "weather/stations/ws2300_history.h"

using namespace tintal;

namespace {

using Clock = std::chrono::steady_clock;

// Runs `work` until at least half a second has passed; returns the mean seconds per run.
double secondsPerRun(const std::function<void()>& work) {
    int runs = 0;
    const auto start = Clock::now();
    std::chrono::duration<double> elapsed{};
    do {
        work();
        ++runs;
        elapsed = Clock::now() - start;
    } while (elapsed.count() < 0.5);
    return elapsed.count() / runs;
}

void report(const char* what, std::size_t bytes, double seconds) {
    std::printf("%-44s %8.2f MB  %12.3f us  %14.1f MB/s\n", what, bytes / 1e6, seconds * 1e6, bytes / 1e6 / seconds);
}

// Keeps the optimiser from dropping a decode whose result nobody reads.
volatile bool decodedSink = false;

StationBytes ws2300File(std::size_t bytes) {
    std::vector<Ws2300FileRecord> records(bytes / 36);
    for (std::size_t i = 0; i < records.size(); ++i) {
        records[i].seconds = 3'000'000'000u + static_cast<std::uint32_t>(i) * 300;
        records[i].pressure = 1000.0f + static_cast<float>(i % 40);
        records[i].wind = static_cast<float>(i % 13);
        records[i].rain = static_cast<float>(i) * 0.1f;
    }
    return ws2300History(records);
}

StationBytes monthOfFiveMinuteRecords() {
    WlkFile file;
    file.days(1, 31, 288);
    for (int day = 1; day <= 31; ++day) {
        for (int slot = 1; slot <= 288; ++slot) {
            WlkFileRecord r;
            r.minutes = static_cast<std::uint16_t>(slot * 5);
            r.barometer = static_cast<std::uint16_t>(29800 + (slot % 50));
            r.clicks = static_cast<std::uint8_t>(slot % 3);
            r.wind = static_cast<std::uint16_t>(slot % 120);
            file.add(r);
        }
        WlkFileRecord summary;
        summary.type = 2;
        file.add(summary);
    }
    return file.bytes();
}

bool bench(const char* name, const StationBytes& bytes, const std::filesystem::path& folder,
           const std::function<bool(const StationBytes&)>& decode) {
    const std::string path = (folder / name).string();
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out || std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size() || std::fclose(out) != 0) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    if (!decode(bytes)) {
        std::fprintf(stderr, "%s does not decode\n", name);
        return false;
    }
    StdFiles files;
    report((std::string(name) + ": decode").c_str(), bytes.size(), secondsPerRun([&] { decodedSink = decode(bytes); }));
    report((std::string(name) + ": read whole file + decode").c_str(), bytes.size(), secondsPerRun([&] {
               const auto read = files.readShared(path);
               if (read) decodedSink = decode(*read);
           }));
    return true;
}

}  // namespace

int main() {
    const auto folder = std::filesystem::temp_directory_path() / "tintal_bench";
    std::filesystem::create_directories(folder);
    bool ok = bench("history.dat", ws2300File(20'000'000), folder,
                    [](const StationBytes& b) { return decodeWs2300History(b, 0).has_value(); });
    ok = bench("2024-03.wlk", monthOfFiveMinuteRecords(), folder,
               [](const StationBytes& b) {
                   return decodeVantageArchive(b, WlkMonth{2024, 3}, 0).reading.has_value();
               }) &&
         ok;
    std::filesystem::remove_all(folder);
    std::printf(
        "(decoding looks back a bounded number of records from the end: its time does not grow with the "
        "file; reading the file does)\n");
    return ok ? 0 : 1;
}

// What the three file-fed station windows do with files they cannot use.
#include <gtest/gtest.h>

#include <set>

#include "base/date_time.h"
#include "fakes/station_files.h"
#include "fakes/station_window_rig.h"
#include "weather/stations/tform_meteo_pro2.h"
#include "weather/stations/tform_meteo_w23.h"
#include "weather/stations/tform_meteo_w28.h"

namespace tintal {
namespace {

// Real files, except that those marked read-only refuse the read-write open, as Windows does.
class ReadOnlyAwareFiles : public StdFiles {
public:
    std::optional<std::vector<std::uint8_t>> readShared(const std::string& path) override {
        if (readOnly.count(path)) return std::nullopt;
        return StdFiles::readShared(path);
    }
    std::set<std::string> readOnly;
};

template <typename Window>
struct Rig : StationWindowRig<Window, FrenchDesktop, ReadOnlyAwareFiles> {
    Rig() : StationWindowRig<Window, FrenchDesktop, ReadOnlyAwareFiles>(encodeDateTime(2024, 3, 20, 12, 0)) {}
    // Every caption and figure the window shows, to compare before and after a failed read.
    std::vector<std::string> shown() const {
        const Window& window = this->window;
        std::vector<std::string> all;
        for (const TickBox* box : window.figureBoxes()) {
            all.push_back(box->caption() + (box->colour() == Colour::Red ? " red" : ""));
        }
        all.push_back(window.LabelHumInt.caption());
        all.push_back(window.LabelTros.caption());
        all.push_back(window.Editdatemeteo.text());
        const WeatherReading& r = window.reading();
        for (double figure : {r.observedAt, r.tempInt, r.tempExt, r.pressure, r.windSpeed, r.gustSpeed, r.rain24h,
                              r.humidityExt, r.feelsLike, r.dewPoint}) {
            all.push_back(std::to_string(figure));
        }
        return all;
    }
};

std::vector<Ws2300FileRecord> ws2300Hour() {
    std::vector<Ws2300FileRecord> records(7);
    for (std::size_t i = 0; i < records.size(); ++i) records[i].seconds = 3'600'000'000u + 600 * std::uint32_t(i);
    return records;
}

std::vector<Ws2800FileRecord> ws2800Hour() {
    std::vector<Ws2800FileRecord> records(7);
    for (std::size_t i = 0; i < records.size(); ++i) records[i].time = 45000.5 + static_cast<double>(i) / 144;
    return records;
}

StationBytes wlkDay(int records = 20) { return WlkFile().days(1, 14, 288).add(WlkFileRecord{}, records).bytes(); }

// Reads a good file, then the damaged bytes in its place: only the error field may change.
template <typename Window>
void expectOnlyTheError(const std::string& name, const StationBytes& good, const StationBytes& damaged) {
    Rig<Window> rig;
    rig.load(name, good);
    ASSERT_EQ(rig.window.StaticTextErreur.caption(), "") << name;
    const auto before = rig.shown();
    rig.folder.write(name, damaged);
    const int beeps = rig.desktop.beeps;
    rig.window.read();
    EXPECT_EQ(rig.window.StaticTextErreur.caption(), "Erreur fichier") << name;
    EXPECT_EQ(rig.desktop.beeps, beeps + 1) << name;
    EXPECT_EQ(rig.shown(), before) << name;
    EXPECT_TRUE(rig.window.TimerMeteo.enabled()) << name;  // retried at the next period
}

TEST(StationFileErrors, NoCompleteRecordNeverReadsOutsideTheData) {
    expectOnlyTheError<TFormMeteoW23>("history.dat", ws2300History(ws2300Hour()), StationBytes(35, 0x7F));
    expectOnlyTheError<TFormMeteoW23>("history.dat", ws2300History(ws2300Hour()), {});
    expectOnlyTheError<TFormMeteoW28>("history.dat", ws2800History(ws2800Hour()), StationBytes(55, 0x7F));
    expectOnlyTheError<TFormMeteoPro2>("2024-03.wlk", wlkDay(), StationBytes(211, 0));
}

TEST(StationFileErrors, AnArchiveAnnouncingMoreRecordsThanItHolds) {
    StationBytes overAnnounced = WlkFile().days(1, 14, 288).add(WlkFileRecord{}, 20).announce(21).bytes();
    expectOnlyTheError<TFormMeteoPro2>("2024-03.wlk", wlkDay(), overAnnounced);
    // A count so large that its byte size wraps on a 32-bit program.
    overAnnounced = WlkFile().days(1, 14, 288).add(WlkFileRecord{}, 20).announce(0x7FFFFFFF).bytes();
    expectOnlyTheError<TFormMeteoPro2>("2024-03.wlk", wlkDay(), overAnnounced);
}

// A history-file source whose file cannot be decoded beeps and keeps its timer, and its error stays
// through good reads until a file is chosen again.
template <typename Window>
void expectTheErrorUntilAFileIsChosen(const StationBytes& good, const StationBytes& damaged) {
    Rig<Window> rig;
    const std::string path = rig.use("history.dat", good);
    rig.folder.write("history.dat", damaged);
    rig.window.read();
    EXPECT_EQ(rig.window.StaticTextErreur.caption(), "Erreur fichier");
    EXPECT_EQ(rig.desktop.beeps, 1);
    EXPECT_TRUE(rig.window.TimerMeteo.enabled());
    rig.folder.write("history.dat", good);
    rig.window.read();
    EXPECT_EQ(rig.window.StaticTextErreur.caption(), "Erreur fichier");  // a good read does not clear it
    rig.choose(path);
    EXPECT_EQ(rig.window.StaticTextErreur.caption(), "");
}

TEST(StationFileErrors, AFailedHistoryReadMutesTheSourceUntilAFileIsChosenAgain) {
    // Neither holds a complete record.
    expectTheErrorUntilAFileIsChosen<TFormMeteoW23>(ws2300History(ws2300Hour()), {1, 2, 3});
    expectTheErrorUntilAFileIsChosen<TFormMeteoW28>(ws2800History(ws2800Hour()), StationBytes(55, 0));
}

TEST(StationFileErrors, AReadOnlyFileCannotBeOpenedAndGivesTheFileError) {
    Rig<TFormMeteoW23> w23;
    const std::string history = w23.folder.write("history.dat", ws2300History(ws2300Hour()));
    w23.files.readOnly.insert(history);
    w23.window.setFile(history);
    w23.window.read();
    EXPECT_EQ(w23.window.StaticTextErreur.caption(), "Erreur fichier");
    EXPECT_EQ(w23.window.Editdatemeteo.text(), "");
    // The error of a history-file source stays through good reads until a file is chosen again.
    w23.files.readOnly.clear();
    w23.window.read();
    EXPECT_NE(w23.window.Editdatemeteo.text(), "");
    EXPECT_EQ(w23.window.StaticTextErreur.caption(), "Erreur fichier");
    w23.choose(history);
    EXPECT_EQ(w23.window.StaticTextErreur.caption(), "");

    Rig<TFormMeteoPro2> pro2;
    const std::string archive = pro2.folder.write("2024-03.wlk", wlkDay());
    pro2.files.readOnly.insert(archive);
    pro2.window.setFile(archive);
    pro2.window.read();
    EXPECT_EQ(pro2.window.StaticTextErreur.caption(), "Erreur fichier");
    // The archive source clears its error on the next good read.
    pro2.files.readOnly.clear();
    pro2.window.read();
    EXPECT_EQ(pro2.window.StaticTextErreur.caption(), "");
}

}  // namespace
}  // namespace tintal

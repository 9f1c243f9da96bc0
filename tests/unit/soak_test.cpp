// A day of the whole program on virtual time, with the faults a station meets arriving at random:
// clips that fail, weather downloads that fail or hang, serial lines that flap, companion messages and
// settings saves. Whatever happens, no minute of the schedule is lost without a reason, no
// announcement stays stuck, the transmitter is released and the settings file stays whole.
#include <gtest/gtest.h>

#include <random>

#include "fakes/program_rig.h"
#include "radio/companion_message.h"

namespace tintal {
namespace {

const std::string kMetar = "https://metar.example/LFPG.TXT";
const std::string kSettings = "[TINTAL V2.4.0]\r\nPERIOD=1\r\nMETEO=METAR\r\nMETAR_VITVENT=Y\r\nMETAR_DAT=" + kMetar +
                              "\r\nMETAR_METPERI=3\r\nCOM=1\r\n";

struct Interval {
    double from, to;  // date-times
};

class Soak {
public:
    explicit Soak(unsigned seed) : random_(seed) {}

    void run(double hours) {
        rig_.files.put("tintal.ini", kSettings);
        rig_.downloader.serve(kMetar, "LFPG 081430Z 24012KT 9999 FEW040 12/08 Q1013 NOSIG\r\n");
        rig_.downloader.duringDownload = [this] { download(); };
        TintalProgram& p = rig_.start();
        p.form.EditData.onChange = [this, &p] {
            if (p.form.EditData.text() == "TINTAL_PLAY") starts_.push_back(rig_.loop.localNow());
        };
        peer_.open();
        // Timers of the loop, so that they also run inside the pumps of hung downloads and announcements.
        rig_.loop.startTimer(100, [this] { noteAnnouncement(); });
        rig_.loop.startTimer(250, [this] { step(); });
        const double end = rig_.loop.localNow() + hours / 24;
        while (rig_.loop.localNow() < end) rig_.loop.advance(60000);
        // The last announcement ends; nothing is left running.
        rig_.loop.advanceUntil([&p] { return !p.form.announcing; }, 130000, 250);
        noteAnnouncement();
    }

    ProgramRig rig_;
    std::vector<double> starts_;
    std::vector<Interval> running_, carrier_;
    double longestMs_ = 0;
    int faults_ = 0, hungDownloads_ = 0, saves_ = 0;

private:
    bool chance(double p) { return std::uniform_real_distribution<>(0, 1)(random_) < p; }

    // One random fault, now and then. Line changes come at the half minute, so that the state of the
    // carrier at each scheduled second is plain.
    void step() {
        TintalProgram& p = *rig_.program;
        const DateTimeFields t = decodeDateTime(rig_.loop.localNow());
        if (t.second == 30 && chance(0.02)) flipLine();
        if (chance(0.0005)) {
            ++faults_;
            const bool failing = p.form.cuckooFilePath.empty() || !rig_.player.failures.count(p.form.cuckooFilePath);
            if (failing)
                rig_.player.failures[p.form.cuckooFilePath] = "Err: fichier son";
            else
                rig_.player.failures.clear();
        }
        if (chance(0.0005)) {
            ++faults_;
            if (chance(0.5))
                rig_.downloader.fail(kMetar);
            else
                rig_.downloader.serve(kMetar, "LFPG 081430Z 24012KT 9999 FEW040 12/08 Q1013 NOSIG\r\n");
        }
        if (chance(0.0003)) {
            ++faults_;
            peer_.sendText(chance(0.5) ? kTintalPlay : kTintalHello);
        }
        if (chance(0.0005)) {
            ++saves_;
            p.shell.menuSaveConfig.click();
        }
    }

    void flipLine() {
        ++faults_;
        ModemInputs& in = rig_.lines.inputs;
        const int which = std::uniform_int_distribution<>(0, 2)(random_);
        (which == 0 ? in.cts : which == 1 ? in.dsr : in.dcd) ^= true;
        const double now = rig_.loop.localNow();
        if (which != 2) return;
        if (in.dcd)
            carrier_.push_back({now, 1e9});
        else
            carrier_.back().to = now;
    }

    // A download that hangs keeps the window thread dispatching, as the Linux and Windows adapters
    // do, until it gives up at the total timeout.
    void download() {
        if (!chance(0.2)) return;
        ++hungDownloads_;
        rig_.loop.pump(30000);
        throw DownloadError("timeout");
    }

    void noteAnnouncement() {
        const bool on = rig_.program->form.announcing;
        const double now = rig_.loop.localNow();
        if (on && !wasOn_) running_.push_back({now, now});
        if (on) running_.back().to = now + 0.2 / 86400;  // polled: the end is known within a poll
        if (on) longestMs_ = std::max(longestMs_, (now - running_.back().from) * 86400000.0);
        wasOn_ = on;
    }

    std::mt19937 random_;
    FakeCompanionChannel peer_{rig_.objects, "companion"};
    bool wasOn_ = false;
};

bool covers(const std::vector<Interval>& intervals, double from, double to) {
    for (const Interval& i : intervals) {
        if (i.from <= to && i.to >= from) return true;
    }
    return false;
}

TEST(Soak, ADayOfFaultsLosesNoMinuteWithoutAReasonAndLeavesEverythingWhole) {
    Soak soak(20261208);
    soak.run(24);
    TintalProgram& p = *soak.rig_.program;
    ASSERT_FALSE(p.form.ConfigPending);
    EXPECT_GT(soak.faults_, 50);
    EXPECT_GT(soak.hungDownloads_, 5);

    // Every minute of the 5-minute schedule: an announcement started on it, or one was already
    // running, or the carrier was on.
    const double first = encodeDateTime(2026, 12, 8, 10, 5, 0);
    int announced = 0, running = 0, carrier = 0;
    for (double minute = first; minute < first + 1 - 1e-6; minute += 5.0 / 1440) {
        const double second = 1.0 / 86400;
        const bool started = std::any_of(soak.starts_.begin(), soak.starts_.end(),
                                         [&](double s) { return s >= minute - 1e-9 && s < minute + 2 * second; });
        if (started)
            ++announced;
        else if (covers(soak.running_, minute, minute + second))
            ++running;
        else if (covers(soak.carrier_, minute, minute + second))
            ++carrier;
        else
            ADD_FAILURE() << "the minute " << p.ports.desktop.longTime(minute) << " was neither announced nor refused";
    }
    std::cout << announced << " scheduled minutes announced, " << running << " refused (announcement running), "
              << carrier << " refused (carrier); " << soak.faults_ << " faults, " << soak.hungDownloads_
              << " hung downloads, " << soak.saves_ << " saves\n";
    EXPECT_GT(announced, 100);
    // The safety timer bounds every announcement; at the end none runs and the lines are free.
    EXPECT_LT(soak.longestMs_, 125000);
    EXPECT_FALSE(p.form.announcing);
    EXPECT_FALSE(soak.rig_.lines.keyed());

    p.close();
    EXPECT_FALSE(soak.rig_.lines.keyed());
    const std::string ini = soak.rig_.ini();
    EXPECT_EQ(ini.rfind("[TINTAL V2.4.0]\r\n", 0), 0u);
    for (const char* line : {"\r\nPERIOD=1\r\n", "\r\nMETEO=METAR\r\n", "\r\nMETAR_VITVENT=Y\r\n",
                             "\r\nMETAR_METPERI=3\r\n", "\r\nCOM=1\r\n"}) {
        EXPECT_NE(ini.find(line), std::string::npos) << line << " missing from\n" << ini;
    }
    EXPECT_NE(ini.find("\r\nMETAR_DAT=" + kMetar + "\r\n"), std::string::npos) << ini;
}

}  // namespace
}  // namespace tintal

// The radio side under Wine, for real, in two processes: the recorder peer's window commanded by
// WM_COPYDATA (found, or started through the shell), and the companion peer talking to a whole
// clock (main window, sequencer, listener thread) over the named objects.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "fakes/companion_clock_rig.h"
#include "platform/win32/win32_companion_channel.h"
#include "platform/win32/win32_event_loop.h"
#include "platform/win32/win32_recorder_link.h"
#include "win32/peer_process.h"

namespace tintal {
namespace {

std::string besideThisExe(const std::string& name) {
    char self[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path(self, n);
    return path.substr(0, path.find_last_of("\\/") + 1) + name;
}

// One logged event of the recorder peer: its instant and the rest of the line.
struct Logged {
    unsigned long long atMs;
    std::string what;
};

std::vector<Logged> readLog(const std::string& path) {
    std::vector<Logged> events;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        Logged event{};
        fields >> event.atMs;
        std::getline(fields >> std::ws, event.what);
        events.push_back(event);
    }
    return events;
}

unsigned long long instantOf(const std::vector<Logged>& events, const std::string& suffix) {
    for (const Logged& e : events) {
        if (e.what.size() >= suffix.size() &&
            e.what.compare(e.what.size() - suffix.size(), suffix.size(), suffix) == 0) {
            return e.atMs;
        }
    }
    return 0;
}

struct RecorderFixture {
    RecorderFixture() {
        MenuRecord.setChecked(true);
        EditZorvane.setText(besideThisExe("recorder_peer.exe"));
        link.setSender(loop.window());
    }
    Win32EventLoop loop;
    FrenchDesktop desktop;
    StdFiles files;
    Win32RecorderLink link;
    MenuItem MenuRecord{"MenuRecord", "Enregistrer le message"};
    TextField EditZorvane{"EditZorvane"};
    Label StaticTextW{"StaticTextW"};
    RecorderControl control{link, files, desktop, loop, {MenuRecord, EditZorvane, StaticTextW}};
};

TEST(Win32RecorderLink, TheRecorderWindowGetsTheCommandAndAnswers) {
    const std::string log = "recorder_peer_direct.log";
    std::remove(log.c_str());
    PeerProcess peer(L"recorder_peer.exe", "--answer 7 --log " + log + " --timeout 20000");
    ASSERT_TRUE(peer.started());
    Win32RecorderLink link;
    EXPECT_TRUE(peer.nextLine(10000).has_value());  // "<ms> window"
    ASSERT_TRUE(link.windowExists());
    EXPECT_EQ(link.sendCommand("Zorvane record"), 7);
    // The answer 7 leaves the status as it was.
    RecorderFixture f;
    f.StaticTextW.setCaption("avant");
    f.control.startRecording();
    EXPECT_EQ(f.StaticTextW.caption(), "avant");
    EXPECT_TRUE(f.control.recorderWasRunning);
    f.control.stopRecording();
    // Identifier 0, the text with its NUL, signed by the clock's window when it has one.
    const auto direct = peer.nextLine(5000);
    ASSERT_TRUE(direct);
    EXPECT_NE(direct->find("command id=0 nul=yes sender=no Zorvane record"), std::string::npos) << *direct;
    const auto signed_ = peer.nextLine(5000);
    ASSERT_TRUE(signed_);
    EXPECT_NE(signed_->find("command id=0 nul=yes sender=yes Zorvane record"), std::string::npos) << *signed_;
    // "Zorvane close" ends it; no recorder, no window.
    EXPECT_EQ(link.sendCommand("Zorvane close"), 7);
    EXPECT_EQ(peer.exitCode(10000), 0);
    EXPECT_FALSE(link.windowExists());
    EXPECT_EQ(link.sendCommand("Zorvane stop"), std::nullopt);
}

TEST(Win32RecorderLink, ARunningRecorderRecordsAndStopsButIsNotClosed) {
    const std::string log = "recorder_peer_running.log";
    std::remove(log.c_str());
    PeerProcess peer(L"recorder_peer.exe", "--log " + log + " --timeout 20000");
    ASSERT_TRUE(peer.nextLine(10000).has_value());
    RecorderFixture f;
    const auto start = std::chrono::steady_clock::now();
    f.control.startRecording();
    // Found at once, recorded 200 ms later.
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    EXPECT_EQ(f.StaticTextW.caption(), "Palvomane record");
    f.control.stopRecording();
    EXPECT_EQ(f.StaticTextW.caption(), "Palvomane stop");
    f.loop.pump(1500);
    EXPECT_FALSE(peer.ended());
    const auto events = readLog(log);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_NE(events[1].what.find("Zorvane record"), std::string::npos);
    EXPECT_NE(events[2].what.find("Zorvane stop"), std::string::npos);
}

TEST(Win32RecorderLink, APathTheShellCannotStartIsLookedForThirtyTimesThenNotFound) {
    // A file that exists but that no program opens.
    const std::string path = besideThisExe("recorder_peer.tintal-no-such-kind");
    std::ofstream(path) << "not a program";
    RecorderFixture f;
    f.EditZorvane.setText(path);
    f.StaticTextW.setCaption("avant");
    const auto start = std::chrono::steady_clock::now();
    f.control.startRecording();
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(f.StaticTextW.caption(), "Palvomane pas trouvé !");
    EXPECT_EQ(f.desktop.beeps, 1);
    EXPECT_GE(waited, std::chrono::milliseconds(3000));
    EXPECT_LT(waited, std::chrono::milliseconds(6000));
    EXPECT_EQ(f.control.recorderState, RecorderControl::Idle);
    std::remove(path.c_str());
}

TEST(Win32RecorderLink, ARecorderStartedThroughTheShellIsClosedASecondAfterStop) {
    // Started by the shell, the peer logs into the current folder.
    const std::string log = "recorder_peer.log";
    std::remove(log.c_str());
    RecorderFixture f;
    f.control.startRecording();
    ASSERT_EQ(f.StaticTextW.caption(), "Palvomane record");
    EXPECT_FALSE(f.control.recorderWasRunning);
    f.control.stopRecording();
    EXPECT_EQ(f.StaticTextW.caption(), "Palvomane close");
    ASSERT_TRUE(pumpUntil(
        f.loop, [&] { return !f.link.windowExists(); }, 5000));

    const auto events = readLog(log);
    ASSERT_EQ(events.size(), 4u);
    const auto window = instantOf(events, "window");
    const auto record = instantOf(events, "Zorvane record");
    const auto stop = instantOf(events, "Zorvane stop");
    const auto close = instantOf(events, "Zorvane close");
    // Looked for every 100 ms, then 200 ms before recording; the close a second after the stop.
    EXPECT_GE(record - window, 200u);
    EXPECT_LE(record - window, 450u);
    EXPECT_GE(close - stop, 1000u);
    EXPECT_LE(close - stop, 1300u);
}

// A whole clock on the window thread of this process, its companion link on objects of this test's
// own names, its clips played in 200 ms each.
struct ClockFixture : CompanionClockRig<Win32EventLoop, Win32CompanionChannel> {
    explicit ClockFixture(const std::string& suffix) : CompanionClockRig(CompanionNames::withSuffix(suffix), 200) {}
    bool runUntilEnded(PeerProcess& peer, int limitMs = 25000) {
        return CompanionClockRig::runUntilEnded(peer, limitMs);
    }
};

std::string suffix(const char* test) {
    return std::string("_radio_") + test + "_" + std::to_string(GetCurrentProcessId());
}

bool has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(RadioCompanion, HelloReadyThenPlayAnnouncesAndAnswersDone) {
    const std::string s = suffix("play");
    ClockFixture clock(s);
    ASSERT_TRUE(clock.radio.companion().listening());
    Peer peer("--suffix " + s + " --timeout 20000");
    ASSERT_TRUE(clock.runUntilEnded(peer));
    EXPECT_EQ(peer.exitCode(1000), 0);
    EXPECT_TRUE(has(peer.lines, "< TINTAL_READY"));
    EXPECT_TRUE(has(peer.lines, "> TINTAL_PLAY"));
    EXPECT_EQ(peer.lines.back(), "< TINTAL_DONE");
    EXPECT_FALSE(clock.player.names().empty());
    EXPECT_FALSE(clock.form.announcing);
}

TEST(RadioCompanion, HelloDuringAnAnnouncementIsOccupiedThenDeafUntilTheReconnect) {
    const std::string s = suffix("occupied");
    ClockFixture clock(s);
    clock.player.hangOn = "son_mardi";
    clock.form.Button1.click();
    ASSERT_TRUE(pumpUntil(
        clock.loop, [&] { return clock.player.clipPlaying(); }, 5000));
    {
        Peer peer("--suffix " + s + " --hello-only --timeout 10000");
        ASSERT_TRUE(clock.runUntilEnded(peer));
        EXPECT_EQ(peer.exitCode(1000), 3);  // OCCUPIED
    }
    {
        Peer peer("--suffix " + s + " --hello-only --timeout 2000");
        ASSERT_TRUE(clock.runUntilEnded(peer));
        EXPECT_EQ(peer.exitCode(1000), 2);  // no answer at all
    }
    // The stuck announcement is ended by the safety abort, which renews the link.
    clock.player.markIdle();
    clock.form.TimerSecuriteTimer();
    Peer peer("--suffix " + s + " --hello-only --timeout 10000");
    ASSERT_TRUE(clock.runUntilEnded(peer));
    EXPECT_EQ(peer.exitCode(1000), 0);
}

TEST(RadioCompanion, ASelfStartedAnnouncementEndsWithAReconnect) {
    const std::string s = suffix("self");
    ClockFixture clock(s);
    Peer peer("--suffix " + s + " --listen 2 --timeout 20000");
    clock.loop.pump(1500);  // the peer is waiting by now
    clock.form.Button1.click();
    ASSERT_TRUE(clock.runUntilEnded(peer));
    EXPECT_EQ(peer.exitCode(1000), 0);
    EXPECT_EQ(peer.lines, (std::vector<std::string>{"< TINTAL déconnecté", "< TINTAL connecté"}));
}

// The companion written from the protocol alone, on the objects of one test.
struct ProtocolPeer : PeerProcess {
    ProtocolPeer(const std::string& suffix, const std::string& steps)
        : PeerProcess(L"companion_protocol_peer.exe", "--suffix " + suffix + " " + steps) {}
};

// Pumps the clock until the peer has logged a line ending with `what`, at most limitMs of real time.
bool pumpUntilLogged(ClockFixture& clock, PeerProcess& peer, const std::string& what, int limitMs = 20000) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (std::chrono::steady_clock::now() < limit) {
        while (const auto line = peer.nextLine(0)) {
            if (line->ends_with(what)) return true;
        }
        clock.loop.pump(20);
    }
    return false;
}

TEST(RadioCompanion, APlayRefusedUnderCarrierIsAnsweredAtTheNextAnnouncementsEnd) {
    const std::string s = suffix("carrier");
    ClockFixture clock(s);
    clock.form.MenuCOM.click();
    TFormCOM& com = clock.radio.com();
    com.ListBoxCOM.setItemIndex(com.ListBoxCOM.indexOf("COM1"));
    com.CheckBoxDCD.setChecked(true);
    clock.lines.inputs.dcd = true;
    clock.loop.pump(1500);  // a tick has read the carrier
    ProtocolPeer peer(s,
                      "send:TINTAL_HELLO expect:TINTAL_READY send:TINTAL_PLAY quiet:1500 expect:TINTAL_DONE@20000 "
                      "send:TINTAL_HELLO expect:TINTAL_READY");
    ASSERT_TRUE(pumpUntilLogged(clock, peer, "> TINTAL_PLAY"));
    clock.loop.pump(1000);
    EXPECT_FALSE(clock.form.announcing);
    EXPECT_TRUE(clock.form.sequencer.companionRequested);
    // The carrier drops; the next announcement, pressed by hand, ends with DONE for the companion.
    clock.lines.inputs.dcd = false;
    clock.loop.pump(1500);
    clock.form.Button1.click();
    ASSERT_TRUE(clock.runUntilEnded(peer));
    EXPECT_EQ(peer.exitCode(1000), 0);
    EXPECT_TRUE(clock.radio.companion().listening());
}

}  // namespace
}  // namespace tintal

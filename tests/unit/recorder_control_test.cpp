// Recording announcements with the recorder program: found or launched, commanded, closed.
#include <gtest/gtest.h>

#include "fakes/radio_rig.h"

namespace tintal {
namespace {

using Strings = std::vector<std::string>;

constexpr const char* kRecorderPath = "C:\\Palvomane\\palvomane.exe";

struct RecorderRig : RadioRig {
    RecorderRig() {
        start();
        files.present.insert(kRecorderPath);
        radio.record().EditZorvane.setText(kRecorderPath);
        form.MenuRecord.setChecked(true);
    }
    const std::string& status() const { return form.StaticTextW.caption(); }
};

TEST(RecorderControl, ARunningRecorderRecordsAndStaysOpen) {
    RecorderRig rig;
    rig.recorderLink.running = true;
    const auto start = rig.loop.monotonicMs();
    rig.form.Button1.click();
    EXPECT_EQ(rig.recorderLink.sentAt("Zorvane record") - start, 200);
    EXPECT_EQ(rig.status(), "Palvomane record");
    // The first sound comes after the record command.
    ASSERT_FALSE(rig.player.startedAt.empty());
    EXPECT_GE(rig.player.startedAt.front(), rig.recorderLink.sentAt("Zorvane record"));
    ASSERT_TRUE(rig.finish());
    rig.loop.advance(3000);
    EXPECT_EQ(rig.recorderLink.commands(), (Strings{"Zorvane record", "Zorvane stop"}));
    EXPECT_EQ(rig.status(), "Palvomane stop");
    EXPECT_TRUE(rig.radio.recorder().recorderWasRunning);
}

TEST(RecorderControl, ALaunchedRecorderIsClosedASecondAfterStop) {
    RecorderRig rig;
    rig.recorderLink.looksBeforeAppearing = 3;
    const auto start = rig.loop.monotonicMs();
    rig.form.Button1.click();
    ASSERT_EQ(rig.recorderLink.calls()[1].what, std::string("launch ") + kRecorderPath);
    // Looked for every 100 ms; recorded 200 ms after it was first seen.
    EXPECT_EQ(rig.recorderLink.sentAt("Zorvane record") - start, 3 * 100 + 200);
    ASSERT_TRUE(rig.finish());
    rig.loop.advance(3000);
    EXPECT_EQ(rig.recorderLink.commands(), (Strings{"Zorvane record", "Zorvane stop", "Zorvane close"}));
    EXPECT_EQ(rig.recorderLink.sentAt("Zorvane close") - rig.recorderLink.sentAt("Zorvane stop"), 1000);
    EXPECT_EQ(rig.status(), "Palvomane close");
    EXPECT_EQ(rig.radio.recorder().recorderState, RecorderControl::CloseSent);
}

TEST(RecorderControl, ProblemsAreShownAndTheAnnouncementGoesOn) {
    RecorderRig rig;
    // Thirty looks in vain, then the status and one more beep; the announcement is heard all the same.
    const auto lookInVain = [&rig](int beeps) {
        const auto start = rig.loop.monotonicMs();
        rig.form.Button1.click();
        EXPECT_EQ(rig.status(), "Palvomane pas trouvé !");
        EXPECT_EQ(rig.desktop.beeps, beeps);
        EXPECT_EQ(rig.loop.monotonicMs() - start, 3000);
        ASSERT_TRUE(rig.finish());
    };
    // Never appears.
    rig.recorderLink.launchAppears = false;
    lookInVain(1);
    EXPECT_GE(rig.player.names().size(), 10u);
    EXPECT_TRUE(rig.recorderLink.commands().empty());
    // A program the shell cannot start.
    rig.recorderLink.launchRefused = true;
    lookInVain(2);
    // A system without recorders (Linux): said at once, no looking.
    rig.recorderLink.canLaunchPrograms = false;
    const auto none = rig.loop.monotonicMs();
    rig.form.Button1.click();
    EXPECT_EQ(rig.status(), "Palvomane !");
    EXPECT_EQ(rig.desktop.beeps, 3);
    EXPECT_EQ(rig.player.startedAt.back(), none);
    ASSERT_TRUE(rig.finish());
    // A wrong path: no launch, no wait.
    rig.recorderLink.canLaunchPrograms = true;
    rig.radio.record().EditZorvane.setText("C:\\nulle\\part.exe");
    const auto calls = rig.recorderLink.calls().size();
    const auto clips = rig.player.startedAt.size();
    const auto again = rig.loop.monotonicMs();
    rig.form.Button1.click();
    EXPECT_EQ(rig.status(), "Chemin Palvomane erroné");
    EXPECT_EQ(rig.desktop.beeps, 4);
    EXPECT_EQ(rig.recorderLink.calls().size(), calls);
    EXPECT_EQ(rig.player.startedAt.at(clips), again);
    ASSERT_TRUE(rig.finish());
}

TEST(RecorderControl, AnswersSetTheStatusOnlyWhenKnown) {
    RecorderRig rig;
    rig.recorderLink.running = true;
    rig.form.StaticTextW.setCaption("avant");
    rig.recorderLink.answer = 7;
    ASSERT_TRUE(rig.announceNow());
    EXPECT_EQ(rig.status(), "avant");
    rig.recorderLink.answer = 0;
    ASSERT_TRUE(rig.announceNow());
    EXPECT_EQ(rig.status(), "Palvomane ne répond pas");
    // The window gone by the time the stop is due.
    rig.recorderLink.answer = -1;
    rig.form.Button1.click();
    rig.recorderLink.running = false;
    ASSERT_TRUE(rig.finish());
    EXPECT_EQ(rig.status(), "Palvomane !");
}

TEST(RecorderControl, UntickingDuringAnAnnouncementSuppressesStopAndClose) {
    RecorderRig rig;
    rig.form.Button1.click();
    rig.form.MenuRecord.click();  // unticks
    EXPECT_FALSE(rig.form.MenuRecord.checked());
    ASSERT_TRUE(rig.finish());
    rig.loop.advance(3000);
    EXPECT_EQ(rig.recorderLink.commands(), Strings{"Zorvane record"});
    // The next announcement, unticked, starts from a clean state: ticking it during that one sends no stop.
    rig.form.Button1.click();
    rig.form.MenuRecord.setChecked(true);
    ASSERT_TRUE(rig.finish());
    EXPECT_EQ(rig.recorderLink.commands(), Strings{"Zorvane record"});
}

TEST(TFormRecord, MenuAndPathChoice) {
    RadioRig rig;
    TFormRecord& record = rig.radio.record();
    rig.form.MenuRecord.click();
    EXPECT_TRUE(rig.form.MenuRecord.checked());
    EXPECT_TRUE(record.form.visible());
    record.form.hide();
    rig.form.MenuRecord.click();
    EXPECT_FALSE(rig.form.MenuRecord.checked());
    EXPECT_FALSE(record.form.visible());

    rig.files.present.insert("D:\\rec.exe");
    rig.desktop.nextChosenFile = "D:\\rec.exe";
    record.ButtonParcourir.click();
    EXPECT_EQ(record.EditZorvane.text(), "D:\\rec.exe");
    // Cancelled: the path stays.
    record.ButtonParcourir.click();
    EXPECT_EQ(record.EditZorvane.text(), "D:\\rec.exe");
    EXPECT_EQ(rig.desktop.beeps, 0);
    rig.desktop.nextChosenFile = "D:\\absent.exe";
    record.ButtonParcourir.click();
    EXPECT_EQ(record.EditZorvane.text(), "");
    EXPECT_EQ(rig.desktop.beeps, 1);
}

}  // namespace
}  // namespace tintal

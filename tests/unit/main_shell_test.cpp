// The shell of the main window: minimising to the notification area, the icon's messages, start with
// the session, the sound-file choosers, the volume mark and the weather button.
#include "shell/main_shell.h"

#include <gtest/gtest.h>

#include <fstream>

#include "fakes/fake_autostart.h"
#include "fakes/main_window_rig.h"
#include "fakes/temp_folder.h"

namespace tintal {
namespace {

struct Shell : ::testing::Test {
    MainWindowRig rig{encodeDateTime(2026, 12, 1, 21, 1, 0)};
    FakeAutostart autostart;
    StdFiles files;
    std::vector<std::string> calls;
    bool sourceChosen = true;
    MainShell shell{rig.form, rig.desktop, autostart, files, actions()};

    ShellActions actions() {
        auto note = [this](std::string what) { return [this, what] { calls.push_back(what); }; };
        return {
            note("save"),    note("close"), note("show weather"), note("hide weather"), [this] { return sourceChosen; },
            note("chooser"), note("info")};
    }
};

TEST_F(Shell, TheMinusButtonSavesUnlessTheMinimiseCameFromLoading) {
    shell.Button2.click();
    EXPECT_TRUE(shell.application.minimised);
    EXPECT_TRUE(shell.application.taskbarButton);
    EXPECT_EQ(calls, std::vector<std::string>{"save"});

    calls.clear();
    shell.ReducePending = true;
    shell.CheckBoxReduire.setChecked(true);  // as the loader does for REDUCE=Y
    EXPECT_TRUE(shell.application.minimised);
    EXPECT_FALSE(shell.application.taskbarButton);
    EXPECT_FALSE(shell.ReducePending);
    EXPECT_TRUE(calls.empty());
    shell.Button2.click();
    EXPECT_EQ(calls, std::vector<std::string>{"save"});
}

TEST_F(Shell, TickingMinimiseAtStartByHandDoesNothingAtOnce) {
    shell.CheckBoxReduire.setChecked(true);
    EXPECT_FALSE(shell.application.minimised);
    shell.Button2.click();
    EXPECT_FALSE(shell.application.taskbarButton);
}

TEST_F(Shell, TheIconsDoubleClickRestoresWithoutShowingANeverShownMainWindow) {
    shell.ReducePending = true;
    shell.CheckBoxReduire.setChecked(true);
    int fronts = 0, menus = 0;
    shell.onBringToFront = [&] { ++fronts; };
    shell.onShowTrayMenu = [&] { ++menus; };
    shell.TrayMessage(MainShell::kLeftButtonDoubleClick);
    EXPECT_FALSE(shell.application.minimised);
    EXPECT_FALSE(rig.form.Form1.visible());
    EXPECT_EQ(fronts, 1);
    EXPECT_EQ(calls, std::vector<std::string>{"show weather"});
    shell.TrayMessage(0x0201);  // a single left click
    shell.TrayMessage(MainShell::kRightButtonUp);
    EXPECT_EQ(menus, 1);
    shell.RestaurerItem.click();
    EXPECT_TRUE(rig.form.Form1.visible());
}

TEST_F(Shell, QuittingFromTheMenuRemovesTheIconFirst) {
    shell.MenuQuitter.click();
    EXPECT_FALSE(shell.application.trayIcon);
    EXPECT_EQ(calls, std::vector<std::string>{"close"});
    shell.QuitterItem.click();
    EXPECT_EQ(calls.size(), 2u);
}

TEST_F(Shell, StartWithTheSessionFollowsTheBoxAndAFailureIsShown) {
    shell.CheckBoxDemarrage.setChecked(true);
    EXPECT_EQ(autostart.entry(), "c:\\tintal\\tintal.exe");
    shell.CheckBoxDemarrage.setChecked(false);
    EXPECT_EQ(autostart.entry(), "");
    autostart.error = "Accès refusé.";
    shell.CheckBoxDemarrage.setChecked(true);
    EXPECT_EQ(rig.form.EditData.text(), "Err: Accès refusé.");
}

TEST_F(Shell, AChosenSoundFileThatCannotBeOpenedIsRefusedAndForgotten) {
    TempFolder folder;
    const std::string good = folder.file("entete.wav");
    std::ofstream(good) << "RIFF";
    rig.desktop.nextChosenFile = good;
    shell.ButtonParcourirEnTete.click();
    EXPECT_EQ(rig.form.headerFilePath, good);
    EXPECT_EQ(shell.ButtonParcourirEnTete.hint(), good);
    EXPECT_EQ(rig.desktop.lastFilter, "Fichiers son *.wav|*.wav");

    rig.desktop.nextChosenFile = folder.file("absent.wav");
    shell.ButtonParcourirFin.click();
    EXPECT_EQ(rig.form.closingFilePath, "");
    rig.desktop.nextChosenFile = folder.file("absent.wav");
    shell.ButtonParcourirTintal.click();
    EXPECT_EQ(rig.form.cuckooFilePath, "");
    EXPECT_EQ(rig.desktop.errorBoxes, (std::vector<std::string>{"Err: Nom fichier Wave", "Err: Nom Fichier"}));
    EXPECT_EQ(rig.desktop.messages.size(), 2u);
    shell.ButtonParcourirEnTete.click();  // cancelled: nothing changes
    EXPECT_EQ(rig.form.headerFilePath, good);
}

TEST_F(Shell, TheVolumeMarkMovesByTenWithinItsRangeOnlyRightOfAndBelowTheGaugesEdge) {
    const Rect g = shell.gaugeBounds;
    shell.Panel1MouseDown(MouseButton::Left, g.left + g.width + 1, g.top + 1);
    EXPECT_EQ(shell.Gauge1.value(), 80);
    shell.Panel1MouseDown(MouseButton::Left, g.left + g.width, g.top + 1);
    shell.Panel1MouseDown(MouseButton::Left, g.left + g.width + 1, g.top);
    EXPECT_EQ(shell.Gauge1.value(), 80);
    for (int i = 0; i < 5; ++i) shell.Panel1MouseDown(MouseButton::Left, g.left + g.width + 5, g.top + 5);
    EXPECT_EQ(shell.Gauge1.value(), 100);
    for (int i = 0; i < 12; ++i) shell.Panel1MouseDown(MouseButton::Right, g.left + g.width + 5, g.top + 5);
    EXPECT_EQ(shell.Gauge1.value(), 0);
}

TEST_F(Shell, TheWeatherButtonShowsTheSourceOrTheChooserAndItsReleaseHidesThemAll) {
    shell.ButtonInitMeteoMouseUp(MouseButton::Left);
    shell.ButtonInitMeteo.click();
    EXPECT_EQ(calls, (std::vector<std::string>{"hide weather", "show weather"}));
    calls.clear();
    shell.MenuChoix.click();
    EXPECT_EQ(calls, (std::vector<std::string>{"hide weather", "chooser"}));
    calls.clear();
    sourceChosen = false;
    shell.menurVoirMeteo.click();
    EXPECT_EQ(calls, std::vector<std::string>{"chooser"});
}

TEST_F(Shell, HelpOpensTheCompiledFileWhenThereElseTheHtmlOne) {
    shell.MenuAide.click();
    EXPECT_EQ(rig.desktop.opened, std::vector<std::string>{"tintal_help.html"});
}

TEST_F(Shell, TheMenuBarIsInDisplayOrder) {
    std::vector<std::string> names;
    for (MenuItem* item : shell.mainMenu) names.push_back(item->name());
    EXPECT_EQ(names, (std::vector<std::string>{"menuFichier", "MenuChoix", "menurVoirMeteo", "MenuCarteSon", "MenuCOM",
                                               "MenuAideInfo", "MenuSimuErreur"}));
    // The error simulation is reached by its shortcut only, and no other item has one.
    EXPECT_FALSE(rig.form.MenuSimuErreur.visible());
    EXPECT_EQ(rig.form.MenuSimuErreur.shortcut(), (Shortcut{.ctrl = true, .alt = true, .key = 'E'}));
    for (MenuItem* item : shell.mainMenu) {
        if (item != &rig.form.MenuSimuErreur) {
            EXPECT_EQ(item->shortcut().key, 0) << item->name();
        }
    }
}

}  // namespace
}  // namespace tintal

namespace tintal {
namespace {

TEST_F(Shell, TheClockPictureOpensTheInfoWindowExceptWhileTheCarrierPictureStands) {
    EXPECT_EQ(rig.form.ImageTintal.hint(), "Cliquer pour info");
    shell.ImageTintal.click();
    EXPECT_EQ(calls, std::vector<std::string>{"info"});

    calls.clear();
    rig.form.ImageTintal.setVisible(false);  // as the carrier detection swaps the pictures
    rig.form.ImageTintalOff.setVisible(true);
    shell.ImageTintal.click();
    EXPECT_TRUE(calls.empty());
    shell.MenuInfo.click();
    EXPECT_EQ(calls, std::vector<std::string>{"info"});
}

}  // namespace
}  // namespace tintal

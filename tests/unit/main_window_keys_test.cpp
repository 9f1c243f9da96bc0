// The main window's settings: what a file line does to the clock and what a save writes back.
#include "config/main_window_keys.h"

#include <gtest/gtest.h>

#include "config/key_table.h"
#include "fakes/main_window_rig.h"

namespace tintal {
namespace {

struct MainKeys : ::testing::Test {
    MainWindowRig rig{encodeDateTime(2026, 12, 1, 21, 1, 0)};
    TForm1& form = rig.form;
    KeyTable table;
    void SetUp() override {
        rig.form.FormCreate();
        table.add(recordKey(form));
        for (auto keys :
             {menuChoiceKeys(form), soundFileKeys(form), contentKeys(form), volumeKeys(form), mainGeometryKeys(form)})
            table.add(std::move(keys));
        table.add(outputDeviceKey(form));
    }
    void load(const std::vector<std::string>& lines) {
        for (const std::string& line : lines) table.apply(line);
    }
};

TEST_F(MainKeys, ADefaultWindowWritesOnlyWhatIsAlwaysWritten) {
    EXPECT_EQ(table.write(), (std::vector<std::string>{"FICHIER_TINTAL=tintal.wav", "BALANCE=0", "VOLUME=5", "TOP=120",
                                                       "LEFT=200", "WIDTH=570", "HEIGHT=480", "OSOUND=-1"}));
}

TEST_F(MainKeys, PeriodAndHoursActThroughTheirControlsAndOutOfRangeValuesAreIgnored) {
    load({"PERIOD=3", "PLAGE_DEBUT=7", "PLAGE_FIN=22"});
    EXPECT_EQ(form.UpDownPeriode.value(), 3);
    EXPECT_EQ(form.clock.windowStartHour, 7);
    EXPECT_EQ(form.clock.windowEndHour, 22);
    EXPECT_TRUE(form.D[7]->checked());
    EXPECT_TRUE(form.F[22]->checked());

    load({"PERIOD=7", "PERIOD=-1", "PLAGE_DEBUT=25", "PLAGE_FIN=-1", "PLAGE_DEBUT=x"});
    EXPECT_EQ(form.UpDownPeriode.value(), 3);
    EXPECT_EQ(form.clock.windowStartHour, 7);
    EXPECT_EQ(form.clock.windowEndHour, 22);
    const std::vector<std::string> lines = table.write();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "PERIOD=3"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "PLAGE_DEBUT=7"), lines.end());
}

TEST_F(MainKeys, MinuteTicksItsBoxWhichUnticksTheHourBox) {
    load({"MINUTE=Y"});
    EXPECT_TRUE(form.CheckBoxNoMinutes.checked());
    EXPECT_FALSE(form.CheckBoxheure.checked());
    const std::vector<std::string> lines = table.write();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "HEURE=N"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "MINUTE=Y"), lines.end());
}

TEST_F(MainKeys, MenuChoicesComeBackMarked) {
    load({"OLD=2", "ROSE=16", "RECORD=Y"});
    EXPECT_TRUE(form.MenuAnnonce2h.checked());
    EXPECT_FALSE(form.MenuAnnonceToujours.checked());
    EXPECT_TRUE(form.Menu16secteurs.checked());
    const std::vector<std::string> lines = table.write();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "OLD=2"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "ROSE=16"), 1);
}

TEST_F(MainKeys, AChosenSoundCardIsWrittenBackEvenIfItsPanelWasNeverOpened) {
    load({"OSOUND=2"});
    EXPECT_TRUE(form.sound.RadioButtonCarteMoi.checked());
    EXPECT_EQ(form.sound.outputDevice(), 2);
    EXPECT_EQ(table.write().back(), "OSOUND=2");
    load({"OSOUND=-1"});
    EXPECT_EQ(form.sound.outputDevice(), 2);
}

TEST_F(MainKeys, AnEmptiedCuckooPathIsLeftOutAndComesBackAsTheDefault) {
    form.cuckooFilePath.clear();
    const std::vector<std::string> lines = table.write();
    EXPECT_EQ(
        std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("FICHIER_", 0) == 0; }), 0);
    load({"FICHIER_ENTETE=c:\\sons\\entête.wav"});
    EXPECT_EQ(form.headerFilePath, "c:\\sons\\entête.wav");
}

}  // namespace
}  // namespace tintal

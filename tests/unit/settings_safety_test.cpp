// The station's settings are never lost: no save before the load, none over a file that could not be
// read, and a check that names every line the load could not take.
#include <gtest/gtest.h>

#include <sstream>

#include "fakes/program_rig.h"
#include "shell/settings_check.h"

namespace tintal {
namespace {

const std::string kUserFile =
    "[TINTAL V2.4.0]\r\nPERIOD=3\r\nPLAGE_DEBUT=7\r\nMETAR_DAT=https://metar.example/LFPG\r\n";

TEST(SettingsSafety, AStopBeforeTheLoadLeavesTheFileByteForByte) {
    ProgramRig rig;
    rig.files.put("tintal.ini", kUserFile);
    rig.program = std::make_unique<TintalProgram>(ProgramPorts{rig.loop, rig.desktop, rig.player, rig.audio,
                                                               rig.station, rig.lines, rig.channel, rig.recorder,
                                                               rig.downloader, rig.files, rig.autostart, "", ""});
    TintalProgram& program = *rig.program;
    program.start();
    rig.loop.advance(200);  // the first tick, which loads, is 500 ms after the start
    ASSERT_TRUE(program.form.ConfigPending);
    program.shell.menuSaveConfig.click();
    program.shell.Button2.click();
    program.close();
    EXPECT_EQ(rig.files.replaces, 0);
    EXPECT_EQ(rig.ini(), kUserFile);
}

TEST(SettingsSafety, AFileThatCannotBeReadIsNeverReplacedAndTheSkipIsSaidOnce) {
    ProgramRig rig;
    rig.files.put("tintal.ini", kUserFile);
    rig.files.unreadable.insert("tintal.ini");
    TintalProgram& program = rig.start();
    EXPECT_FALSE(program.form.ConfigPending);
    EXPECT_EQ(program.form.EditData.text(), "Err: tintal.ini");
    EXPECT_EQ(rig.desktop.beeps, 1);
    EXPECT_EQ(program.form.UpDownPeriode.value(), 0);  // the defaults run

    program.shell.menuSaveConfig.click();
    EXPECT_EQ(program.form.EditData.text(), "tintal.ini illisible : configuration non sauvée");
    program.form.EditData.setText("TINTAL_DONE");
    program.shell.menuSaveConfig.click();
    program.close();
    EXPECT_EQ(program.form.EditData.text(), "TINTAL_DONE");
    EXPECT_EQ(rig.files.replaces, 0);
    EXPECT_EQ(rig.ini(), kUserFile);
}

TEST(SettingsSafety, AFileReadKeepsBeingSavedAsBefore) {
    ProgramRig rig;
    rig.files.put("tintal.ini", kUserFile);
    TintalProgram& program = rig.start();
    program.close();
    EXPECT_EQ(rig.files.replaces, 1);
    EXPECT_NE(rig.ini().find("\r\nPERIOD=3\r\nPLAGE_DEBUT=7\r\n"), std::string::npos) << rig.ini();
}

struct Check {
    int status;
    std::string out, err;
};

Check check(ProgramRig& rig) {
    std::ostringstream out, err;
    const int status = checkAndSaveSettings(*rig.program, "tintal.ini", out, err);
    return {status, out.str(), err.str()};
}

TEST(SettingsCheck, EveryLineNotTakenIsNamedWithItsNumberAndWhy) {
    ProgramRig rig;
    rig.files.put("tintal.ini",
                  "[TINTAL V2.4.0]\r\nPERIOD=3\r\nFOO=1\r\nPERIOD=9\r\nPLAGE_FIN=abc\r\nno equals here\r\nOLD=2\r\n"
                  "ENTETE=N\r\nROSE=8\r\nMETAR_DAT=ftp://x\r\n\r\nW23_METPERI=0\r\nAPRS_FAV11=x\r\nMETEO=XYZ\r\n");
    rig.start();
    const Check c = check(rig);
    EXPECT_EQ(c.status, 1);
    EXPECT_EQ(c.err,
              "tintal.ini:3: unknown key: FOO=1\n"
              "tintal.ini:4: value not valid for that key: PERIOD=9\n"
              "tintal.ini:5: value not valid for that key: PLAGE_FIN=abc\n"
              "tintal.ini:6: no \"=\": no equals here\n"
              "tintal.ini:9: value not valid for that key: ROSE=8\n"
              "tintal.ini:10: value not valid for that key: METAR_DAT=ftp://x\n"
              "tintal.ini:12: value not valid for that key: W23_METPERI=0\n"
              "tintal.ini:13: unknown key: APRS_FAV11=x\n"
              "tintal.ini:14: value not valid for that key: METEO=XYZ\n");
    EXPECT_EQ(c.out, "tintal.ini saved without 9 line(s) it could not take\n");
    // What was taken is saved back.
    EXPECT_NE(rig.ini().find("\r\nOLD=2\r\n"), std::string::npos);
    EXPECT_NE(rig.ini().find("\r\nPERIOD=3\r\n"), std::string::npos);
}

TEST(SettingsCheck, GarbageAndAFileWithoutLineEndsAreRefused) {
    const std::string garbage(
        "\x7f"
        "ELF\x02\x01\x01\0\0\0=\xff\xfe\r\x13\x37\n",
        17);
    for (const std::string& content : {garbage, std::string("PERIOD=3PLAGE_DEBUT=7ENTETE=Y")}) {
        ProgramRig rig;
        rig.files.put("tintal.ini", content);
        rig.start();
        const Check c = check(rig);
        EXPECT_EQ(c.status, 1) << c.err;
        EXPECT_FALSE(c.err.empty());
    }
}

TEST(SettingsCheck, AGoodFileOrNoFilePassesAnUnreadableOneIsLeftAlone) {
    {
        ProgramRig rig;
        rig.files.put("tintal.ini", kUserFile);
        rig.start();
        const Check c = check(rig);
        EXPECT_EQ(c.status, 0) << c.err;
        EXPECT_EQ(c.err, "");
        EXPECT_EQ(c.out, "tintal.ini saved\n");
    }
    {
        ProgramRig rig;
        rig.start();
        EXPECT_EQ(check(rig).status, 0);
        EXPECT_EQ(rig.files.replaces, 1);
    }
    {
        ProgramRig rig;
        rig.files.put("tintal.ini", kUserFile);
        rig.files.unreadable.insert("tintal.ini");
        rig.start();
        const Check c = check(rig);
        EXPECT_EQ(c.status, 1);
        EXPECT_EQ(c.err, "tintal.ini: cannot be read; left as it is\n");
        EXPECT_EQ(rig.files.replaces, 0);
    }
}

}  // namespace
}  // namespace tintal

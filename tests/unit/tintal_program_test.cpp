// The whole program's settings: every key through its window and back, the start-up load with its
// deferred steps, and the saves.
#include <gtest/gtest.h>

#include <fstream>

#include "fakes/program_rig.h"
#include "fakes/temp_folder.h"

namespace tintal {
namespace {

std::string crlf(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

std::vector<std::string> flags(const std::string& prefix, std::initializer_list<const char*> suffixes) {
    std::vector<std::string> lines;
    for (const char* suffix : suffixes) lines.push_back(prefix + suffix + "=Y");
    return lines;
}

std::vector<std::string> geometry(const std::string& prefix, int base) {
    return {prefix + "TOP=" + std::to_string(base), prefix + "LEFT=" + std::to_string(base + 1),
            prefix + "HEIGHT=" + std::to_string(base + 2), prefix + "WIDTH=" + std::to_string(base + 3)};
}

void append(std::vector<std::string>& to, const std::vector<std::string>& lines) {
    to.insert(to.end(), lines.begin(), lines.end());
}

// A settings file with every key away from its default, in the order a save writes them. Each address
// stands in its history, as it does once used: a changed time base refreshes, which files the address.
std::vector<std::string> everyKey(const TempFolder& folder) {
    std::vector<std::string> l{"[TINTAL V2.4.0]",
                               "RECORD=Y",
                               "RECORDER=c:\\Palvomane\\palvomane.exe",
                               "ROSE=16",
                               "OLD=2",
                               "FICHIER_ENTETE=entête.wav",
                               "FICHIER_TINTAL=coucou.wav",
                               "FICHIER_FIN=fin.wav",
                               "PERIOD=3",
                               "PLAGE_DEBUT=7",
                               "PLAGE_FIN=22",
                               "ENTETE=Y",
                               "PAUSE=5",
                               "FINAL=Y",
                               "TINTAL=N",
                               "DATE=N",
                               "ILEST=N",
                               "HEURE=N",
                               "MINUTE=Y",
                               "START=Y",
                               "REDUCE=Y",
                               "BALANCE=20",
                               "VOLUME=3",
                               "MAXVOLUME=40",
                               "METEO=W23"};
    const auto all = {"TEMPINT", "TEMPEXT", "PRESATM", "PRETEND", "VITVENT",
                      "VITRAFA", "DIRVENT", "TRES",    "PLUIE",   "HUMIDI"};
    const auto outdoor = {"TEMPEXT", "PRESATM", "VITVENT", "VITRAFA", "DIRVENT", "TRES", "PLUIE", "HUMIDI"};
    append(l, flags("", {"TEMPINT", "TEMPEXT", "PRESATM", "PRETEND", "VITVENT", "VITRAFA", "DIRVENT", "LOG"}));
    append(l, geometry("MON_", 10));
    append(l, {"METPERI=5", "METCOMM=2"});
    append(l, flags("W23_", all));
    append(l, geometry("W23_", 20));
    append(l, {"W23_METPERI=10", "W23_DAT=" + folder.file("history.dat"), "W23_POFFSET=-3", "W23_SEUILTEN=6"});
    append(l, flags("W28_", all));
    append(l, geometry("W28_", 30));
    append(l, {"W28_METPERI=15", "W28_DAT=" + folder.file("history28.dat"), "W28_PABS=N", "W28_POFFSET=2"});
    append(l, flags("APRS_", outdoor));
    append(l, {"APRS_KM=Y", "APRS_DGF=N", "APRS_INC=N"});
    append(l, geometry("APRS_", 40));
    append(l, {"APRS_METPERI=20", "APRS_DAT=https://aprs.example/?call=F4ABC-13&lang=fr", "APRS_LIST=F4ABC-13",
               "APRS_LIST=https://aprs.example/?call=F4ABC-13&lang=fr", "APRS_LIST=F4ABC-13", "APRS_FAV1=F1XYZ",
               "APRS_FAV10=F5ZZZ-1", "APRS_POFFSET=1", "APRS_TU=0", "APRS_ID=F4ABC", "APRS_PW=s3cret=x"});
    append(l, flags("METAR_", outdoor));
    append(l, geometry("METAR_", 50));
    append(l, {"METAR_METPERI=30", "METAR_DAT=https://metar.example/data?ids=LFPG",
               "METAR_LIST=https://metar.example/data?ids=LFPG", "METAR_FAV3=LFRS", "METAR_POFFSET=-1", "METAR_TU=1"});
    append(l, flags("PIOUPIOU_", {"PRESATM", "VITVENT", "VITRAFA", "DIRVENT"}));
    append(l, geometry("PIU_", 60));
    append(l,
           {"PIOUPIOU_METPERI=2", "PIOUPIOU_DAT=http://pioupiou.example/110",
            "PIOUPIOU_LIST=http://pioupiou.example/110", "PIOUPIOU_FAV2=1333", "PIOUPIOU_POFFSET=4", "PIOUPIOU_TU=1"});
    append(l, flags("PRO2_", all));
    append(l, geometry("PRO2_", 70));
    append(l, {"PRO2_METPERI=60", "PRO2_DAT=" + folder.file("2026-12.wlk"),
               "PRO2_POFFSET=5",  "PRO2_SEUILTEN=6",
               "PRO2_NEW=N",      "TOP=80",
               "LEFT=81",         "WIDTH=600",
               "HEIGHT=500",      "METEO_TOP=0",
               "METEO_LEFT=0",    "METEO_WIDTH=0",
               "METEO_HEIGHT=0",  "FORMMETEO=N",
               "OSOUND=2",        "VERSTART=1",
               "COM=3",           "DTR=0",
               "RTS=0",           "DSR=0",
               "CTS=0",           "DCD=0"});
    return l;
}

TEST(TintalProgram, AFileWithEveryKeyComesBackLineForLine) {
    TempFolder folder;
    for (const char* name : {"history.dat", "history28.dat", "2026-12.wlk"}) std::ofstream(folder.file(name)) << "x";
    ProgramRig rig;
    const std::vector<std::string> lines = everyKey(folder);
    rig.files.put("tintal.ini", crlf(lines));
    TintalProgram& program = rig.start();
    ASSERT_FALSE(program.form.ConfigPending);
    program.shell.menuSaveConfig.click();
    const std::string saved = rig.ini();
    std::size_t from = 0;
    for (const std::string& line : lines) {
        const std::size_t at = saved.find(line + "\r\n", from);
        ASSERT_EQ(at, from) << "expected " << line << " in:\n" << saved;
        from = at + line.size() + 2;
    }
    EXPECT_EQ(from, saved.size());
}

TEST(TintalProgram, NoFileOrATitleOnlyFileGivesTheDefaultsAndTwoSavesBothWrite) {
    for (const char* content : {"", "[TINTAL V1.0.0]\r\n"}) {
        ProgramRig rig;
        if (*content) rig.files.put("tintal.ini", content);
        TintalProgram& program = rig.start();
        EXPECT_TRUE(program.form.Form1.visible());
        program.form.CheckBoxEntete.setChecked(true);
        program.shell.menuSaveConfig.click();
        EXPECT_NE(rig.ini().find("\r\nENTETE=Y\r\n"), std::string::npos);
        program.form.CheckBoxEntete.setChecked(false);
        program.shell.menuSaveConfig.click();
        EXPECT_EQ(rig.ini().find("ENTETE"), std::string::npos);
        EXPECT_EQ(rig.ini().rfind("[TINTAL V2.4.0]\r\nRECORDER=\r\nFICHIER_TINTAL=tintal.wav\r\n", 0), 0u) << rig.ini();
        EXPECT_NE(rig.ini().find("\r\nFORMMETEO=N\r\nOSOUND=-1\r\nVERSTART=0\r\n"), std::string::npos);
    }
}

TEST(TintalProgram, AStartMinimisedShowsNoWindowAndSavesOnlyWhenTheUserMinimises) {
    ProgramRig rig;
    rig.files.put("tintal.ini", "REDUCE=Y\r\n");
    TintalProgram& program = rig.start();
    EXPECT_FALSE(program.form.Form1.visible());
    EXPECT_TRUE(program.shell.application.minimised);
    EXPECT_FALSE(program.shell.application.taskbarButton);
    EXPECT_EQ(rig.files.replaces, 0);
    program.shell.Button2.click();
    EXPECT_EQ(rig.files.replaces, 1);
    EXPECT_NE(rig.ini().find("REDUCE=Y"), std::string::npos);
}

TEST(TintalProgram, TheMonitorIsChosenAtOnceOtherSourcesAfterTheWholeFile) {
    ProgramRig rig;
    // MON applied while reading: the later W23 line then finds it chosen; APRS is chosen after the scan.
    rig.files.put("tintal.ini", "METEO=MON\r\nMETEO=APRS\r\n");
    TintalProgram& program = rig.start();
    EXPECT_EQ(program.chooser.checkedKind(), WeatherSourceKind::APRS);
    EXPECT_TRUE(program.web.aprs.form.visible());
}

TEST(TintalProgram, HiddenWeatherWindowsStayHiddenAndTheLastVisibleOnesPlaceIsSavedAtClose) {
    ProgramRig rig;
    rig.files.put("tintal.ini", "METEO=METAR\r\nFORMMETEO=N\r\n");
    TintalProgram& program = rig.start();
    for (Window* window : program.settings.weatherWindows()) EXPECT_FALSE(window->visible()) << window->name();
    program.web.metar.form.setBounds({300, 200, 317, 391});
    program.web.metar.form.show();
    program.shell.menuSaveConfig.click();
    EXPECT_NE(rig.ini().find("METEO_TOP=0\r\nMETEO_LEFT=0\r\n"), std::string::npos);
    EXPECT_EQ(rig.ini().find("FORMMETEO"), std::string::npos);
    program.close();
    EXPECT_NE(rig.ini().find("METEO_TOP=200\r\nMETEO_LEFT=300\r\nMETEO_WIDTH=317\r\nMETEO_HEIGHT=391\r\n"),
              std::string::npos)
        << rig.ini();
}

TEST(TintalProgram, ASaveThatFailsBeepsSaysSoAndKeepsThePreviousFile) {
    ProgramRig rig;
    rig.files.put("tintal.ini", "ENTETE=Y\r\n");
    TintalProgram& program = rig.start();
    rig.files.failAt = DurableFiles::Step::Replacing;
    program.shell.menuSaveConfig.click();
    EXPECT_EQ(program.form.EditData.text(), "Err: tintal.ini");
    EXPECT_EQ(rig.desktop.beeps, 1);
    EXPECT_EQ(rig.ini(), "ENTETE=Y\r\n");
}

TEST(TintalProgram, ThePortComesBackByNumberAndNoPortByZero) {
    ProgramRig rig;
    rig.files.put("tintal.ini", "COM=3\r\n");
    TintalProgram& program = rig.start();
    EXPECT_EQ(program.form.LabelCOM.caption(), "COM3");
    program.shell.menuSaveConfig.click();
    EXPECT_NE(rig.ini().find("\r\nCOM=3\r\n"), std::string::npos);

    ProgramRig none;
    none.files.put("tintal.ini", "COM=0\r\n");
    TintalProgram& second = none.start();
    EXPECT_EQ(second.form.LabelCOM.caption(), "COM");
}

TEST(TintalProgram, StartWithTheSessionIsWrittenAgainAtEachStart) {
    ProgramRig rig;
    rig.files.put("tintal.ini", "START=Y\r\nVERSTART=1\r\n");
    rig.start();
    EXPECT_EQ(rig.autostart.writes, 1);
    EXPECT_EQ(rig.autostart.entry(), "c:\\tintal\\tintal.exe");
    EXPECT_EQ(rig.downloader.downloads.size(), 1u);  // the version check at start, silent when it fails
    EXPECT_TRUE(rig.desktop.messages.empty());
}

TEST(TintalProgram, TheStationsHourlyRecordGoesToTheLogOnTheHour) {
    ProgramRig rig(encodeDateTime(2026, 12, 8, 9, 59, 50));
    rig.files.put("tintal.ini", "METEO=MON\r\nLOG=Y\r\nMETCOMM=1\r\n");
    TintalProgram& program = rig.start();
    ASSERT_TRUE(program.mon.reading().linkOk) << program.mon.StaticTextStatus.caption();
    EXPECT_FALSE(rig.files.exists("tintal.log"));
    rig.loop.advance(20000);
    const std::string log = rig.files.text("tintal.log");
    EXPECT_EQ(log.rfind("Log TINTAL\r\n\r\n08/12/2026 10:00:", 0), 0u) << log;
    EXPECT_NE(log.find(" M\xE9t\xE9o MonII Tint="), std::string::npos) << log;
    rig.loop.advance(120000);
    EXPECT_EQ(rig.files.text("tintal.log"), log);  // once an hour
}

}  // namespace
}  // namespace tintal

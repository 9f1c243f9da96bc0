// The settings file's format and matching rule, over controls as the windows hold them.
#include "config/settings_file.h"

#include <gtest/gtest.h>

#include "config/settings_text.h"
#include "fakes/fake_durable_files.h"
#include "fakes/settings_controls.h"

namespace tintal {
namespace {

std::vector<std::uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

TEST(SettingsText, LinesEndWithCrLfLfOrCrAndTheLastNeedsNoEnd) {
    EXPECT_EQ(splitSettingsLines(bytesOf("[TINTAL V2.4.0]\r\nA=1\nB=2\rC=3")),
              (std::vector<std::string>{"[TINTAL V2.4.0]", "A=1", "B=2", "C=3"}));
    EXPECT_EQ(splitSettingsLines(bytesOf("A=1\r\n\r\n")), (std::vector<std::string>{"A=1", ""}));
    EXPECT_TRUE(splitSettingsLines({}).empty());
}

TEST(SettingsText, FilesAreWindows1252WithCrLfAfterEveryLine) {
    const std::vector<std::uint8_t> bytes = joinSettingsLines({"[TINTAL V2.4.0]", "RECORDER=c:\\enregistré.exe"});
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "[TINTAL V2.4.0]\r\nRECORDER=c:\\enregistr\xE9.exe\r\n");
    EXPECT_EQ(splitSettingsLines(bytes)[1], "RECORDER=c:\\enregistré.exe");
}

TEST(SettingsText, AnEntryIsSplitAtItsFirstEqualsAndKeepsItsValueUntrimmed) {
    const auto entry = splitSettingsEntry("METAR_DAT=http://x/?a=b&c= ");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->keyWithEquals, "METAR_DAT=");
    EXPECT_EQ(entry->value, "http://x/?a=b&c= ");
    EXPECT_FALSE(splitSettingsEntry("=Y"));
    EXPECT_FALSE(splitSettingsEntry("[TINTAL V2.4.0]"));
    EXPECT_EQ(splitSettingsEntry("KEY=")->value, "");
}

using Controls = SettingsControls;

TEST(KeyTable, OnOffKeysActOnlyOnTheValueThatChangesTheDefault) {
    Controls c;
    c.load({"ENTETE=N", "TINTAL=Y", "ENTETE=y", "TINTAL=n"});
    EXPECT_FALSE(c.entete.checked());
    EXPECT_TRUE(c.tintal.checked());
    c.load({"ENTETE=Y", "TINTAL=N"});
    EXPECT_TRUE(c.entete.checked());
    EXPECT_FALSE(c.tintal.checked());
}

TEST(KeyTable, KeysMatchExactlyAndTheLaterDuplicateWins) {
    Controls c;
    c.load({"pause=3", "PAUSE =4", " PAUSE=5", "PAUSE=abc", "PAUSE= 6"});
    EXPECT_EQ(c.pause.value(), 0);
    c.load({"PAUSE=3", "PAUSE=7"});
    EXPECT_EQ(c.pause.value(), 7);
}

TEST(KeyTable, DefaultsAreNotWrittenAndEveryStateComesBack) {
    Controls c;
    EXPECT_EQ(c.table.write(),
              (std::vector<std::string>{"W23_TOP=104", "W23_LEFT=332", "W23_HEIGHT=381", "W23_WIDTH=306"}));
    c.entete.setChecked(true);
    c.tintal.setChecked(false);
    c.pause.setValue(9);
    c.path.setText("c:\\meteo\\history.dat");
    c.list.addItem("first");
    c.favourites[9]->setText("tenth");
    c.window.setBounds({1, 2, 3, 4});
    const std::vector<std::string> written = c.table.write();

    Controls back;
    back.load(written);
    EXPECT_EQ(back.table.write(), written);
    EXPECT_TRUE(back.entete.checked());
    EXPECT_EQ(back.favourites[9]->text(), "tenth");
    EXPECT_EQ(back.window.bounds(), (Rect{1, 2, 3, 4}));
}

TEST(KeyTable, ListLinesAreAppendedUpToTenDuplicatesIncluded) {
    Controls c;
    for (int i = 0; i < 12; ++i) c.load({"APRS_LIST=same", "APRS_LIST="});
    EXPECT_EQ(c.list.count(), 10);
}

TEST(KeyTable, FavouritesTakeOnlyTheNumbersOneToTen) {
    Controls c;
    c.load({"APRS_FAV0=x", "APRS_FAV11=x", "APRS_FAVx=y", "APRS_FAV=x", "APRS_FAV10=tenth", "APRS_FAV3=a=b"});
    for (int i : {0, 1, 3, 4, 5, 6, 7, 8}) EXPECT_EQ(c.favourites[i]->text(), "") << i;
    EXPECT_EQ(c.favourites[9]->text(), "tenth");
    EXPECT_EQ(c.favourites[2]->text(), "a=b");
}

TEST(SettingsFile, ATitleOnlyFileLoadsLikeNone) {
    FakeDurableFiles files;
    files.put("tintal.ini", "[TINTAL V9.9.9]\r\n");
    SettingsFile settings(files);
    settings.noteStart();
    Controls c;
    const std::vector<std::string> before = c.table.write();
    settings.load(c.table);
    EXPECT_EQ(c.table.write(), before);
}

TEST(SettingsFile, OnlyAFileThatWasThereAtStartIsRead) {
    FakeDurableFiles files;
    SettingsFile settings(files);
    settings.noteStart();
    files.put("tintal.ini", "ENTETE=Y\r\n");
    Controls c;
    settings.load(c.table);
    EXPECT_FALSE(c.entete.checked());
}

TEST(SettingsFile, SaveWritesTheTitleThenTheKeysAndMarksTheFileReadOnly) {
    FakeDurableFiles files;
    SettingsFile settings(files);
    Controls c;
    c.entete.setChecked(true);
    ASSERT_TRUE(settings.save(c.table));
    EXPECT_EQ(files.text("tintal.ini"),
              "[TINTAL V2.4.0]\r\nENTETE=Y\r\nW23_TOP=104\r\nW23_LEFT=332\r\nW23_HEIGHT=381\r\nW23_WIDTH=306\r\n");
    EXPECT_TRUE(files.readOnlyFiles.count("tintal.ini"));
    EXPECT_FALSE(files.exists("tintal.~in"));

    c.pause.setValue(3);
    ASSERT_TRUE(settings.save(c.table));
    EXPECT_NE(files.text("tintal.ini").find("PAUSE=3\r\n"), std::string::npos);
}

TEST(SettingsFile, AFailedSaveLeavesThePreviousFileInForce) {
    FakeDurableFiles files;
    files.put("tintal.ini", "[TINTAL V2.4.0]\r\nENTETE=Y\r\n");
    SettingsFile settings(files);
    Controls c;
    files.failAt = DurableFiles::Step::Staging;
    EXPECT_EQ(settings.save(c.table).failedAt, DurableFiles::Step::Staging);
    EXPECT_EQ(files.text("tintal.ini"), "[TINTAL V2.4.0]\r\nENTETE=Y\r\n");
    files.failAt = DurableFiles::Step::Replacing;
    EXPECT_FALSE(settings.save(c.table));
    EXPECT_EQ(files.text("tintal.ini"), "[TINTAL V2.4.0]\r\nENTETE=Y\r\n");
}

}  // namespace
}  // namespace tintal

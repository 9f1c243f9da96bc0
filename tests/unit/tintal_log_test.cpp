// The hourly log: dated entries, the cap with the title kept first, the file mirroring the buffer.
#include "shell/tintal_log.h"

#include <gtest/gtest.h>

#include "base/date_time.h"
#include "fakes/fake_durable_files.h"

namespace tintal {
namespace {

TEST(TintalLog, EntriesAreDatedAndTheFileHoldsTheWholeBuffer) {
    FakeDurableFiles files;
    FrenchDesktop desktop;
    TintalLog log(files, desktop);
    log.AddLogLine("Météo MonII Tint=21", encodeDateTime(2026, 12, 8, 14, 0, 0));
    EXPECT_EQ(files.text("tintal.log"), "Log TINTAL\r\n\r\n08/12/2026 14:00:00 M\xE9t\xE9o MonII Tint=21\r\n");
}

TEST(TintalLog, PastTheCapTheOldestEntriesGoAndTheTitleStays) {
    FakeDurableFiles files;
    // A log one entry short of the cap: the title, the design's empty line and 2157 entries.
    std::string text = "Log TINTAL\r\n\r\n";
    for (int i = 0; i < 2157; ++i) text += "entry " + std::to_string(i) + "\r\n";
    files.put("tintal.log", text);
    FrenchDesktop desktop;
    TintalLog log(files, desktop);
    log.noteStart();
    log.load();
    log.AddLogLine("entry 2157", 46000.0);
    ASSERT_EQ(log.lines().size(), 2160u);
    EXPECT_EQ(log.lines()[1], "");
    log.AddLogLine("entry 2158", 46000.0);
    ASSERT_EQ(log.lines().size(), 2160u);
    EXPECT_EQ(log.lines()[0], "Log TINTAL");
    EXPECT_EQ(log.lines()[1], "entry 0");  // the empty design line went first
    log.AddLogLine("entry 2159", 46000.0);
    EXPECT_EQ(log.lines().size(), 2160u);
    EXPECT_EQ(log.lines()[1], "entry 1");
    EXPECT_NE(log.lines().back().find("entry 2159"), std::string::npos);
    EXPECT_EQ(std::count(files.files["tintal.log"].begin(), files.files["tintal.log"].end(), '\n'), 2160);
}

TEST(TintalLog, AnExistingLogIsTakenUpAndAFailedWriteIsNoCrash) {
    FakeDurableFiles files;
    files.put("tintal.log", "Log TINTAL\r\n01/12/2026 10:00:00 old\r\n");
    FrenchDesktop desktop;
    TintalLog log(files, desktop);
    log.noteStart();
    log.load();
    files.failAt = DurableFiles::Step::Staging;
    log.AddLogLine("new", 46000.0);
    EXPECT_EQ(log.lines().size(), 3u);
    EXPECT_EQ(files.text("tintal.log"), "Log TINTAL\r\n01/12/2026 10:00:00 old\r\n");
}

}  // namespace
}  // namespace tintal

// The standard files adapter the portable code reads and writes through: the web sources' working
// files, exports, the sound files a user picks and the voice folder, in folders whose names carry
// accents.
#include "platform/files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "fakes/temp_folder.h"
#include "platform/file_path.h"
#include "platform/file_reader.h"

namespace tintal {
namespace {

std::string text(const std::optional<std::vector<std::uint8_t>>& bytes) {
    return bytes ? std::string(bytes->begin(), bytes->end()) : "<none>";
}

TEST(StdFiles, WritesReadsAndRemovesUnderAnAccentedFolder) {
    TempFolder temp;
    StdFiles files;
    // UTF-8 bytes, as the settings file and the file dialogs give them.
    const std::string folder = temp.file("Météo été");
    std::filesystem::create_directory(fsPath(folder));
    const std::string path = folder + "/relevé.txt";

    EXPECT_TRUE(files.isFolder(folder));
    EXPECT_FALSE(files.exists(path));
    ASSERT_TRUE(files.write(path, "premier contenu, plus long"));
    ASSERT_TRUE(files.write(path, "second"));  // replaces, leaving nothing of the longer first one
    EXPECT_EQ(text(files.read(path)), "second");
    EXPECT_EQ(text(files.readShared(path)), "second");
    EXPECT_TRUE(files.exists(path));
    EXPECT_TRUE(files.canRead(path));
    EXPECT_FALSE(files.isFolder(path));

    files.remove(path);
    EXPECT_FALSE(files.exists(path));
    EXPECT_EQ(files.read(path), std::nullopt);
    files.remove(path);  // removing what is gone says nothing and does nothing
}

TEST(StdFiles, AFolderOrAMissingFileIsNoFile) {
    TempFolder temp;
    StdFiles files;
    // Without a trailing separator: Windows' stat refuses a folder named with one.
    const std::string folder = utf8Text(temp.path());
    for (const std::string& path : {folder, temp.file("absent.txt"), std::string()}) {
        EXPECT_FALSE(files.exists(path)) << path;
        EXPECT_FALSE(files.canRead(path)) << path;
        EXPECT_EQ(files.read(path), std::nullopt) << path;
        EXPECT_EQ(files.modifiedAt(path).has_value(), path == folder) << path;
    }
    EXPECT_FALSE(files.isFolder(""));
    EXPECT_FALSE(files.isFolder(temp.file("absent")));
    // A write into a folder that does not exist fails, and says so.
    EXPECT_FALSE(files.write(temp.file("absent/x.txt"), "x"));
}

TEST(StdFiles, GivesTheTimeAFileWasLastWritten) {
    TempFolder temp;
    StdFiles files;
    const std::string path = temp.file("METAR.TXT");
    ASSERT_TRUE(files.write(path, "LFRN"));
    const auto at = std::chrono::system_clock::now() - std::chrono::hours(30);
    std::filesystem::last_write_time(path, std::chrono::file_clock::from_sys(at));
    const auto written = files.modifiedAt(path);
    ASSERT_TRUE(written);
    EXPECT_LT(std::chrono::abs(*written - at), std::chrono::seconds(2));
}

TEST(StdFiles, ListsAFolderAndReadsAFileInPieces) {
    TempFolder temp;
    StdFiles files;
    const std::string folder = temp.file("voix à moi");
    std::filesystem::create_directory(fsPath(folder));
    ASSERT_TRUE(files.write(pathIn(folder, "SON_ÉTÉ.wav"), "0123456789"));
    ASSERT_TRUE(files.write(pathIn(folder, "B.wav"), ""));
    std::filesystem::create_directory(fsPath(pathIn(folder, "a")));
    // Byte order, folders included; names come back as UTF-8.
    EXPECT_EQ(folderEntries(folder), (std::vector<std::string>{"B.wav", "SON_ÉTÉ.wav", "a"}));
    EXPECT_TRUE(folderEntries(temp.file("absent")).empty());
    EXPECT_TRUE(folderEntries(pathIn(folder, "B.wav")).empty());

    EXPECT_EQ(fileSize(pathIn(folder, "SON_ÉTÉ.wav")), 10u);
    EXPECT_EQ(fileSize(pathIn(folder, "B.wav")), 0u);
    EXPECT_EQ(fileSize(pathIn(folder, "a")), std::nullopt);
    EXPECT_EQ(fileSize(temp.file("absent")), std::nullopt);

    FileReader reader(pathIn(folder, "SON_ÉTÉ.wav"));
    ASSERT_TRUE(reader.isOpen());
    std::uint8_t piece[4] = {};
    EXPECT_EQ(reader.read(piece, 4), 4u);
    EXPECT_EQ(std::string(piece, piece + 4), "0123");
    EXPECT_EQ(reader.remaining(), 6u);
    EXPECT_EQ(reader.read(piece, 4), 4u);
    EXPECT_EQ(reader.read(piece, 4), 2u);  // the end, as a short count
    EXPECT_EQ(std::string(piece, piece + 2), "89");
    EXPECT_EQ(reader.remaining(), 0u);
    EXPECT_EQ(reader.read(piece, 4), 0u);
    EXPECT_FALSE(FileReader(pathIn(folder, "a")).isOpen());
    EXPECT_FALSE(FileReader(temp.file("absent")).isOpen());
}

}  // namespace
}  // namespace tintal

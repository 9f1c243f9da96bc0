// Paths with accents and spaces under Wine: a French user's folders ("C:\Radio\Météo\") must reach every
// file the program opens. A narrow open would pass the UTF-8 bytes through the ANSI code page and miss.
#include <windows.h>
#include <gtest/gtest.h>

#include <fstream>

#include "base/date_time.h"
#include "core/wave_source.h"
#include "fakes/fake_autostart.h"
#include "fakes/main_window_rig.h"
#include "fakes/station_files.h"
#include "fakes/station_window_rig.h"
#include "fakes/temp_folder.h"
#include "fakes/wav_builder.h"
#include "platform/file_path.h"
#include "platform/win32/win32_durable_files.h"
#include "platform/win32/win32_text.h"
#include "shell/main_shell.h"
#include "weather/stations/tform_meteo_w23.h"

namespace tintal {
namespace {

// A folder and a file name holding "é", "è", "ç" and spaces, inside a private test folder.
struct AccentedFolder {
    AccentedFolder() { std::filesystem::create_directories(folder()); }
    std::filesystem::path folder() const { return temp.path() / fsPath("Météo de la Forêt à Saint-Brévin"); }
    std::string file(const std::string& name) const { return utf8Text(folder() / fsPath(name)); }
    std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        // Written with the wide call itself, so that a fault of the program's own conversion cannot hide.
        HANDLE h = CreateFileW(widen(file(name)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        EXPECT_NE(h, INVALID_HANDLE_VALUE) << file(name);
        DWORD written = 0;
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(h);
        return file(name);
    }
    TempFolder temp;
};

bool existsWide(const std::string& utf8) { return GetFileAttributesW(widen(utf8).c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST(AccentedPaths, TheSoundFileChoosersAcceptAFileInAnAccentedFolder) {
    AccentedFolder at;
    const std::string wav = at.write("coucou été ç è.wav", buildWav(WavSpec{}, rampSamples(1600)));
    MainWindowRig rig{encodeDateTime(2026, 12, 1, 21, 1, 0)};
    FakeAutostart autostart;
    StdFiles files;
    MainShell shell{rig.form, rig.desktop, autostart, files, {}};

    rig.desktop.nextChosenFile = wav;
    shell.ButtonParcourirEnTete.click();
    EXPECT_EQ(rig.form.headerFilePath, wav);
    EXPECT_EQ(shell.ButtonParcourirEnTete.hint(), wav);
    rig.desktop.nextChosenFile = wav;
    shell.ButtonParcourirFin.click();
    EXPECT_EQ(rig.form.closingFilePath, wav);
    EXPECT_TRUE(rig.desktop.messages.empty()) << rig.desktop.messages.front();
    // And the player opens what the chooser accepted.
    EXPECT_TRUE(FileWaveSource(wav).isOpen());

    // A name that is not there is still refused.
    rig.desktop.nextChosenFile = at.file("absent é.wav");
    shell.ButtonParcourirTintal.click();
    EXPECT_EQ(rig.form.cuckooFilePath, "");
    ASSERT_EQ(rig.desktop.messages.size(), 1u);
}

TEST(AccentedPaths, TheSettingsFileIsWrittenAndReadInAnAccentedFolder) {
    AccentedFolder at;
    const std::string ini = at.file("tintal.ini"), temp = at.file("tintal.~in");
    Win32DurableFiles files;
    const std::string text = "[TINTAL V2.4.0]\r\nPERIOD=15\r\n";
    ASSERT_TRUE(files.replace(ini, temp, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, false));
    EXPECT_TRUE(existsWide(ini));
    EXPECT_FALSE(existsWide(temp));
    EXPECT_TRUE(files.exists(ini));
    const auto back = files.read(ini);
    ASSERT_TRUE(back);
    EXPECT_EQ(std::string(back->begin(), back->end()), text);
}

TEST(AccentedPaths, AWs2300HistoryFileInAnAccentedFolderIsRead) {
    AccentedFolder at;
    Ws2300FileRecord last;
    last.seconds = 3'900'000'000u;
    last.tempExt = 8.25f;
    std::vector<Ws2300FileRecord> records(20, last);
    for (std::size_t i = 0; i < records.size(); ++i) records[i].seconds = last.seconds - (19 - i) * 600;
    const std::string path = at.write("history é è ç.dat", ws2300History(records));

    StationWindowRig<TFormMeteoW23> rig(encodeDateTime(2026, 12, 1, 12, 0));
    rig.expectChosen(path, "Fichiers history.dat|*.dat");
    EXPECT_EQ(rig.window.CheckBoxText.caption(), "T ext.(°C) = 8,3");
}

}  // namespace
}  // namespace tintal

// The station windows' settings: their order in the file, and what reading them does to the windows.
#include "config/station_window_keys.h"

#include <gtest/gtest.h>

#include "config/key_table.h"
#include "fakes/temp_folder.h"
#include "platform/virtual_event_loop.h"
#include "weather/stations/tform_meteo_pro2.h"
#include "weather/stations/tform_meteo_w23.h"
#include "weather/stations/tform_meteo_w28.h"

namespace tintal {
namespace {

struct StationKeys : ::testing::Test {
    VirtualEventLoop loop{46000.0};
    FrenchDesktop desktop;
    StdFiles files;
    SharedTrendThreshold threshold;
    SourceWindowContext context{loop, desktop, files, threshold, [] { return false; }, {}};
    TFormMeteoW23 w23{context};
    TFormMeteoW28 w28{context};
    TFormMeteoPro2 pro2{context};
    TempFolder folder;

    static std::vector<std::string> keysOf(const std::vector<std::string>& lines) {
        std::vector<std::string> keys;
        for (const std::string& line : lines) keys.push_back(line.substr(0, line.find('=')));
        return keys;
    }
};

TEST_F(StationKeys, EachWindowWritesItsKeysInTheFilesOrder) {
    KeyTable table;
    table.add(w28Keys(w28));
    w28.CheckBoxTint.setChecked(true);
    w28.CheckBoxHumiExt.setChecked(true);
    EXPECT_EQ(keysOf(table.write()),
              (std::vector<std::string>{"W28_TEMPINT", "W28_HUMIDI", "W28_TOP", "W28_LEFT", "W28_HEIGHT", "W28_WIDTH",
                                        "W28_METPERI", "W28_PABS", "W28_POFFSET"}));
    KeyTable pro2Table;
    pro2Table.add(pro2Keys(pro2));
    pro2.CheckBoxFichier.setChecked(false);
    EXPECT_EQ(keysOf(pro2Table.write()),
              (std::vector<std::string>{"PRO2_TOP", "PRO2_LEFT", "PRO2_HEIGHT", "PRO2_WIDTH", "PRO2_METPERI",
                                        "PRO2_POFFSET", "PRO2_SEUILTEN", "PRO2_NEW"}));
}

TEST_F(StationKeys, AStoredFileThatIsGoneShowsTheErrorAndIsNotWrittenBack) {
    KeyTable table;
    table.add(w23Keys(w23));
    table.apply("W23_DAT=" + folder.file("absent.dat"));
    EXPECT_EQ(w23.StaticTextErreur.caption(), "Erreur fichier");
    EXPECT_EQ(w23.EditDat.text(), "");
    for (const std::string& line : table.write()) EXPECT_NE(line.rfind("W23_DAT=", 0), 0u) << line;
}

TEST_F(StationKeys, PressureKindAndThresholdComeBack) {
    KeyTable table;
    table.add(w28Keys(w28));
    table.add(w23Keys(w23));
    table.apply("W28_PABS=N");
    EXPECT_TRUE(w28.RadioButtonPREL.checked());
    table.apply("W28_PABS=Y");
    EXPECT_TRUE(w28.RadioButtonPABS.checked());
    table.apply("W23_SEUILTEN=7");
    EXPECT_EQ(w23.SpinEditSeuiltendance.value(), 7);
    EXPECT_DOUBLE_EQ(threshold.value, 0.7);
    table.apply("W23_SEUILTEN=x");
    EXPECT_EQ(w23.SpinEditSeuiltendance.value(), 7);
}

}  // namespace
}  // namespace tintal

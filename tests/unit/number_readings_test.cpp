#include "core/number_readings.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "core/clip_catalogue.h"
#include "platform/clip_store.h"

namespace tintal {
namespace {

using Names = std::vector<std::string>;

TEST(NumberReadings, SignedReadingsOfTemperatures) {
    EXPECT_EQ(signedReading(-12), (Names{"son_moins", "son12"}));
    EXPECT_EQ(signedReading(0), (Names{"son0"}));
    EXPECT_EQ(signedReading(60), (Names{"son60"}));
    EXPECT_EQ(signedReading(61), (Names{"son60_court", "son1_et"}));
    EXPECT_EQ(signedReading(71), (Names{"son60_court", "son11_et"}));
    EXPECT_EQ(signedReading(75), (Names{"son60_court", "son15"}));
    EXPECT_EQ(signedReading(-75), (Names{"son_moins", "son60_court", "son15"}));
}

TEST(NumberReadings, QuantityReadings) {
    EXPECT_EQ(quantityReading(0), (Names{"son_nulle"}));
    EXPECT_EQ(quantityReading(100), (Names{"son100"}));
    EXPECT_EQ(quantityReading(161), (Names{"son100", "son60_court", "son1_et"}));
    EXPECT_EQ(quantityReading(187), (Names{"son100", "son80", "son7"}));
    EXPECT_EQ(quantityReading(81), (Names{"son80", "son1"}));
    EXPECT_EQ(quantityReading(91), (Names{"son80", "son11"}));
    EXPECT_EQ(quantityReading(80), (Names{"son80"}));
    EXPECT_EQ(quantityReading(45), (Names{"son45"}));
    EXPECT_EQ(quantityReading(101), (Names{"son100", "son1"}));
}

TEST(NumberReadings, PressureReadings) {
    EXPECT_EQ(pressureReading(1013), (Names{"son1000", "son13"}));
    EXPECT_EQ(pressureReading(971), (Names{"son900", "son60_court", "son11_et"}));
    EXPECT_EQ(pressureReading(980), (Names{"son900", "son80"}));
    EXPECT_EQ(pressureReading(1000), (Names{"son1000"}));
    EXPECT_EQ(pressureReading(930), (Names{"son900", "son30"}));
    EXPECT_EQ(pressureReading(1050), (Names{"son1000", "son50"}));
    EXPECT_EQ(pressureReading(999), (Names{"son900", "son80", "son19"}));
}

// Every value the weather limits let through must be spoken with existing clips.
TEST(NumberReadings, EveryReadingInRangeUsesCatalogueClips) {
    const auto check = [](const Names& names, int v) {
        for (const auto& n : names) ASSERT_TRUE(isCatalogueClip(n)) << n << " for " << v;
    };
    for (int v = -75; v <= 60; ++v) check(signedReading(v), v);
    for (int v = 0; v <= 199; ++v) check(quantityReading(v), v);
    for (int v = 930; v <= 1050; ++v) check(pressureReading(v), v);
    for (int h = 0; h <= 24; ++h) check({feminineNumberClip(h), hourWordClip(h)}, h);
    for (int m = 0; m <= 59; ++m) check({feminineNumberClip(m)}, m);
    for (int d = 1; d <= 31; ++d) check({dayOfMonthClip(d)}, d);
    EXPECT_FALSE(isCatalogueClip(numberClip(85)));
}

TEST(NumberReadings, HourWordsCarryTheLiaison) {
    const std::map<std::string, std::vector<int>> table = {
        {"son_heures", {0, 4, 24}}, {"son_heures_N", {1, 21}},
        {"son_heures_K", {5}},      {"Son_Heures_T", {7, 8, 17, 18, 20}},
        {"Son_Heures_V", {9, 19}},  {"Son_Heures_Z", {2, 3, 6, 10, 11, 12, 13, 14, 15, 16, 22, 23}}};
    int covered = 0;
    for (const auto& [clip, hours] : table) {
        for (int h : hours) {
            EXPECT_EQ(hourWordClip(h), clip) << h;
            ++covered;
        }
    }
    EXPECT_EQ(covered, 25);
    EXPECT_EQ(feminineNumberClip(1), "son1_une");
    EXPECT_EQ(feminineNumberClip(21), "son21_une");
    EXPECT_EQ(feminineNumberClip(51), "son51_une");
    EXPECT_EQ(feminineNumberClip(11), "son11");
    EXPECT_EQ(dayOfMonthClip(1), "son1_premier");
    EXPECT_EQ(dayOfMonthClip(21), "son21");
}

TEST(ClipCatalogue, NamesAreUniqueCapitalsAndFoundWithoutRegardToCase) {
    std::set<std::string_view> unique(clipNames().begin(), clipNames().end());
    EXPECT_EQ(unique.size(), 150u);
    for (auto name : clipNames()) EXPECT_EQ(canonicalClipName(name), name);
    EXPECT_TRUE(isCatalogueClip("Son_Heures_T"));
    EXPECT_TRUE(isCatalogueClip("son_heures_t"));
    EXPECT_TRUE(isCatalogueClip("son21_une"));
    EXPECT_FALSE(isCatalogueClip("son_heures_x"));
    EXPECT_FALSE(isCatalogueClip(""));
    EXPECT_EQ(dayName(1), "dimanche");
    EXPECT_EQ(dayName(7), "samedi");
    EXPECT_EQ(monthName(2), "fevrier");
    EXPECT_EQ(monthName(8), "aout");
    EXPECT_EQ(monthName(0), "");
    for (int d = 1; d <= 7; ++d) EXPECT_TRUE(isCatalogueClip("son_" + std::string(dayName(d))));
    for (int m = 1; m <= 12; ++m) EXPECT_TRUE(isCatalogueClip("son_" + std::string(monthName(m))));
}

}  // namespace
}  // namespace tintal

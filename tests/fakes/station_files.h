#pragma once
// Station files written from figures: La Crosse history files (WS-2300 and WS-2800 families) and
// Vantage Pro2 monthly archives (.wlk), laid out byte for byte as the station software writes them.
// Bytes the program must not read are filled with a marker, so a field read at a wrong offset shows.
#include <cstdint>
#include <optional>
#include <vector>

namespace tintal {

using StationBytes = std::vector<std::uint8_t>;

// One 36-byte WS-2300 history record.
struct Ws2300FileRecord {
    std::uint32_t seconds = 3'500'000'000u;           // the file's own clock: days = (seconds + 176400) / 86400
    float pressure = 1013.0f;                         // hPa
    float wind = 0.0f;                                // m/s
    std::int32_t direction = 0;                       // sector, 22.5° each (low five bits)
    float rain = 0.0f;                                // running counter, mm
    float tempInt = 20.0f, tempExt = 10.0f;           // °C
    std::uint8_t humidityInt = 50, humidityExt = 60;  // the stored bytes, read back as signed
};
StationBytes ws2300History(const std::vector<Ws2300FileRecord>& records);

// One 56-byte WS-2800 history record.
struct Ws2800FileRecord {
    double time = 38474.5;                           // days since 1899-12-30 (2005-05-02 12:00)
    float absolute = 994.0f, relative = 1018.0f;     // hPa
    float wind = 2.0f;                               // m/s
    std::int32_t direction = 4;                      // sector
    float gust = 4.0f;                               // m/s
    float rain = 0.0f;                               // mm during this record's period
    float tempInt = 20.5f, tempExt = 3.5f;           // °C
    float humidityInt = 27.0f, humidityExt = 54.0f;  // %
};
StationBytes ws2800History(const std::vector<Ws2800FileRecord>& records);

// One 88-byte archive record, raw as the station stores it; the defaults are a 5-minute data record
// at 10:00 (20.0 °C outside, 21.1 °C inside, 1013.1 hPa).
struct WlkFileRecord {
    std::uint8_t type = 1;  // 1 = archive data
    std::uint8_t interval = 5;
    std::uint16_t minutes = 600;              // end of the period, minutes past midnight
    std::uint16_t tempOut = 680;              // tenths of °F
    std::uint16_t tempIn = 700;               // tenths of °F
    std::uint16_t barometer = 29921;          // thousandths of inHg
    std::uint16_t humOut = 500, humIn = 400;  // tenths of %
    std::uint8_t clicks = 0;
    std::uint8_t collector = 0x10;     // 0.254 mm a click
    std::uint16_t wind = 0, gust = 0;  // tenths of mph
    std::uint8_t direction = 0;        // 22.5° steps
};

// A .wlk file: the 212-byte header (record count and day index) and its records.
class WlkFile {
public:
    // Day d (1 to 31) of the month holds `records` records in the day index.
    WlkFile& day(int d, std::uint16_t records);
    // Days first to last each hold `records` records.
    WlkFile& days(int first, int last, std::uint16_t records);
    WlkFile& add(const WlkFileRecord& record, int times = 1);
    // The record count the header announces (by default, the records added).
    WlkFile& announce(std::int32_t count);
    StationBytes bytes() const;

private:
    std::uint16_t days_[32] = {};
    std::vector<WlkFileRecord> records_;
    std::optional<std::int32_t> count_;
};

}  // namespace tintal

#pragma once
// The text side of the APRS weather source: the raw packet cut out of a station page of the APRS site,
// the decoding of a UI-View weather file (a "Mmm dd yyyy hh:mm" time line, then the weather line) or of
// one raw packet, and the line written for a Morse-code beacon. Pure functions of the bytes and of the
// parameters given: the caller fetches, opens and writes the files, and builds captions and colours.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "weather/weather_reading.h"

namespace tintal {

inline constexpr const char* kAprsWebFileName = "aprs_web.txt";    // the fetched page, then its raw packet
inline constexpr const char* kAprsBeaconFileName = "aprs_cw.txt";  // the beacon export

// Stored for figures the data do not give (the other markers are in weather_reading.h).
inline constexpr double kAprsNoTemperature = -70.0;
inline constexpr double kAprsNoPressure = 100.0;
inline constexpr double kAprsNoWind = -1.0;
inline constexpr double kAprsNoGust = 0.0;
inline constexpr int kAprsNoHumidity = -1;  // the byte 255 of a signed humidity

// ---- the page of the APRS site ----

// Whether a fetched document goes to extractAprsRawLine: one of its first three bytes is "<". Run the
// extractor once even when several of them are: a second run would find the packet it wrote instead of
// the page, and fail.
bool hasAprsPageMarker(std::string_view document);

struct AprsRawLine {
    int fetchError = 0;  // 0, or the code shown after "File error #": 5 no line, 6 no "raw_line", 7 no "_"
    std::string line;    // with fetchError 0: the packet without markup, to write back as the file's only line
};

// The last line holding "raw_line", stripped of its tags. The bytes are kept as they are (no entity decoding,
// no charset conversion): the decoder only looks at ASCII.
AprsRawLine extractAprsRawLine(std::string_view page);

// Tags removed: while a "<" is left, the first "<" through the first ">" after it goes; a "<" with no ">"
// after it, or preceded by a ">", takes everything from the start of the text through that "<".
std::string stripAprsMarkup(std::string_view line);

// The texts that name the site; the host is the caller's one configurable constant.
std::string aprsLoginPageAddress(std::string_view host);     // "https://" + host + "/?c=login"
std::string aprsLoginButtonCaption(std::string_view host);   // "Login " + host
std::string aprsCheckAddressMessage(std::string_view host);  // the box shown for error 6 on the site (UTF-8)
// Error 6 asks the user to log in only for an address of the site itself.
bool aprsAddressNamesSite(std::string_view address, std::string_view host);

// ---- the weather line ----

// Integer values of one weather line in the data's own units; nullopt when the letter is absent, when fewer
// characters than its width follow it, or when they are not an optionally signed integer.
struct AprsWeatherFields {
    std::optional<int> direction;          // "c", or ddd of the ddd/sss form (used when "c" and "s" both fail)
    std::optional<int> speed;              // "s", or sss of the ddd/sss form
    std::optional<int> gust;               // "g"
    std::optional<int> temperature;        // "t"
    std::optional<int> rainLastHour;       // "r", read and not used
    std::optional<int> rain24h;            // "p"
    std::optional<int> rainSinceMidnight;  // "P", read and not used
    std::optional<int> humidity;           // "h", 1..100 ("h00" is 100); a negative value is taken as not converting
    std::optional<int> pressureTenths;     // "b", tenths of hPa
};

// The weather line as the read routine takes it: everything through its first "_" is dropped (the packet's
// header and position), then 200 characters from its first "." (the "..." of a missing field, a comment).
std::string aprsWeatherPart(std::string_view line);

// Decodes a line already cut by aprsWeatherPart.
AprsWeatherFields decodeAprsWeatherPart(std::string_view weatherPart);

// ---- the read routine ----

// The window's "Unités d'origine" groups; the defaults are its design choices.
enum class AprsSpeedUnit { Kmh, Mph, Knot };
enum class AprsTemperatureUnit { Celsius, Fahrenheit };
enum class AprsRainUnit { Millimetre, HundredthInch };

struct AprsUnits {
    AprsSpeedUnit speed = AprsSpeedUnit::Mph;
    AprsTemperatureUnit temperature = AprsTemperatureUnit::Fahrenheit;
    AprsRainUnit rain = AprsRainUnit::HundredthInch;
};

double aprsSpeedFactor(AprsSpeedUnit unit);  // to km/h

// ComboBoxTU: the time line of a two-line file is UTC ("TU") or local ("Loc").
enum class AprsTimeBase { Utc, Local };

struct AprsReadParameters {
    AprsUnits units;
    double pressureOffset = 0;  // hPa, SpinEditOffSetPression
    AprsTimeBase timeBase = AprsTimeBase::Local;
    double biasMinutes = 0;               // UTC = local + bias, daylight bias included
    double observedAt = 0;                // the reading's observedAt before this read
    std::optional<double> fileWriteTime;  // the file's last write, local date-time, when the caller has it
};

// One decoded file. Figures are stored as WeatherReading stores them, with the markers above for missing
// ones; the has* flags say which captions show a figure (false: the caption ends with "--").
struct AprsReading {
    AprsWeatherFields fields;
    std::size_t lineCount = 0;  // non-empty lines; 1 = a raw packet, 2 or more = a UI-View file

    // The later of the previous value and the file time, replaced by the time read from the text if any.
    double observedAt = 0;
    bool timeFromText = false;
    std::optional<std::string> dateText;  // new Editdatemeteo text (UTF-8); nullopt leaves the field as it is
    bool forceLocalTime = false;          // a raw packet: ComboBoxTU is set to "Loc"

    double pressureOffset = 0;
    double tempExt = kAprsNoTemperature;  // °C
    double feelsLike = kNoFeelsLike;      // °C
    std::optional<double> dewPoint;       // °C; nullopt leaves the reading's dewPoint as it was
    double pressure = kAprsNoPressure;    // hPa, offset included
    double windSpeed = kAprsNoWind;       // km/h
    double gustSpeed = kAprsNoGust;       // km/h
    int windDirection = kNoDirection;     // 0..359
    int humidityExt = kAprsNoHumidity;    // %
    double rain24h = kNoRain;             // mm

    bool hasTempExt = false, hasFeelsLike = false, hasPressure = false, hasWindSpeed = false;
    bool hasGustSpeed = false, hasWindDirection = false, hasHumidityExt = false, hasRain24h = false;

    std::string beaconLine;  // written to aprs_cw.txt at every decode

    // Copies the figures into the source's reading (locator and the fields APRS does not fill are left).
    void storeInto(WeatherReading& reading) const;
};

// Decodes the bytes of the file named by the reading's locator (a UI-View file, or aprs_web.txt holding one
// packet). nullopt when the file has no non-empty line: nothing is decoded nor exported.
std::optional<AprsReading> decodeAprsFile(std::string_view bytes, const AprsReadParameters& parameters);

// " TEMP 12C = QNH 1013hPa = WS 19kmh = WCT 10C = HUM 77 ": the known parts in this order, then one space.
// The pressure is the packet's own, without the offset.
std::string aprsBeaconLine(const AprsReading& reading);

// The bytes of aprs_cw.txt: the line in Windows-1252 ended by CR LF.
std::string aprsBeaconFileBytes(std::string_view beaconLine);

}  // namespace tintal

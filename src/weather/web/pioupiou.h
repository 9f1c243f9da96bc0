#pragma once
// The text side of the Pioupiou wind-beacon source: keeping the useful lines of a fetched live answer,
// reading the figures from those lines, the beacon label, and the busy mark of the read routine.
// Everything here is pure: the window model reads and writes the working file, passes the clock and
// the time-zone bias, and builds captions and colours from the figures.
//
// The answer is parsed as JSON, in whatever layout it comes (one key per line or all on one line); the
// extractor writes the useful keys to the working file one "key": value per line, and the figures are
// read from that layout. A line is read as a key's line only when it starts with the quoted key and a
// colon: the values sit at fixed offsets behind it, and a line of any other shape gives "no value"
// rather than a figure read from the wrong place. A document that is not JSON is taken line by line.
//
// Document bytes are as fetched (UTF-8); the returned texts are UTF-8.
#include <optional>
#include <string>
#include <string_view>

#include "weather/weather_reading.h"

namespace tintal {

// Figures stored when a key is present but its value is null or does not read.
inline constexpr double kPioupiouNoPressure = 100.0;
inline constexpr double kPioupiouNoWind = -1.0;
inline constexpr double kPioupiouNoGust = 0.0;
inline constexpr double kPioupiouNoWindMin = -1.0;

// Outcome of the line extractor; the values are the FetchError codes the window shows. The window adds
// its own file codes: 4 (no working file) and 8 (the kept lines cannot be written).
enum class PioupiouPageError {
    None = 0,
    Truncated = 1,  // fewer than six lines follow "measurements": the answer was cut off
    Empty = 5,      // no line at all, or none worth keeping
};

struct PioupiouPageLines {
    PioupiouPageError error = PioupiouPageError::None;
    // With no error: the new content of the working file, the kept lines (leading blanks removed),
    // each ended by CR LF, bytes otherwise as fetched.
    std::string file;
};

// Keeps every "name" key and the members of every "measurements" object, in document order. A
// document that is not JSON: every line holding "name", and the six lines after one holding
// "measurements" (fewer is an answer cut off: Truncated).
PioupiouPageLines extractPioupiouLines(std::string_view document);

// "Pioupiou " and the four characters after the first "live/" of the address (characters 5 to 8 when
// it has none): what the beacon label shows until the answer's name is read. UTF-8 in and out.
std::string pioupiouAddressLabel(std::string_view address);

struct PioupiouMeasurementTime {
    double utc = 0;         // days since 1899-12-30, UTC, seconds dropped
    double observedAt = 0;  // the same moment in local time
};

// Reads an ISO 8601 time such as "2024-03-07T14:30:12.000Z": day, hour and minute at their fixed places.
// The year and month are the text's own; only when they are not digits are they inferred from today's
// UTC date (a day of 28 or more seen on the 1st belongs to the previous month). `nowLocal` is the
// current local date-time and `biasMinutes` the time-zone bias, daylight part included (UTC = local +
// bias). Empty when a part does not convert or the date does not exist.
std::optional<PioupiouMeasurementTime> pioupiouMeasurementTime(std::string_view iso, double nowLocal, int biasMinutes);

// One figure of the answer. An absent key leaves the reading's figure and its caption as they were.
template <typename T>
struct PioupiouFigure {
    bool present = false;      // the key's line was found: store `value` and rewrite the caption
    bool shown = false;        // the caption shows `shownValue`; it reads "--" otherwise
    T value{};                 // what the reading stores: the figure, or its missing marker
    T shownValue{};            // the caption's figure (the pressure without the offset)
    bool outOfLimits = false;  // the caption's font is red
};

struct PioupiouFigures {
    std::string stationLabel;  // the beacon label: the address's, or the answer's name when one was read
    std::optional<PioupiouMeasurementTime> observedAt;  // empty: time and its field keep what they had
    PioupiouFigure<double> pressure;                    // hPa, offset included in `value`
    PioupiouFigure<double> windSpeed;                   // km/h, whole number; null reads as calm
    PioupiouFigure<double> gustSpeed;                   // km/h, whole number; null reads as calm
    PioupiouFigure<double> windMin;                     // km/h, whole number; shown only, never announced
    PioupiouFigure<int> windDirection;                  // degrees 0 to 360
};

struct PioupiouReadParams {
    std::string_view address;   // the address as typed (UTF-8), for the label
    double pressureOffset = 0;  // hPa
    double nowLocal = 0;        // current local date-time
    int biasMinutes = 0;        // UTC = local + bias
};

// Reads the working file line by line; each value comes from its own line only, and the last line of
// a key wins. Empty when the file has no line, in which case the label is left alone too.
std::optional<PioupiouFigures> decodePioupiouLines(std::string_view file, const PioupiouReadParams& params);

// Stores the present figures in the reading (observedAt, pressure, windSpeed, gustSpeed,
// windDirection); the minimum wind and the label are the window's own.
void storePioupiouFigures(const PioupiouFigures& figures, WeatherReading& reading);

// Set while a read runs: the read pumps messages while it fetches, and a timer tick or a refresh
// arriving meanwhile must not start a second read. Window thread only.
class PioupiouBusyMark {
public:
    // Clears the mark when it goes, whatever way the read ends.
    class Hold {
    public:
        Hold(Hold&& other) noexcept : mark_(other.mark_) { other.mark_ = nullptr; }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
        Hold& operator=(Hold&&) = delete;
        ~Hold() {
            if (mark_) mark_->busy_ = false;
        }

    private:
        friend class PioupiouBusyMark;
        explicit Hold(PioupiouBusyMark& mark) : mark_(&mark) { mark_->busy_ = true; }
        PioupiouBusyMark* mark_;
    };

    // Empty when a read is already running: the new one returns at once.
    std::optional<Hold> tryHold() {
        if (busy_) return std::nullopt;
        return std::optional<Hold>(Hold(*this));
    }
    bool isSet() const { return busy_; }

private:
    bool busy_ = false;
};

}  // namespace tintal

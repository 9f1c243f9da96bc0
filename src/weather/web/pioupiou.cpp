#include "weather/web/pioupiou.h"

#include <cstddef>
#include <nlohmann/json.hpp>
#include <vector>

#include "base/date_time.h"
#include "base/numbers.h"
#include "base/text_encoding.h"
#include "weather/web/page_lines.h"

namespace tintal {
namespace {

constexpr std::string_view kName = "\"name\"";
constexpr std::string_view kMeasurements = "\"measurements\"";
constexpr std::string_view kDate = "\"date\"";
constexpr std::string_view kPressure = "\"pressure\"";
constexpr std::string_view kWindAvg = "\"wind_speed_avg\"";
constexpr std::string_view kWindMax = "\"wind_speed_max\"";
constexpr std::string_view kWindMin = "\"wind_speed_min\"";
constexpr std::string_view kHeading = "\"wind_heading\"";
constexpr std::size_t kMeasurementLines = 6;

// Serial day range that the calendar helpers accept (years 1 to 9999).
constexpr double kFirstDay = -693593.0;
constexpr double kDayAfterLast = 2958466.0;

bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

// Blanks as a string list trims them: every control character and the space.
bool isBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string_view trimLeft(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    return s;
}

std::string_view trim(std::string_view s) {
    s = trimLeft(s);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool allDigits(std::string_view s) {
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return !s.empty();
}

// The text behind `"key":` when the line starts with it: the value's fixed offset (the 8th character
// for "name", the 12th for "pressure", ...). Any other line is not of the one-key-per-line layout and
// its offsets would land in another key's text.
std::optional<std::string_view> valueText(std::string_view line, std::string_view quotedKey) {
    if (!line.starts_with(quotedKey) || line.size() <= quotedKey.size() || line[quotedKey.size()] != ':')
        return std::nullopt;
    return line.substr(quotedKey.size() + 1);
}

// The part between the first and the second double quote; empty when the text holds no pair.
std::optional<std::string_view> quoted(std::string_view text) {
    const std::size_t open = text.find('"');
    if (open == std::string_view::npos) return std::nullopt;
    const std::size_t close = text.find('"', open + 1);
    if (close == std::string_view::npos) return std::nullopt;
    return text.substr(open + 1, close - open - 1);
}

// A figure's own value: up to the first comma, so that a "null" further on cannot count for it.
struct RawValue {
    bool isNull = false;
    std::string_view text;  // blanks removed
};

std::optional<RawValue> rawValue(std::string_view line, std::string_view quotedKey) {
    const auto text = valueText(line, quotedKey);
    if (!text) return std::nullopt;
    const std::string_view value = trim(text->substr(0, text->find(',')));
    return RawValue{contains(value, "null"), value};
}

// Whole part and the first decimal, truncated beyond it ("6.25" is 6 and 2); the decimal takes the
// sign of the number. Anything but digits after the point (an exponent) does not convert.
struct Decimal {
    int whole = 0;
    int tenths = 0;
    bool negative = false;
    double value() const { return whole + (negative ? -tenths : tenths) * 0.1; }
};

std::optional<Decimal> readDecimal(std::string_view text) {
    const std::size_t dot = text.find('.');
    const auto whole = strictToInt(text.substr(0, dot));
    if (!whole) return std::nullopt;
    Decimal d{*whole, 0, text.front() == '-'};
    if (dot != std::string_view::npos) {
        const std::string_view fraction = text.substr(dot + 1);
        if (!allDigits(fraction)) return std::nullopt;
        d.tenths = fraction.front() - '0';
    }
    return d;
}

std::optional<int> twoDigits(std::string_view text, std::size_t pos) {
    if (pos + 2 > text.size() || !allDigits(text.substr(pos, 2))) return std::nullopt;
    return (text[pos] - '0') * 10 + (text[pos + 1] - '0');
}

bool isUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Skips `count` characters (a UTF-8 sequence is one character) from `pos`; returns the new position.
std::size_t skipCharacters(std::string_view text, std::size_t pos, int count) {
    while (pos < text.size() && count > 0) {
        ++pos;
        while (pos < text.size() && isUtf8Continuation(text[pos])) ++pos;
        --count;
    }
    return pos;
}

// The readings of the wind keys: mean and gust read a null as calm, the minimum does not.
std::optional<double> windValue(const std::optional<RawValue>& raw, bool nullIsCalm) {
    if (!raw) return std::nullopt;
    if (raw->isNull) return nullIsCalm ? std::optional<double>(0.0) : std::nullopt;
    const auto d = readDecimal(raw->text);
    if (!d) return std::nullopt;
    return static_cast<double>(roundHalfEven(d->value()));
}

PioupiouFigure<double> windFigure(std::optional<double> value, double missing, bool colourMissing) {
    PioupiouFigure<double> f;
    f.present = true;
    f.shown = value.has_value();
    f.value = f.shownValue = value.value_or(missing);
    if (f.shown || colourMissing) f.outOfLimits = !kWindLimits.contains(f.value);
    return f;
}

void readName(std::string_view line, PioupiouFigures& f) {
    const auto text = valueText(line, kName);
    if (!text) return;
    const auto name = quoted(*text);
    // Shown in the code page the labels use: characters outside it come out as '?'.
    if (name) f.stationLabel = cp1252ToUtf8(utf8ToCp1252(*name));
}

void readDate(std::string_view line, const PioupiouReadParams& p, PioupiouFigures& f) {
    const auto text = valueText(line, kDate);
    if (!text) return;
    const auto iso = quoted(*text);
    if (!iso || iso->empty()) return;
    if (const auto t = pioupiouMeasurementTime(*iso, p.nowLocal, p.biasMinutes)) f.observedAt = t;
}

// The number behind a key; none for null or anything that is not a number.
std::optional<Decimal> decimalValue(std::string_view line, std::string_view key) {
    const auto raw = rawValue(line, key);
    if (!raw || raw->isNull) return std::nullopt;
    return readDecimal(raw->text);
}

void readPressure(std::string_view line, double offset, PioupiouFigures& f) {
    const std::optional<Decimal> d = decimalValue(line, kPressure);
    PioupiouFigure<double>& p = f.pressure;
    p = {.present = true};
    if (!d) {
        p.value = kPioupiouNoPressure;
        return;
    }
    p.shown = true;
    p.shownValue = d->whole;
    p.value = offset + d->whole;
    p.outOfLimits = !kPressureLimits.contains(p.value);
}

void readHeading(std::string_view line, PioupiouFigures& f) {
    const std::optional<Decimal> d = decimalValue(line, kHeading);
    PioupiouFigure<int>& h = f.windDirection;
    h = {.present = true};
    h.value = h.shownValue = kNoDirection;
    if (d && d->whole >= 0 && d->whole <= 360) {
        h.shown = true;
        h.value = h.shownValue = d->whole;
    }
}

using Json = nlohmann::ordered_json;
constexpr int kMaxJsonDepth = 32;  // the answer nests three levels; deeper ones are not walked

void keepLine(std::string& file, const std::string& key, const Json& value) {
    // Numbers as they were written (shortest form), texts quoted with their UTF-8 kept.
    file += "\"" + key + "\": " + value.dump(-1, ' ', false, Json::error_handler_t::replace) + "\r\n";
}

// In document order: every "name" key, and the members of every "measurements" object, each as one
// "key": value line, the layout the figures are read from.
void keepJsonLines(const Json& node, std::string& file, int depth) {
    if (depth > kMaxJsonDepth || !node.is_structured()) return;
    if (node.is_array()) {
        for (const Json& item : node) keepJsonLines(item, file, depth + 1);
        return;
    }
    for (const auto& [key, value] : node.items()) {
        if (key == "name") keepLine(file, key, value);
        if (key == "measurements" && value.is_object()) {
            for (const auto& [member, figure] : value.items()) keepLine(file, member, figure);
        }
        keepJsonLines(value, file, depth + 1);
    }
}

// The layout of an answer one key per line, as it was read before the answer was parsed: kept for
// documents that are not JSON (an answer cut off on the way).
PioupiouPageLines extractByLines(std::string_view document) {
    const std::vector<std::string_view> lines = splitLines(document);
    PioupiouPageLines out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (contains(lines[i], kName)) {
            out.file += trimLeft(lines[i]);
            out.file += "\r\n";
        }
        if (contains(lines[i], kMeasurements)) {
            if (lines.size() - i - 1 < kMeasurementLines) return {PioupiouPageError::Truncated, {}};
            for (std::size_t k = 1; k <= kMeasurementLines; ++k) {
                out.file += trimLeft(lines[i + k]);
                out.file += "\r\n";
            }
        }
    }
    if (out.file.empty()) out.error = PioupiouPageError::Empty;
    return out;
}

}  // namespace

PioupiouPageLines extractPioupiouLines(std::string_view document) {
    const Json json = Json::parse(document.begin(), document.end(), nullptr, false);
    if (json.is_discarded()) return extractByLines(document);
    PioupiouPageLines out;
    keepJsonLines(json, out.file, 0);
    if (out.file.empty()) out.error = PioupiouPageError::Empty;
    return out;
}

std::string pioupiouAddressLabel(std::string_view address) {
    const std::size_t live = address.find("live/");
    const std::size_t start = live == std::string_view::npos ? skipCharacters(address, 0, 4) : live + 5;
    const std::size_t end = skipCharacters(address, start, 4);
    return "Pioupiou " + std::string(address.substr(start, end - start));
}

std::optional<PioupiouMeasurementTime> pioupiouMeasurementTime(std::string_view iso, double nowLocal, int biasMinutes) {
    const auto day = twoDigits(iso, 8);
    const auto hour = twoDigits(iso, 11);
    const auto minute = twoDigits(iso, 14);
    if (!day || !hour || !minute || *hour > 23 || *minute > 59) return std::nullopt;
    const double bias = biasMinutes / 1440.0;

    int year = 0, month = 0;
    if (allDigits(iso.substr(0, 4)) && allDigits(iso.substr(5, 2))) {
        // The answer of a beacon that went quiet can be days or months old: its own date keeps it so,
        // where the current month would pass it off as a fresh measurement.
        year = strictToInt(iso.substr(0, 4)).value_or(0);
        month = *twoDigits(iso, 5);
    } else {
        const double nowUtc = nowLocal + bias;
        if (!(nowUtc >= kFirstDay && nowUtc < kDayAfterLast)) return std::nullopt;
        const DateTimeFields today = decodeDateTime(nowUtc);
        year = today.year;
        month = today.month;
        if (*day != today.day && *day != today.day - 1 && today.day == 1 && *day >= 28 && --month == 0) {
            month = 12;
            --year;
        }
    }
    if (year < 1 || month < 1 || month > 12 || *day < 1 || *day > daysInMonth(year, month)) return std::nullopt;
    PioupiouMeasurementTime t;
    t.utc = encodeDateTime(year, month, *day, *hour, *minute);
    t.observedAt = t.utc - bias;
    if (!(t.observedAt >= kFirstDay && t.observedAt < kDayAfterLast)) return std::nullopt;
    return t;
}

std::optional<PioupiouFigures> decodePioupiouLines(std::string_view file, const PioupiouReadParams& params) {
    const std::vector<std::string_view> lines = splitLines(file);
    if (lines.empty()) return std::nullopt;
    PioupiouFigures f;
    f.stationLabel = pioupiouAddressLabel(params.address);
    for (std::string_view line : lines) {
        if (contains(line, kName)) readName(line, f);
        if (contains(line, kDate)) readDate(line, params, f);
        if (contains(line, kPressure)) readPressure(line, params.pressureOffset, f);
        if (contains(line, kWindAvg)) {
            f.windSpeed = windFigure(windValue(rawValue(line, kWindAvg), true), kPioupiouNoWind, true);
        }
        if (contains(line, kWindMax)) {
            f.gustSpeed = windFigure(windValue(rawValue(line, kWindMax), true), kPioupiouNoGust, true);
        }
        if (contains(line, kWindMin)) {
            f.windMin = windFigure(windValue(rawValue(line, kWindMin), false), kPioupiouNoWindMin, false);
        }
        if (contains(line, kHeading)) readHeading(line, f);
    }
    return f;
}

void storePioupiouFigures(const PioupiouFigures& figures, WeatherReading& reading) {
    if (figures.observedAt) reading.observedAt = figures.observedAt->observedAt;
    if (figures.pressure.present) reading.pressure = figures.pressure.value;
    if (figures.windSpeed.present) reading.windSpeed = figures.windSpeed.value;
    if (figures.gustSpeed.present) reading.gustSpeed = figures.gustSpeed.value;
    if (figures.windDirection.present) reading.windDirection = figures.windDirection.value;
}

}  // namespace tintal

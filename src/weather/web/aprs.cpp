#include "weather/web/aprs.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "base/date_time.h"
#include "base/numbers.h"
#include "base/text_encoding.h"
#include "weather/web/page_lines.h"

namespace tintal {
namespace {

constexpr std::size_t kDotCutLength = 200;   // the read routine drops at most this much from the first "."
constexpr std::size_t kTimeLineLength = 17;  // "Mar 07 2024 14:30"
constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Up to `count` characters from `pos` (0-based), nothing past the end: the positions come from the data.
std::string_view copyOf(std::string_view text, std::size_t pos, std::size_t count) {
    if (pos >= text.size()) return {};
    return text.substr(pos, count);
}

// Exactly `width` characters after the first `letter`, as an integer.
std::optional<int> fieldAfter(std::string_view part, char letter, std::size_t width) {
    const std::size_t at = part.find(letter);
    if (at == std::string_view::npos || part.size() - at - 1 < width) return std::nullopt;
    return strictToInt(part.substr(at + 1, width));
}

std::optional<int> toInt(std::string_view text) { return text.empty() ? std::nullopt : strictToInt(text); }

std::optional<double> checkedDateTime(std::optional<int> year, std::optional<int> month, std::optional<int> day,
                                      std::optional<int> hour, std::optional<int> minute) {
    if (!year || !month || !day || !hour || !minute) return std::nullopt;
    if (*year < 1 || *year > 9999 || *month < 1 || *month > 12) return std::nullopt;
    if (*day < 1 || *day > daysInMonth(*year, *month)) return std::nullopt;
    if (*hour < 0 || *hour > 23 || *minute < 0 || *minute > 59) return std::nullopt;
    return encodeDateTime(*year, *month, *day, *hour, *minute);
}

// "Mmm dd yyyy hh:mm". The caller has checked the length and the ":".
std::optional<double> timeLineDateTime(std::string_view line) {
    const auto month = std::find(kMonths.begin(), kMonths.end(), line.substr(0, 3));
    if (month == kMonths.end()) return std::nullopt;
    return checkedDateTime(strictToInt(line.substr(7, 4)), static_cast<int>(month - kMonths.begin()) + 1,
                           strictToInt(line.substr(4, 2)), strictToInt(line.substr(12, 2)),
                           strictToInt(line.substr(15, 2)));
}

struct PacketTime {
    std::string text;  // "yyyy-mm-dd", "yyyy-mm-dd hh:mm:ss" or empty
    std::optional<double> at;
};

// A packet as the site lists it starts with the time it was heard: "2024-03-07 14:30:00 CET: F4ABC>...".
PacketTime packetTime(std::string_view line) {
    PacketTime result;
    const std::size_t dash = line.find('-');
    if (dash == std::string_view::npos || dash < 4 || dash + 3 >= line.size() || line[dash + 3] != '-') {
        return result;
    }
    const std::string_view date = copyOf(line, dash - 4, 10);
    result.text = date;
    std::string_view time;
    const std::size_t colon = line.find(':');
    if (colon != std::string_view::npos && colon >= 13 && colon + 3 < line.size() && line[colon + 3] == ':') {
        time = copyOf(line, colon - 2, 8);
        result.text += ' ';
        result.text += time;
    }
    result.at = checkedDateTime(toInt(copyOf(date, 0, 4)), toInt(copyOf(date, 5, 2)), toInt(copyOf(date, 8, 2)),
                                toInt(copyOf(time, 0, 2)), toInt(copyOf(time, 3, 2)));
    return result;
}

}  // namespace

bool hasAprsPageMarker(std::string_view document) { return copyOf(document, 0, 3).find('<') != std::string_view::npos; }

std::string stripAprsMarkup(std::string_view line) {
    // Linear pass with the result of deleting one tag at a time: the text kept before a closed tag never
    // holds "<" nor ">", and a "<" without a ">" after it (or after a stray ">") drops all that was kept.
    std::string out;
    std::size_t pos = 0;
    std::size_t close = line.find('>');
    while (true) {
        const std::size_t open = line.find('<', pos);
        if (open == std::string_view::npos) {
            out.append(line.substr(pos));
            return out;
        }
        if (close != std::string_view::npos && close < pos) close = line.find('>', pos);
        if (close != std::string_view::npos && open < close) {
            out.append(line.substr(pos, open - pos));
            pos = close + 1;
        } else {
            out.clear();
            pos = open + 1;
        }
    }
}

AprsRawLine extractAprsRawLine(std::string_view page) {
    const std::vector<std::string_view> lines = splitLines(page);
    if (lines.empty()) return {5, {}};
    const auto found = std::find_if(lines.rbegin(), lines.rend(),
                                    [](std::string_view l) { return l.find("raw_line") != std::string_view::npos; });
    if (found == lines.rend()) return {6, {}};
    std::string line = stripAprsMarkup(*found);
    if (line.find('_') == std::string::npos) return {7, {}};
    return {0, std::move(line)};
}

std::string aprsLoginPageAddress(std::string_view host) { return "https://" + std::string(host) + "/?c=login"; }

std::string aprsLoginButtonCaption(std::string_view host) { return "Login " + std::string(host); }

std::string aprsCheckAddressMessage(std::string_view host) {
    return "SVP vérifiez l'URL ou essayer de vous loguer au site " + std::string(host) + " puis Rafraîchir";
}

bool aprsAddressNamesSite(std::string_view address, std::string_view host) {
    return !host.empty() && address.find(host) != std::string_view::npos;
}

// The widths of the lettered fields: a field written all in dots is a value the station does not have.
constexpr std::array<std::pair<char, std::size_t>, 9> kFieldWidths{
    {{'c', 3}, {'s', 3}, {'g', 3}, {'t', 3}, {'r', 3}, {'p', 3}, {'P', 3}, {'h', 2}, {'b', 5}}};

bool allDots(std::string_view text) { return !text.empty() && text.find_first_not_of('.') == std::string_view::npos; }

// Characters of a dotted field that starts at `at`, 0 when none does: a lettered field, or the
// ".../..." of direction and speed.
std::size_t dottedFieldAt(std::string_view part, std::size_t at) {
    if (part.compare(at, 7, ".../...") == 0) return 7;
    for (const auto& [letter, width] : kFieldWidths) {
        if (part[at] == letter && allDots(copyOf(part, at + 1, width)) && part.size() - at - 1 >= width)
            return width + 1;
    }
    return 0;
}

std::string aprsWeatherPart(std::string_view line) {
    const std::size_t underscore = line.find('_');
    if (underscore != std::string_view::npos) line.remove_prefix(underscore + 1);
    std::string part(line);
    // The comment after the data starts at a "." (".DsVP", ".WxDg"); the dots of a missing value
    // ("r...", "h..", ".../...") are not one.
    for (std::size_t i = 0; i < part.size();) {
        if (const std::size_t skip = dottedFieldAt(part, i)) {
            i += skip;
        } else if (part[i] == '.') {
            part.erase(i, kDotCutLength);
            break;
        } else {
            ++i;
        }
    }
    return part;
}

AprsWeatherFields decodeAprsWeatherPart(std::string_view part) {
    AprsWeatherFields f;
    f.direction = fieldAfter(part, 'c', 3);
    f.speed = fieldAfter(part, 's', 3);
    f.gust = fieldAfter(part, 'g', 3);
    f.temperature = fieldAfter(part, 't', 3);
    f.rainLastHour = fieldAfter(part, 'r', 3);
    f.rain24h = fieldAfter(part, 'p', 3);
    f.rainSinceMidnight = fieldAfter(part, 'P', 3);
    f.humidity = fieldAfter(part, 'h', 2);
    // A humidity kept in a signed byte where -1 means unknown: a negative one cannot be told apart from it
    // and would give a dew point that is not a number.
    if (f.humidity && *f.humidity < 0) f.humidity.reset();
    // Two digits cannot hold 100: the protocol writes it "h00".
    if (f.humidity && *f.humidity == 0) f.humidity = 100;
    f.pressureTenths = fieldAfter(part, 'b', 5);
    if (!f.direction && !f.speed) {
        // The UI-View form "ddd/sss" of direction and speed.
        const std::size_t slash = part.find('/');
        if (slash != std::string_view::npos && slash >= 3 && part.size() - slash - 1 >= 3) {
            const auto direction = strictToInt(part.substr(slash - 3, 3));
            const auto speed = strictToInt(part.substr(slash + 1, 3));
            if (direction && speed) {
                f.direction = direction;
                f.speed = speed;
            }
        }
    }
    return f;
}

double aprsSpeedFactor(AprsSpeedUnit unit) {
    switch (unit) {
        case AprsSpeedUnit::Mph: return 1.609344;
        case AprsSpeedUnit::Knot: return 1.852;
        case AprsSpeedUnit::Kmh: break;
    }
    return 1.0;
}

std::optional<AprsReading> decodeAprsFile(std::string_view bytes, const AprsReadParameters& p) {
    std::vector<std::string_view> lines = splitLines(bytes);
    std::erase_if(lines, [](std::string_view l) { return l.empty(); });
    if (lines.empty()) return std::nullopt;

    AprsReading r;
    r.lineCount = lines.size();
    const std::string_view weatherLine = lines.back();
    const AprsWeatherFields& f = r.fields = decodeAprsWeatherPart(aprsWeatherPart(weatherLine));
    const double speedFactor = aprsSpeedFactor(p.units.speed);

    r.observedAt = p.observedAt;
    if (p.fileWriteTime && *p.fileWriteTime > r.observedAt) r.observedAt = *p.fileWriteTime;
    r.pressureOffset = p.pressureOffset;

    if (f.gust) {
        r.gustSpeed = *f.gust * speedFactor;
        r.hasGustSpeed = true;
    }
    if (f.temperature && *f.temperature >= -70) {
        r.tempExt = *f.temperature;
        if (p.units.temperature == AprsTemperatureUnit::Fahrenheit) r.tempExt = (*f.temperature - 32) * 5.0 / 9.0;
        r.hasTempExt = true;
    }
    if (f.rain24h) {
        r.rain24h = *f.rain24h;
        if (p.units.rain == AprsRainUnit::HundredthInch) r.rain24h = *f.rain24h * 25.4 / 100.0;
        r.hasRain24h = true;
    }
    if (f.humidity) {
        r.humidityExt = *f.humidity;
        r.hasHumidityExt = true;
    }
    if (f.pressureTenths) {
        r.pressure = p.pressureOffset + *f.pressureTenths / 10.0;
        r.hasPressure = true;
    }
    if (f.speed) {
        r.windSpeed = *f.speed * speedFactor;
        r.hasWindSpeed = true;
    }
    if (f.direction && *f.direction >= 0 && *f.direction <= 359) {
        r.windDirection = *f.direction;
        r.hasWindDirection = true;
    }

    // Unlike the station sources, no validity test: a red temperature still gives its wind chill.
    if (r.windSpeed >= 5.0 && r.tempExt != kAprsNoTemperature) {
        const double t = r.tempExt;
        r.feelsLike = 13.12 + 0.6215 * t + (0.3965 * t - 11.37) * std::pow(r.windSpeed, 0.16);
        r.hasFeelsLike = true;
    }
    if (r.hasHumidityExt && r.tempExt != kAprsNoTemperature) {
        const double t = r.tempExt;
        r.dewPoint = std::pow(r.humidityExt / 100.0, 0.125) * (112 + 0.9 * t) + 0.1 * t - 112;
    }

    if (lines.size() >= 2) {
        const std::string_view timeLine = lines[lines.size() - 2];
        if (timeLine.size() == kTimeLineLength && timeLine.find(':') == 14) {
            r.dateText = cp1252ToUtf8(timeLine);
            if (const auto at = timeLineDateTime(timeLine)) {
                r.observedAt = p.timeBase == AprsTimeBase::Utc ? *at - p.biasMinutes / 1440.0 : *at;
                r.timeFromText = true;
            }
        }
    } else {
        r.forceLocalTime = true;
        PacketTime heard = packetTime(weatherLine);
        r.dateText = cp1252ToUtf8(heard.text);
        if (heard.at) {
            r.observedAt = *heard.at;
            r.timeFromText = true;
        }
    }

    r.beaconLine = aprsBeaconLine(r);
    return r;
}

std::string aprsBeaconLine(const AprsReading& r) {
    std::string line;
    if (r.hasTempExt) line += " TEMP " + formatFixed(r.tempExt, 0, '.') + "C";
    if (r.hasPressure && r.fields.pressureTenths) {
        line += " = QNH " + std::to_string(roundHalfEven(*r.fields.pressureTenths / 10.0)) + "hPa";
    }
    if (r.hasWindSpeed && r.windSpeed >= 0) line += " = WS " + std::to_string(roundHalfEven(r.windSpeed)) + "kmh";
    if (r.hasFeelsLike) line += " = WCT " + std::to_string(roundHalfEven(r.feelsLike)) + "C";
    if (r.hasHumidityExt) line += " = HUM " + std::to_string(r.humidityExt);
    line += ' ';
    return line;
}

std::string aprsBeaconFileBytes(std::string_view beaconLine) { return utf8ToCp1252(beaconLine) + "\r\n"; }

void AprsReading::storeInto(WeatherReading& reading) const {
    reading.observedAt = observedAt;
    reading.pressureOffset = pressureOffset;
    reading.tempExt = tempExt;
    reading.feelsLike = feelsLike;
    if (dewPoint) reading.dewPoint = *dewPoint;
    reading.pressure = pressure;
    reading.windSpeed = windSpeed;
    reading.gustSpeed = gustSpeed;
    reading.windDirection = windDirection;
    reading.humidityExt = humidityExt;
    reading.rain24h = rain24h;
}

}  // namespace tintal

#include "weather/web/metar.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

#include "base/date_time.h"
#include "base/numbers.h"
#include "base/text_encoding.h"
#include "weather/web/page_lines.h"

namespace tintal {
namespace {

constexpr double kKnotToKmh = 1.852;
constexpr double kMetrePerSecondToKmh = 3.6;
constexpr double kHundredthInchHgToHpa = 0.338639;
constexpr double kKmPerMile = 1.609344;
constexpr int kLowestTemperature = -70;  // below it the temperature counts as missing
constexpr int kHumidityCap = 99;         // equal temperature and dew point read 99, never 100

constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Serial day range that the calendar helpers accept (years 1 to 9999).
constexpr double kFirstDay = -693593.0;
constexpr double kLastDay = 2958465.0;

bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

// Removes tags: each "<" up to the next ">" goes; a "<" with no ">" after it, or with a stray ">" before
// it, takes everything before it along. Done in one pass because pages often hold one very long line.
std::string stripMarkup(std::string_view s) {
    constexpr auto npos = std::string_view::npos;
    std::string out;
    std::size_t pos = 0;
    std::size_t nextLt = s.find('<');
    std::size_t nextGt = s.find('>');
    // The kept text never holds a ">", so the first ">" of the whole line is always nextGt.
    while (nextLt != npos) {
        if (nextGt != npos && nextLt < nextGt) {
            out.append(s.substr(pos, nextLt - pos));
            pos = nextGt + 1;
        } else {
            out.clear();
            pos = nextLt + 1;
        }
        nextLt = s.find('<', pos);
        if (nextGt != npos && nextGt < pos) nextGt = s.find('>', pos);
    }
    out.append(s.substr(pos));
    return out;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
    return s;
}

// The four characters after `key`, when the address has them.
std::string codeAfter(std::string_view address, std::string_view key) {
    const std::size_t at = address.find(key);
    if (at == std::string_view::npos) return {};
    return std::string(address.substr(at + key.size(), 4));
}

// Characters [from, to) of a token, empty when the range is empty or outside it.
std::string_view slice(std::string_view token, std::size_t from, std::size_t to) {
    if (from >= token.size() || to <= from) return {};
    return token.substr(from, to - from);
}

std::optional<int> windPart(std::string_view part) {
    if (contains(part, "/")) return std::nullopt;
    return strictToInt(part);
}

// "M05" is -5; any other part is converted as it stands.
std::optional<int> temperaturePart(std::string_view part) {
    if (!part.empty() && part.front() == 'M') {
        const auto value = strictToInt(slice(part, 1, 3));
        if (!value) return std::nullopt;
        return -*value;
    }
    return strictToInt(part);
}

// Reports from some services carry the report type ("METAR", "SPECI", optionally "COR") before the
// station and an end-of-message "="; without this the station would read "METAR" and the last group
// ("Q1011=") would not convert.
std::string_view withoutEnvelope(std::string_view report) {
    for (std::string_view type : {"METAR ", "SPECI "}) {
        if (report.starts_with(type)) {
            report.remove_prefix(type.size());
            if (report.starts_with("COR ")) report.remove_prefix(4);
            break;
        }
    }
    while (report.ends_with('=')) report.remove_suffix(1);
    return report;
}

std::vector<std::string_view> tokensOf(std::string_view report) {
    std::vector<std::string_view> tokens;
    std::size_t start = 0;
    while (tokens.size() < kMetarMaxTokens) {
        const std::size_t space = report.find(' ', start);
        if (space == std::string_view::npos) {
            tokens.push_back(report.substr(start));
            break;
        }
        tokens.push_back(report.substr(start, space - start));
        start = space + 1;
    }
    return tokens;
}

std::string twoDigits(int value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d", value);
    return buffer;
}

// Sign, then at least `digits` digits: -6 with 3 digits is "-006".
std::string padded(long long value, int digits) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%s%0*lld", value < 0 ? "-" : "", digits, value < 0 ? -value : value);
    return buffer;
}

// ddhhmmZ against today's UTC date; a day of 28 or more seen on the 1st belongs to the previous month.
std::optional<MetarObservationTime> observationTime(std::string_view token, double nowLocal, int biasMinutes) {
    const auto day = strictToInt(token.substr(0, 2));
    const auto hour = strictToInt(token.substr(2, 2));
    const auto minute = strictToInt(token.substr(4, 2));
    if (!day || !hour || !minute || *hour < 0 || *hour > 23 || *minute < 0 || *minute > 59) return std::nullopt;
    const double bias = biasMinutes / 1440.0;
    const double nowUtc = nowLocal + bias;
    if (!(nowUtc >= kFirstDay + 31 && nowUtc <= kLastDay)) return std::nullopt;
    const DateTimeFields today = decodeDateTime(nowUtc);
    int year = today.year;
    int month = today.month;
    if (*day != today.day && *day != today.day - 1 && today.day == 1 && *day >= 28) {
        if (--month == 0) {
            month = 12;
            --year;
        }
    }
    if (*day < 1 || *day > daysInMonth(year, month)) return std::nullopt;
    MetarObservationTime t;
    t.utc = encodeDateTime(year, month, *day, *hour, *minute);
    t.observedAt = t.utc - bias;
    if (!(t.observedAt >= kFirstDay && t.observedAt <= kLastDay)) return std::nullopt;
    const DateTimeFields local = decodeDateTime(t.observedAt);
    t.timeStampLine = std::string(kMonths[local.month - 1]) + " " + twoDigits(local.day) + " " + padded(local.year, 4) +
                      " " + twoDigits(local.hour) + ":" + twoDigits(local.minute);
    return t;
}

void decodeWind(std::string_view token, MetarGroups& g) {
    std::size_t suffix = 0;
    if (token.ends_with("KT")) {
        suffix = token.size() - 2;
        g.speedFactor = kKnotToKmh;
    } else if (token.ends_with("KMH")) {
        suffix = token.size() - 3;
        g.speedFactor = 1.0;
    } else {
        suffix = token.size() - 3;
        g.speedFactor = kMetrePerSecondToKmh;
    }
    const std::string_view direction = token.substr(0, 3);
    if (direction == "VRB") {
        g.direction = kVariableDirection;
    } else if (direction != "///") {
        g.direction = strictToInt(direction);
    }
    const std::size_t gustMark = token.find('G');
    if (gustMark != std::string_view::npos) {
        g.speed = windPart(slice(token, 3, gustMark));
        g.gust = windPart(slice(token, gustMark + 1, suffix));
    } else {
        g.speed = windPart(slice(token, 3, suffix));
    }
}

bool isWindGroup(std::string_view token) {
    return token.ends_with("KT") || token.ends_with("KMH") || token.ends_with("MPS");
}

// 12/08, M02/M05, 05/M01. A US visibility such as "M1/4SM" has the same shape and would read as -1 degree.
bool isTemperatureGroup(std::string_view token) {
    const std::size_t slash = token.find('/');
    if (slash != 2 && slash != 3) return false;
    if (token.size() < 5 || token.size() > 7 || contains(token, "//")) return false;
    return !token.ends_with("SM");
}

std::uint32_t weatherBits(std::string_view token) {
    const std::size_t n = token.size();
    if (n < 2 || n > 5) return 0;
    std::uint32_t bits = 0;
    if (n == 3 || n == 5) {
        if (token.front() == '-') {
            bits = kMetarLight;
        } else if (token.front() == '+') {
            bits = kMetarHeavy;
        } else {
            return 0;
        }
    }
    const std::string_view kind = token.substr(n - 2);
    if (kind == "RA") bits |= kMetarRain;
    if (kind == "SN") bits |= kMetarSnow;
    if (kind == "GR") bits |= kMetarHail;
    if (kind == "BR") bits |= kMetarMist;
    if (kind == "FG") bits |= kMetarFog;
    return bits;
}

long long mph(int speed, double factor) { return roundHalfEven(speed * factor / kKmPerMile); }

}  // namespace

MetarPageLine extractMetarLine(std::string_view page, std::string_view address) {
    const std::vector<std::string_view> lines = splitLines(page);
    if (lines.empty()) return {MetarPageError::Empty, {}};

    const std::string url = utf8ToCp1252(address);
    std::string code;
    if (contains(url, kMetarIcaoProviderMarker) && contains(url, "icao=")) code = codeAfter(url, "icao=");
    if (contains(url, kMetarIdsProviderMarker) && contains(url, "ids=")) code = codeAfter(url, "ids=");
    if (code.size() != 4) return {MetarPageError::NoReport, {}};

    for (std::string_view line : lines) {
        const std::size_t p = line.find(code);
        if (p == std::string_view::npos) continue;
        if (p + 11 >= line.size() || line[p + 4] != ' ' || line[p + 11] != 'Z' || contains(line, "TAF:")) continue;
        const std::string text = stripMarkup(line.substr(p));
        return {MetarPageError::None, std::string(trimmed(text))};
    }
    return {MetarPageError::NoReport, {}};
}

std::optional<std::string> metarReportLine(std::string_view file) {
    const std::vector<std::string_view> lines = splitLines(file);
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
        if (!it->empty()) return std::string(*it);
    }
    return std::nullopt;
}

MetarGroups decodeMetarReport(std::string_view report, double nowLocal, int biasMinutes) {
    const std::vector<std::string_view> tokens = tokensOf(withoutEnvelope(report));
    MetarGroups g;
    g.station = cp1252ToUtf8(tokens.front());

    for (std::string_view token : tokens) {
        if (token.size() != 7 || token.back() != 'Z') continue;
        g.time = observationTime(token, nowLocal, biasMinutes);
        if (g.time) break;
        g.timeGroupRejected = true;
    }
    if (g.time) g.timeGroupRejected = false;

    for (std::size_t i = 1; i < tokens.size(); ++i) {
        if (!isWindGroup(tokens[i])) continue;
        decodeWind(tokens[i], g);
        break;
    }
    for (std::size_t i = 1; i < tokens.size(); ++i) {
        if (!isTemperatureGroup(tokens[i])) continue;
        const std::size_t slash = tokens[i].find('/');
        g.temperature = temperaturePart(tokens[i].substr(0, slash));
        g.dewPoint = temperaturePart(tokens[i].substr(slash + 1));
        break;
    }
    for (std::size_t i = 1; i < tokens.size(); ++i) {
        const std::string_view token = tokens[i];
        if (token.size() != 5 || (token.front() != 'Q' && token.front() != 'A')) continue;
        const auto raw = strictToInt(token.substr(1));
        if (!raw) continue;  // "A////": look further
        g.rawPressure = raw;
        g.pressureFactor = token.front() == 'Q' ? 1.0 : kHundredthInchHgToHpa;
        break;
    }
    for (std::size_t i = 1; i < tokens.size(); ++i) {
        g.presentWeather = weatherBits(tokens[i]);
        if (g.presentWeather != 0) break;
    }
    return g;
}

std::optional<std::string> metarPrecipitationCaption(std::uint32_t w) {
    const std::string prefix = "Précipitations = ";
    if (w == 0) return prefix + "--";
    const char* strength = (w & kMetarLight) ? "faible" : (w & kMetarHeavy) ? "forte" : "modérée";
    if (w & kMetarRain) return prefix + "Pluie " + strength;
    if (w & kMetarSnow) return prefix + "Neige " + strength;
    if (w & kMetarHail) return prefix + "Grêle";
    if (w & kMetarMist) return prefix + "Brume";
    if (w & kMetarFog) return prefix + "Brouillard";
    return std::nullopt;
}

MetarFigures metarFigures(const MetarGroups& g, double pressureOffset, bool precipitationShownBefore) {
    MetarFigures f;
    f.presentWeather = g.presentWeather;
    if (g.gust && g.speedFactor != 0) {
        f.gustSpeed = *g.gust * g.speedFactor;
        f.gustShown = true;
    }
    if (g.temperature && *g.temperature >= kLowestTemperature) {
        f.tempExt = *g.temperature;
        f.tempShown = true;
    }
    if (g.rawPressure && *g.rawPressure >= 0 && g.pressureFactor != 0) {
        f.qnh = *g.rawPressure * g.pressureFactor;
        f.pressure = pressureOffset + f.qnh;
        f.pressureShown = true;
    }
    if (g.speed && g.speedFactor != 0) {
        f.windSpeed = *g.speed * g.speedFactor;
        f.windShown = true;
    }
    if (g.direction && ((*g.direction >= 0 && *g.direction <= 360) || *g.direction == kVariableDirection)) {
        f.windDirection = *g.direction;
    }
    // -70 itself is shown as a temperature but, being the missing marker, derives nothing.
    const bool temperatureUsable = f.tempExt != kMetarNoTemperature;
    if (f.windSpeed >= 5.0 && temperatureUsable) {
        const double t = f.tempExt;
        f.feelsLike = 13.12 + 0.6215 * t + (0.3965 * t - 11.37) * std::pow(f.windSpeed, 0.16);
        f.feelsLikeShown = true;
    }
    if (g.dewPoint && temperatureUsable) f.dewPoint = *g.dewPoint;

    f.precipitationCaption = metarPrecipitationCaption(g.presentWeather);
    f.precipitationShown = f.precipitationCaption ? g.presentWeather != 0 : precipitationShownBefore;

    if (g.dewPoint && temperatureUsable) {
        const double td = *g.dewPoint;
        const double t = f.tempExt;
        const double ratio = 100.0 * std::exp(17.625 * td / (243.04 + td)) / std::exp(17.625 * t / (243.04 + t));
        // A dew point just below -243 overflows the exponential; the cap takes that too.
        const long long h = ratio < kHumidityCap ? roundHalfEven(ratio) : kHumidityCap;
        if (h >= 0) {
            f.humidityExt = static_cast<int>(h);
            f.humidityShown = true;
        }
    }
    return f;
}

std::string metarUiViewLine(const MetarGroups& g, const MetarFigures& f) {
    std::string line;
    line += g.direction && *g.direction >= 0 && *g.direction <= 360 ? padded(*g.direction, 3) + "/" : ".../";
    line += f.windShown ? padded(mph(*g.speed, g.speedFactor), 3) : "...";
    line += "g";
    line += f.gustShown ? padded(mph(*g.gust, g.speedFactor), 3) : "...";
    line += "t";
    if (f.tempShown) {
        const long long fahrenheit = roundHalfEven(*g.temperature * 1.8 + 32);
        line += fahrenheit >= 0 ? padded(fahrenheit, 3) : padded(fahrenheit, 2);
    } else {
        line += "...";
    }
    if (!f.precipitationShown) {
        line += "r000";
    } else if (f.presentWeather & kMetarLight) {
        line += "r005";
    } else if (f.presentWeather & kMetarHeavy) {
        line += "r060";
    } else {
        line += "r020";
    }
    line += "p...P...";
    line += "h";
    line += f.humidityShown ? padded(f.humidityExt == 0 ? 1 : f.humidityExt, 2) : "..";
    line += "b";
    line += f.pressureShown ? padded(roundHalfEven(f.qnh), 4) + "0" : ".....";
    return line;
}

std::string metarBeaconLine(const MetarGroups& g, const MetarFigures& f) {
    std::string line;
    if (f.tempShown) line += " TEMP " + std::to_string(*g.temperature) + "C";
    if (f.pressureShown) line += " = QNH " + std::to_string(roundHalfEven(f.qnh)) + "hPa";
    if (f.windShown) line += " = WS " + std::to_string(roundHalfEven(f.windSpeed)) + "kmh";
    if (f.feelsLikeShown) line += " = WCT " + std::to_string(roundHalfEven(f.feelsLike)) + "C";
    if (f.humidityShown) line += " = HUM " + std::to_string(f.humidityExt);
    line += " ";
    return line;
}

std::string metarUiViewFile(std::string_view timeStampLine, std::string_view uiViewLine) {
    return utf8ToCp1252(timeStampLine) + "\r\n" + utf8ToCp1252(uiViewLine) + "\r\n";
}

std::string metarBeaconFile(std::string_view beaconLine) { return utf8ToCp1252(beaconLine) + "\r\n"; }

}  // namespace tintal

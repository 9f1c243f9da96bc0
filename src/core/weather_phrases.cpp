#include "core/weather_phrases.h"

#include <cmath>
#include <optional>

#include "base/numbers.h"
#include "core/number_readings.h"
#include "core/tform1.h"

namespace tintal {

namespace {

using Kind = WeatherSourceKind;

enum class Reading { Signed, Quantity, Pressure };

struct NumberFigure {
    int titleStep, numberStep, nextFigure;
    const char* title;
    const char* unit;
    Reading reading;
    int lower, upper;
};

constexpr NumberFigure kTempInt{12, 13, 18, "son_temp_int", "son_degres", Reading::Signed, -50, 60};
constexpr NumberFigure kTempExt{18, 19, 24, "son_temp_ext", "son_degres", Reading::Signed, -50, 60};
constexpr NumberFigure kPressure{24, 25, 29, "son_pression_atmos", "son_hectopascal", Reading::Pressure, 930, 1050};
constexpr NumberFigure kWind{30, 31, 35, "son_vent", "son_kmh", Reading::Quantity, 0, 199};
constexpr NumberFigure kGust{35, 36, 40, "son_rafale", "son_kmh", Reading::Quantity, 5, 199};
constexpr NumberFigure kFeelsLike{42, 43, 48, "son_temperature_ressentie", "son_degres", Reading::Signed, -75, 60};
constexpr NumberFigure kRain{48, 49, 62, "son_pluie", "son_millimetre", Reading::Quantity, 0, 198};
constexpr NumberFigure kHumidity{62, 54, 58, "son_humidite", "son_pourcent", Reading::Quantity, 0, 100};

// The kinds that provide a figure, as bits of 1 << kind.
constexpr unsigned bit(Kind k) { return 1u << static_cast<int>(k); }
constexpr unsigned kStations = bit(Kind::MON) | bit(Kind::W23) | bit(Kind::W28) | bit(Kind::PRO2);
constexpr unsigned kFiles = bit(Kind::W23) | bit(Kind::W28) | bit(Kind::PRO2);
constexpr unsigned kAll = kStations | bit(Kind::APRS) | bit(Kind::METAR) | bit(Kind::PIOUPIOU);

bool provides(unsigned kinds, Kind kind) { return (kinds & bit(kind)) != 0; }

// A real figure as spoken: nearest integer, halves to even; nothing when it is not a number.
std::optional<int> rounded(double value) {
    if (!std::isfinite(value) || std::fabs(value) > 1e9) return std::nullopt;
    return static_cast<int>(roundHalfEven(value));
}

bool spoken(const NumberFigure& f, std::optional<int> value) { return value && *value >= f.lower && *value <= f.upper; }

// The working value as the figure's steps leave it for the direction rule: a figure not spoken keeps
// its sentinel; a spoken reading takes 100 off as "son100" is said, so a wind of exactly 100 km/h
// counts as no wind and a gust of 100 to 104 as no gust. Out-of-range figures (a faulty sensor's
// 250 km/h) must never count as wind.
int afterReading(const NumberFigure& f, std::optional<int> value, int sentinel) {
    if (!spoken(f, value)) return sentinel;
    return *value > 99 ? *value - 100 : *value;
}

ClipNames numberReading(Reading reading, int value) {
    switch (reading) {
        case Reading::Signed: return signedReading(value);
        case Reading::Quantity: return quantityReading(value);
        case Reading::Pressure: return pressureReading(value);
    }
    return {};
}

std::string compassWord(int d, bool sixteen) {
    if (d == kVariableDirection) return "son_variable";
    if (!sixteen) {
        static const char* const kEight[] = {"son_nord", "son_nord_est",  "son_est",   "son_sud_est",
                                             "son_sud",  "son_sud_ouest", "son_ouest", "son_nord_ouest"};
        return d >= 338 ? "son_nord" : kEight[(d + 22) / 45];
    }
    // Sector bounds as the compass rose is drawn: each 22.5 degrees, the first starting at 349.
    static const int kStarts[] = {12, 34, 57, 79, 102, 124, 147, 169, 192, 214, 237, 259, 282, 304, 327, 349};
    static const char* const kSixteen[] = {
        "son_nord",  "son_nord_nord_est",    "son_nord_est",   "son_est_nord_est",
        "son_est",   "son_est_sud_est",      "son_sud_est",    "son_sud_sud_est",
        "son_sud",   "son_sud_sud_ouest",    "son_sud_ouest",  "son_ouest_sud_ouest",
        "son_ouest", "son_ouest_nord_ouest", "son_nord_ouest", "son_nord_nord_ouest"};
    int sector = 0;
    while (sector < 16 && d >= kStarts[sector]) ++sector;
    return kSixteen[sector % 16];
}

}  // namespace

WeatherSource* WeatherPhrases::source(WeatherSourceKind kind) const {
    for (WeatherSource* s : sources_) {
        if (s->kind() == kind) return s;
    }
    return nullptr;
}

WeatherSource* WeatherPhrases::selectedSource() const {
    for (WeatherSource* s : sources_) {
        if (s->selected()) return s;
    }
    return nullptr;
}

WeatherSourceKind WeatherPhrases::effectiveKind() const {
    WeatherSourceKind effective = Kind::None;
    for (Kind k : {Kind::MON, Kind::W23, Kind::W28, Kind::APRS, Kind::PRO2, Kind::METAR, Kind::PIOUPIOU}) {
        const WeatherSource* s = source(k);
        if (s && s->selected() && isConfigured(*s)) effective = k;
    }
    return effective;
}

bool WeatherPhrases::weatherSkipped(const WeatherSource* s) const {
    if (!s) return true;
    if (s->kind() != Kind::MON && !s->errorText().empty()) return true;
    double limit = 0;
    if (form_.MenuAnnonce1h.checked()) limit = 0.042;
    if (form_.MenuAnnonce2h.checked()) limit = 0.084;
    if (form_.MenuAnnonce3h.checked()) limit = 0.126;
    const double age = s->kind() == Kind::MON ? 0 : form_.clock.fields().now - s->reading().observedAt;
    return limit > 0 && age > limit;
}

StepOutcome WeatherPhrases::run(int step) {
    if (step == 12) {
        const Kind kind = effectiveKind();
        form_.sequencer.effectiveSource = kind;
        speaking_ = source(kind);
        wind_ = -1;
        gust_ = 0;
        direction_ = -1;
        if (weatherSkipped(speaking_)) return {58, {}};
    }
    if (!speaking_) return {58, {}};
    const WeatherReading& r = speaking_->reading();
    const AnnounceFlags flags = speaking_->announceFlags();
    const Kind kind = speaking_->kind();
    const auto take = [&](bool ticked, unsigned kinds, double value) {
        return ticked && provides(kinds, kind) ? rounded(value) : std::nullopt;
    };
    const auto figure = [&](const NumberFigure& f, std::optional<int> value) -> StepOutcome {
        if (!spoken(f, value)) return {f.nextFigure, {}};
        const ClipNames clips = numberReading(f.reading, *value);
        pending_.assign(clips.begin(), clips.end());
        // A quantity of nothing is "nulle" alone, without its unit.
        if (!(f.reading == Reading::Quantity && *value == 0)) pending_.push_back(f.unit);
        afterPending_ = f.nextFigure;
        return {f.numberStep, f.title};
    };
    switch (step) {
        case 12: return figure(kTempInt, take(flags.tempInt, kStations, r.tempInt));
        case 18: return figure(kTempExt, take(flags.tempExt, kAll & ~bit(Kind::PIOUPIOU), r.tempExt));
        case 24: return figure(kPressure, take(flags.pressure, kAll, r.pressure));
        case 29: {
            const int trend = flags.trend && provides(kStations, kind) ? static_cast<int>(r.pressureTrend) : -1;
            static const char* const kTrendWords[] = {"son_stationnaire", "son_en_hausse", "son_en_baisse"};
            if (trend < 0 || trend > 2) return {30, {}};
            return {30, kTrendWords[trend]};
        }
        case 30: {
            const auto wind = take(flags.wind, kAll, r.windSpeed);
            wind_ = afterReading(kWind, wind, -1);
            return figure(kWind, wind);
        }
        case 35: {
            const auto gust = take(flags.gust, kAll, r.gustSpeed);
            gust_ = afterReading(kGust, gust, 0);
            return figure(kGust, gust);
        }
        case 40: return direction();
        case 41: return {42, compassWord(direction_, form_.Menu16secteurs.checked())};
        case 42:
            return figure(kFeelsLike, take(flags.feelsLike, kFiles | bit(Kind::APRS) | bit(Kind::METAR), r.feelsLike));
        case 48:
            if (kind == Kind::METAR) return presentWeather(53);
            return figure(kRain, take(flags.rain, kFiles | bit(Kind::APRS), r.rain24h));
        case 53:
        case 61: return presentWeather(step);
        case 62:
            return figure(kHumidity,
                          take(flags.humidityExt, kFiles | bit(Kind::APRS) | bit(Kind::METAR), r.humidityExt));
        default: return nextClip(step);
    }
}

StepOutcome WeatherPhrases::nextClip(int step) {
    if (pending_.empty()) return {afterPending_, {}};
    std::string clip = pending_.front();
    pending_.pop_front();
    return {pending_.empty() ? afterPending_ : step + 1, clip};
}

StepOutcome WeatherPhrases::direction() {
    const bool ticked = speaking_->announceFlags().direction;
    const bool windBlows = (wind_ > 0 && wind_ <= 199) || (gust_ >= 5 && gust_ <= 199);
    // The compass word says the value tested here: a read landing between the two clips must not
    // turn an accepted direction into an unknown one, or the reverse.
    direction_ = speaking_->reading().windDirection;
    const bool known = (direction_ >= 0 && direction_ <= 359) || direction_ == kVariableDirection;
    if (!ticked || !windBlows || !known) return {42, {}};
    return {41, "son_secteur"};
}

StepOutcome WeatherPhrases::presentWeather(int step) {
    if (step == 61) {
        const std::string word = intensity_;
        intensity_.clear();
        return {62, word};
    }
    const std::uint32_t w = speaking_->reading().presentWeather;
    if (!speaking_->announceFlags().rain || w == 0) return {62, {}};
    constexpr std::uint32_t kLight = 1, kHeavy = 2, kRainBit = 4, kSnow = 8, kHail = 16, kMist = 32, kFog = 64;
    std::string phenomenon;
    if (w & kRainBit)
        phenomenon = "son_pluie_now";
    else if (w & kSnow)
        phenomenon = "son_neige";
    else if (w & kHail)
        phenomenon = "son_grele";
    else if (w & kMist)
        phenomenon = "son_brume";
    else if (w & kFog)
        phenomenon = "son_brouillard";
    if (phenomenon.empty()) return {62, {}};
    intensity_.clear();
    if ((w & (kRainBit | kSnow)) && !(w & (kHail | kMist | kFog))) {
        intensity_ = (w & kLight) ? "son_faible" : (w & kHeavy) ? "son_forte" : "son_moderee";
    }
    return {intensity_.empty() ? 62 : 61, phenomenon};
}

}  // namespace tintal

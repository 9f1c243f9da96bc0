#include "fakes/station_files.h"

#include <algorithm>
#include <bit>
#include <string_view>

namespace tintal {

namespace {

void put(StationBytes& out, std::uint64_t value, int width) {
    for (int i = 0; i < width; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}
void putFloat(StationBytes& out, float value) { put(out, std::bit_cast<std::uint32_t>(value), 4); }
void putAt(StationBytes& out, std::size_t at, std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i) out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

constexpr std::uint32_t kUnused = 0xFFFFFFFFu;

}  // namespace

StationBytes ws2300History(const std::vector<Ws2300FileRecord>& records) {
    StationBytes out;
    out.reserve(records.size() * 36);
    for (const Ws2300FileRecord& r : records) {
        put(out, kUnused, 4);
        put(out, r.seconds, 4);
        putFloat(out, r.pressure);
        putFloat(out, r.wind);
        put(out, static_cast<std::uint32_t>(r.direction), 4);
        putFloat(out, r.rain);
        putFloat(out, r.tempInt);
        putFloat(out, r.tempExt);
        out.insert(out.end(),
                   {static_cast<std::uint8_t>(r.humidityInt), 0xFF, static_cast<std::uint8_t>(r.humidityExt), 0xFF});
    }
    return out;
}

StationBytes ws2800History(const std::vector<Ws2800FileRecord>& records) {
    StationBytes out;
    out.reserve(records.size() * 56);
    for (const Ws2800FileRecord& r : records) {
        put(out, std::bit_cast<std::uint64_t>(r.time), 8);
        putFloat(out, r.absolute);
        putFloat(out, r.relative);
        putFloat(out, r.wind);
        put(out, static_cast<std::uint32_t>(r.direction), 4);
        putFloat(out, r.gust);
        put(out, kUnused, 4);
        putFloat(out, r.rain);
        putFloat(out, r.tempInt);
        putFloat(out, r.tempExt);
        putFloat(out, r.humidityInt);
        putFloat(out, r.humidityExt);
        put(out, kUnused, 4);
    }
    return out;
}

WlkFile& WlkFile::day(int d, std::uint16_t records) {
    days_[d] = records;
    return *this;
}

WlkFile& WlkFile::days(int first, int last, std::uint16_t records) {
    for (int d = first; d <= last; ++d) days_[d] = records;
    return *this;
}

WlkFile& WlkFile::add(const WlkFileRecord& record, int times) {
    records_.insert(records_.end(), times, record);
    return *this;
}

WlkFile& WlkFile::announce(std::int32_t count) {
    count_ = count;
    return *this;
}

StationBytes WlkFile::bytes() const {
    StationBytes out(212, 0);
    constexpr std::string_view id = "WDAT5.3";
    std::copy(id.begin(), id.end(), out.begin());
    putAt(out, 16, static_cast<std::uint32_t>(count_.value_or(static_cast<std::int32_t>(records_.size()))), 4);
    for (int d = 0; d < 32; ++d) putAt(out, 20 + 6 * d, days_[d], 2);
    out.reserve(out.size() + records_.size() * 88);
    for (const WlkFileRecord& r : records_) {
        const std::size_t at = out.size();
        out.resize(at + 88, 0xEE);
        out[at] = r.type;
        out[at + 1] = r.interval;
        putAt(out, at + 4, r.minutes, 2);
        putAt(out, at + 6, r.tempOut, 2);
        putAt(out, at + 12, r.tempIn, 2);
        putAt(out, at + 14, r.barometer, 2);
        putAt(out, at + 16, r.humOut, 2);
        putAt(out, at + 18, r.humIn, 2);
        out[at + 20] = r.clicks;
        out[at + 21] = r.collector;
        putAt(out, at + 24, r.wind, 2);
        putAt(out, at + 26, r.gust, 2);
        out[at + 28] = r.direction;
    }
    return out;
}

}  // namespace tintal

#include "fakes/wav_builder.h"

namespace tintal {

namespace {

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void append(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& more) {
    out.insert(out.end(), more.begin(), more.end());
}

}  // namespace

std::vector<std::uint8_t> chunk(const std::string& id, const std::vector<std::uint8_t>& body, bool pad) {
    std::vector<std::uint8_t> out(id.begin(), id.end());
    put32(out, static_cast<std::uint32_t>(body.size()));
    append(out, body);
    if (pad && body.size() % 2 == 1) out.push_back(0);
    return out;
}

std::vector<std::uint8_t> rampSamples(std::size_t length) {
    std::vector<std::uint8_t> samples(length);
    for (std::size_t i = 0; i < length; ++i) samples[i] = static_cast<std::uint8_t>((i * 7 + i / 251) & 0xFF);
    return samples;
}

std::vector<std::uint8_t> buildWav(const WavSpec& spec, const std::vector<std::uint8_t>& samples) {
    std::vector<std::uint8_t> format;
    put16(format, spec.formatTag);
    put16(format, spec.channels);
    put32(format, spec.samplesPerSecond);
    put32(format, spec.bytesPerSecond);
    put16(format, spec.blockAlign);
    put16(format, spec.bitsPerSample);
    format.resize(spec.formatSize, 0);
    std::vector<std::uint8_t> fact;
    put32(fact, static_cast<std::uint32_t>(samples.size() / (spec.blockAlign ? spec.blockAlign : 1)));

    std::vector<std::uint8_t> body{'W', 'A', 'V', 'E'};
    if (spec.formatFirst) append(body, chunk("fmt ", format));
    append(body, chunk("fact", fact));
    if (!spec.formatFirst) append(body, chunk("fmt ", format));
    for (const auto& c : spec.chunksBeforeData) append(body, c);
    if (spec.withData) append(body, chunk("data", samples));
    append(body, chunk("LIST", {'I', 'N', 'F', 'O', 'I', 'N', 'A', 'M', 2, 0, 0, 0, 'x', 0}));
    std::vector<std::uint8_t> out{'R', 'I', 'F', 'F'};
    put32(out, static_cast<std::uint32_t>(body.size()));
    append(out, body);
    return out;
}

}  // namespace tintal

#pragma once
// Builds RIFF WAVE files byte by byte, well-formed or broken on purpose.
#include <cstdint>
#include <string>
#include <vector>

namespace tintal {

struct WavSpec {
    std::uint16_t formatTag = 1;
    std::uint16_t channels = 1;
    std::uint32_t samplesPerSecond = 16000;
    std::uint16_t bitsPerSample = 16;
    std::uint16_t blockAlign = 2;
    std::uint32_t bytesPerSecond = 32000;
    std::uint32_t formatSize = 18;
    bool formatFirst = true;
    bool withData = true;
    // Whole chunks (id, size, body); "= {}" spares GCC's missing-initializer warning to designated initializers.
    std::vector<std::vector<std::uint8_t>> chunksBeforeData = {};
};

std::vector<std::uint8_t> chunk(const std::string& id, const std::vector<std::uint8_t>& body, bool pad = true);
// Sample bytes that differ from one position to the next, so order and completeness can be checked.
std::vector<std::uint8_t> rampSamples(std::size_t length);
std::vector<std::uint8_t> buildWav(const WavSpec& spec, const std::vector<std::uint8_t>& samples);

}  // namespace tintal

#pragma once
// Reads and checks a RIFF WAVE clip as the player does, the first failed check naming the fault.
#include <cstdint>
#include <string>
#include <vector>

#include "core/wave_source.h"
#include "platform/audio_device.h"

namespace tintal {

// The status texts of each check, which differ between files and recorded clips.
struct WaveTexts {
    const char* empty;
    const char* notFound;
    const char* shortHeader;
    const char* shortFormat;
    const char* notPcm;
    const char* channels;
    const char* byteRate;
    const char* chunkId;
    const char* chunkSize;
    const char* chunkBody;
    const char* chunkRead;
    const char* dataLength;
    const char* memory;
    const char* sampleData;
    const char* deviceOpen;
    const char* prepare1;
    const char* write1;
    const char* prepare2;
    const char* write2;
};

// The texts of files and of the clips carried inside the program.
extern const WaveTexts kFileTexts;
extern const WaveTexts kResourceTexts;

// Fills format and data from source; returns the text of the first check that fails, "" when the
// clip is loaded.
std::string readWave(WaveSource& source, const WaveTexts& texts, PcmFormat& format, std::vector<std::uint8_t>& data);

}  // namespace tintal

#include "core/wave_reader.h"

#include <algorithm>
#include <cstring>
#include <ios>
#include <new>

namespace tintal {

const WaveTexts kFileTexts = {"Err: Fichier Wave",         "Err: Nom Fichier Wave",      "Err: Fichier wave",
                              "Err: lecture fichier wave", "Err: fichier non PCM",       "Err: fichier non mono/stéréo",
                              "Err: format fichier wave",  "Err: en-tête fichier wave",  "Err: chunk fichier wave",
                              "Err: chunk2 fichier wave",  "Err: données fichier wave",  "Err: lecture2 fichier wave",
                              "Err: Mem insuffisante",     "Err: lecture3 fichier wave", "Err: ouverture carte son",
                              "Err: PrepareHeader1",       "Err: WaveOutWrite1",         "Err: PrepareHeader2",
                              "Err: WaveOutWrite2"};

const WaveTexts kResourceTexts = {"Err: Res Wave",         "Err: Res Wave",          "Err: Res Wave",
                                  "Err: lecture Res wave", "Err: Res non PCM",       "Err: Res non mono/stéréo",
                                  "Err: format Res wave",  "Err: En-tête Res wave",  "Err: Chunk Res wave",
                                  "Err: chunk2 Res wave",  "Err: données Res wave",  "Err: lecture2 Res wave",
                                  "Err: Mem insuffisante", "Err: lecture3 Res wave", "Err: WaveOutOpen",
                                  "Err: Prepareheader1",   "Err: waveOutWrite1",     "Err: Prepareheader2",
                                  "Err: waveOutWrite2"};

namespace {

std::uint32_t le32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

// Reads and drops n bytes; false when the source ends first.
bool skipBytes(WaveSource& source, std::uint32_t n) {
    std::uint8_t scratch[4096];
    while (n > 0) {
        const std::size_t want = std::min<std::size_t>(n, sizeof scratch);
        if (source.read(scratch, want) != want) return false;
        n -= static_cast<std::uint32_t>(want);
    }
    return true;
}

}  // namespace

std::string readWave(WaveSource& source, const WaveTexts& texts, PcmFormat& format_,
                     std::vector<std::uint8_t>& clipData_) {
    try {
        std::uint8_t header[20];
        if (source.read(header, 20) != 20) return texts.shortHeader;
        // Only the count is checked: the "fmt " chunk must come first, its size is at bytes 16..19.
        const std::uint32_t formatSize = le32(header + 16);
        std::uint8_t format[16] = {};
        const std::size_t kept = std::min<std::uint32_t>(formatSize, sizeof format);
        // A body too short to hold the format fields cannot be trusted either.
        if (formatSize < sizeof format || source.read(format, kept) != kept || !skipBytes(source, formatSize - kept)) {
            return texts.shortFormat;
        }
        if ((le16(format) & 0xFF) != 1) return texts.notPcm;
        const int channels = le16(format + 2) & 0xFF;
        if (channels != 1 && channels != 2) return texts.channels;
        const std::uint32_t samplesPerSecond = le32(format + 4);
        const std::uint32_t bytesPerSecond = le32(format + 8);
        const std::uint16_t blockAlign = le16(format + 12);
        if (static_cast<std::uint64_t>(samplesPerSecond) * blockAlign != bytesPerSecond) return texts.byteRate;
        format_ = PcmFormat{channels, static_cast<int>(samplesPerSecond), static_cast<int>(bytesPerSecond), blockAlign,
                            le16(format + 14)};

        for (;;) {
            std::uint8_t id[4];
            if (source.read(id, 4) != 4) return texts.chunkId;
            std::uint8_t size[4];
            if (std::memcmp(id, "data", 4) == 0) {
                if (source.read(size, 4) != 4) return texts.dataLength;
                const std::uint32_t length = le32(size);
                // A length beyond the end of the clip is short data: say so without reserving memory for it.
                if (length > source.remaining()) return texts.sampleData;
                try {
                    clipData_.resize(length);
                } catch (const std::bad_alloc&) {
                    return texts.memory;
                }
                if (source.read(clipData_.data(), length) != length) return texts.sampleData;
                return {};
            }
            if (source.read(size, 4) != 4) return texts.chunkSize;
            if (!skipBytes(source, le32(size))) return texts.chunkBody;  // no pad byte after an odd size
        }
    } catch (const std::ios_base::failure&) {
        return texts.chunkRead;
    }
}

}  // namespace tintal

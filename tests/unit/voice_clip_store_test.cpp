#include "core/voice_clip_store.h"

#include <gtest/gtest.h>

#include "fakes/memory_clip_store.h"
#include "fakes/temp_folder.h"
#include "fakes/wav_builder.h"

namespace tintal {
namespace {

std::vector<std::uint8_t> bytesOf(const std::optional<std::span<const std::uint8_t>>& clip) {
    return clip ? std::vector<std::uint8_t>(clip->begin(), clip->end()) : std::vector<std::uint8_t>{};
}

struct VoiceRig {
    VoiceRig() {
        for (const char* name : {"SON_IL_EST", "SON5", "SON_HEURES", "SON_MINUTES"}) builtIn.add(name, builtInWav);
    }
    MemoryClipStore builtIn;
    TempFolder folder;
    const std::vector<std::uint8_t> builtInWav = buildWav({}, rampSamples(400));
};

TEST(VoiceClipStore, ARecordingReplacesTheClipOfItsNameInAnyCase) {
    VoiceRig rig;
    WavSpec stereo48k;  // any PCM the player takes
    stereo48k.channels = 2;
    stereo48k.samplesPerSecond = 48000;
    stereo48k.blockAlign = 4;
    stereo48k.bytesPerSecond = 192000;
    const auto own = buildWav(stereo48k, rampSamples(960));
    rig.folder.write("son_il_est.WAV", own);
    const VoiceClipStore voice(rig.builtIn, rig.folder.path().string());
    EXPECT_EQ(bytesOf(voice.find("SON_IL_EST")), own);
    EXPECT_EQ(bytesOf(voice.find("son_Il_Est")), own);
    EXPECT_EQ(bytesOf(voice.find("son5")), rig.builtInWav);  // the others stay built in
    EXPECT_FALSE(voice.find("son85"));
    EXPECT_EQ(voice.replaced(), std::vector<std::string>{"SON_IL_EST"});
    EXPECT_EQ(voice.missing().size(), 149u);
    EXPECT_TRUE(voice.unusable().empty());
    EXPECT_EQ(voice.statusText(), "");
}

TEST(VoiceClipStore, UnusableFilesAreReportedAndTheBuiltInClipIsUsed) {
    VoiceRig rig;
    rig.folder.write("SON5.wav", buildWav({.formatTag = 3}, rampSamples(400)));  // floating point
    rig.folder.write("SON_HEURES.wav", buildWav({.bytesPerSecond = 16000}, rampSamples(400)));
    rig.folder.write("SON_MINUTES.wav", buildWav({.withData = false}, {}));
    rig.folder.write("SON_IL_EST.wav", buildWav({}, {}));
    rig.folder.write("SON_ILEST.wav", buildWav({}, rampSamples(400)));
    rig.folder.write("notes.txt", {'x'});  // not a recording: not looked at
    const VoiceClipStore voice(rig.builtIn, rig.folder.path().string());
    for (const char* name : {"SON5", "SON_HEURES", "SON_MINUTES", "SON_IL_EST"}) {
        EXPECT_EQ(bytesOf(voice.find(name)), rig.builtInWav) << name;
    }
    EXPECT_TRUE(voice.replaced().empty());
    std::vector<std::pair<std::string, std::string>> reported;
    for (const auto& file : voice.unusable()) reported.emplace_back(file.file, file.reason);
    EXPECT_EQ(reported, (std::vector<std::pair<std::string, std::string>>{
                            {"SON5.wav", "fichier non PCM"},
                            {"SON_HEURES.wav", "format fichier wave"},
                            {"SON_ILEST.wav", "nom de clip inconnu"},
                            {"SON_IL_EST.wav", "aucun son"},
                            {"SON_MINUTES.wav", "en-tête fichier wave"},
                        }));
    EXPECT_EQ(voice.statusText(), "Err: voix SON5.wav (fichier non PCM) et 4 autre(s)");
}

TEST(VoiceClipStore, AMissingFolderReplacesNothing) {
    VoiceRig rig;
    const VoiceClipStore voice(rig.builtIn, rig.folder.file("voix"));
    EXPECT_EQ(bytesOf(voice.find("SON5")), rig.builtInWav);
    EXPECT_EQ(voice.missing().size(), 150u);
    EXPECT_EQ(voice.statusText(), "");
}

}  // namespace
}  // namespace tintal

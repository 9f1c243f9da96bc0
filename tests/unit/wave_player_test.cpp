#include "core/wave_player.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

#include "base/date_time.h"
#include "fakes/fake_audio_device.h"
#include "fakes/memory_clip_store.h"
#include "fakes/wav_builder.h"
#include "platform/virtual_event_loop.h"

namespace tintal {
namespace {

struct RecordingHost : PlayerHost {
    std::vector<std::string> failures;
    int finished = 0;
    void clipFailed(const std::string& text) override { failures.push_back(text); }
    void clipFinished() override { ++finished; }
};

struct PlayerRig {
    PlayerRig() : loop(encodeDateTime(2026, 12, 1)), audio(loop), player(loop, audio, store, desktop) {
        player.setHost(&host);
        EXPECT_EQ(player.Alloc_Mem(), "");
    }
    ~PlayerRig() {
        for (const auto& f : files) std::filesystem::remove(f);
    }
    std::string writeFile(const std::vector<std::uint8_t>& bytes) {
        const auto path = std::filesystem::temp_directory_path() /
                          ("tintal_wave_" + std::to_string(reinterpret_cast<std::uintptr_t>(this)) + "_" +
                           std::to_string(files.size()) + ".wav");
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        files.push_back(path);
        return path.string();
    }
    // Plays to the end (or the limit) and returns whether the clip finished.
    bool playToEnd(std::int64_t limitMs = 60000) {
        return loop.advanceUntil([this] { return !player.clipPlaying(); }, limitMs) && host.finished > 0;
    }
    // Each failure must leave nothing behind: the device closed, no clip in flight.
    void expectCleanAfterError() {
        EXPECT_FALSE(player.clipPlaying());
        EXPECT_FALSE(audio.isOpen());
        EXPECT_EQ(audio.opens, audio.closes);
    }

    VirtualEventLoop loop;
    FakeAudioDevice audio;
    MemoryClipStore store;
    FrenchDesktop desktop;
    RecordingHost host;
    WavePlayer player;
    std::vector<std::filesystem::path> files;
};

TEST(WavePlayer, PlaysARecordedClipFoundWithoutRegardToCase) {
    PlayerRig rig;
    const auto samples = rampSamples(12000);
    rig.store.add("SON_HEURES_T", buildWav({}, samples));
    rig.player.PlayWaveResource("Son_Heures_T");
    ASSERT_TRUE(rig.player.clipPlaying());
    EXPECT_EQ(rig.audio.lastFormat, (PcmFormat{1, 16000, 32000, 2, 16}));
    EXPECT_EQ(rig.audio.openedDevices, std::vector<int>{-1});
    rig.loop.processPending();
    EXPECT_TRUE(rig.player.deviceOpen());
    const auto before = rig.loop.monotonicMs();
    ASSERT_TRUE(rig.playToEnd());
    // 12000 bytes at 32000 bytes/s, then the 50 ms gap before the next clip may start.
    EXPECT_GE(rig.loop.monotonicMs() - before, 375 + 50);
    EXPECT_EQ(rig.audio.played, samples);
    EXPECT_EQ(rig.audio.writes.size(), 1u);
    EXPECT_FALSE(rig.player.deviceOpen());
    EXPECT_TRUE(rig.host.failures.empty());
    // The stream stays open a moment for a next clip, then closes when none comes.
    EXPECT_EQ(rig.audio.closes, 0);
    rig.loop.advance(WavePlayer::kKeepOpenMs);
    EXPECT_EQ(rig.audio.closes, 1);
    EXPECT_FALSE(rig.audio.isOpen());
}

TEST(WavePlayer, ConsecutiveClipsShareOneOpeningOfTheDevice) {
    PlayerRig rig;
    rig.store.add("son1", buildWav({}, rampSamples(8000)));
    rig.store.add("son2", buildWav({}, rampSamples(6000)));
    WavSpec stereo;
    stereo.channels = 2;
    stereo.blockAlign = 4;
    stereo.bytesPerSecond = 64000;
    rig.store.add("son3", buildWav(stereo, rampSamples(8000)));
    // Each clip starts from the end of the one before, as the announcement chains them.
    std::vector<std::string> chain{"son1", "son2", "son2", "son3"};
    std::vector<std::int64_t> startedAt;
    struct ChainHost : PlayerHost {
        std::function<void()> next;
        void clipFailed(const std::string&) override {}
        void clipFinished() override { next(); }
    } host;
    host.next = [&] {
        if (startedAt.size() == chain.size()) return;
        startedAt.push_back(rig.loop.monotonicMs());
        rig.player.PlayWaveResource(chain[startedAt.size() - 1]);
    };
    rig.player.setHost(&host);
    host.next();
    rig.loop.advance(10000);
    ASSERT_EQ(startedAt.size(), 4u);
    // Still 50 ms between the end of one clip and the start of the next: 8000 bytes last 250 ms.
    EXPECT_GE(startedAt[1] - startedAt[0], 250 + 50);
    EXPECT_LE(startedAt[1] - startedAt[0], 250 + 50 + 2);
    // The same format plays on the stream already open; another format needs a new one.
    EXPECT_EQ(rig.audio.opens, 2);
    EXPECT_EQ(rig.audio.closes, 2);
    EXPECT_EQ(rig.audio.lastFormat.channels, 2);
    EXPECT_EQ(rig.audio.played.size(), 8000u + 6000u + 6000u + 8000u);
}

TEST(WavePlayer, AnotherOutputDeviceOrAnAbortClosesTheKeptStream) {
    PlayerRig rig;
    rig.store.add("son1", buildWav({}, rampSamples(1000)));
    rig.player.PlayWaveResource("son1");
    ASSERT_TRUE(rig.playToEnd());
    rig.player.setOutputDevice(1);
    rig.player.PlayWaveResource("son1");
    EXPECT_EQ(rig.audio.openedDevices, (std::vector<int>{-1, 1}));
    EXPECT_EQ(rig.audio.closes, 1);
    ASSERT_TRUE(rig.playToEnd());
    rig.player.releaseDevice();  // the safety abort and the program's end
    EXPECT_FALSE(rig.audio.isOpen());
    EXPECT_EQ(rig.audio.closes, 2);
    rig.loop.advance(WavePlayer::kKeepOpenMs);
    EXPECT_EQ(rig.audio.closes, 2);
}

TEST(WavePlayer, FeedsTwoBuffersAndRefillsAsEachComesBack) {
    const struct {
        std::size_t length;
        std::vector<std::size_t> writes;
    } cases[] = {
        {88200, {88200}},
        {88201, {88200, 1}},
        {3 * 88200 + 100, {88200, 88200, 88200, 100}},
        {5080, {5080}},
    };
    for (const auto& c : cases) {
        PlayerRig rig;
        const auto samples = rampSamples(c.length);
        const std::string path = rig.writeFile(buildWav({}, samples));
        rig.player.PlayWaveFile(path);
        ASSERT_TRUE(rig.playToEnd()) << c.length;
        EXPECT_EQ(rig.audio.writes, c.writes) << c.length;
        EXPECT_EQ(rig.audio.played, samples) << c.length;
        EXPECT_LE(rig.audio.maxInFlight, 2);
        EXPECT_EQ(rig.player.queuedCount(), static_cast<int>(c.writes.size()));
        EXPECT_EQ(rig.player.doneCount(), static_cast<int>(c.writes.size()));
        EXPECT_EQ(rig.host.finished, 1);
    }
}

TEST(WavePlayer, AcceptsWhatTheChecksAllow) {
    WavSpec withList;
    withList.chunksBeforeData.push_back(chunk("LIST", {'I', 'N', 'F', 'O'}));
    WavSpec oddChunk;  // no pad byte follows an odd size, and none is skipped
    oddChunk.chunksBeforeData.push_back(chunk("junk", {1, 2, 3}, false));
    WavSpec eightBit;
    eightBit.samplesPerSecond = 8000, eightBit.bitsPerSample = 8, eightBit.blockAlign = 1,
    eightBit.bytesPerSecond = 8000;
    WavSpec stereo24;
    stereo24.channels = 2, stereo24.samplesPerSecond = 44100, stereo24.bitsPerSample = 24, stereo24.blockAlign = 6;
    stereo24.bytesPerSecond = 264600;
    WavSpec shortFormat;
    shortFormat.formatSize = 16;
    for (const WavSpec& spec : {withList, oddChunk, eightBit, stereo24, shortFormat}) {
        PlayerRig rig;
        rig.player.PlayWaveFile(rig.writeFile(buildWav(spec, rampSamples(3000))));
        EXPECT_TRUE(rig.host.failures.empty()) << (rig.host.failures.empty() ? "" : rig.host.failures[0]);
        EXPECT_TRUE(rig.playToEnd());
        EXPECT_EQ(rig.audio.played, rampSamples(3000));
        EXPECT_EQ(rig.audio.lastFormat.bitsPerSample, spec.bitsPerSample);
    }
}

// The first failing check gives its text; file and recorded-clip texts differ.
TEST(WavePlayer, RefusesBrokenFilesWithTheTextOfTheFirstFailingCheck) {
    const auto wav = [](WavSpec spec) { return buildWav(spec, rampSamples(2000)); };
    const auto cut = [](std::vector<std::uint8_t> bytes, std::size_t size) {
        bytes.resize(size);
        return bytes;
    };
    WavSpec floatTag;
    floatTag.formatTag = 3;
    WavSpec extensible;
    extensible.formatTag = 0xFFFE;
    WavSpec tagHighByte;  // only the low byte of the tag counts
    tagHighByte.formatTag = 0x0101;
    WavSpec threeChannels;
    threeChannels.channels = 3;
    WavSpec badRate;
    badRate.bytesPerSecond = 32001;
    WavSpec noData;
    noData.withData = false;
    WavSpec factFirst;
    factFirst.formatFirst = false;
    const auto good = wav({});
    // Offsets in the good file: fmt body at 20 (18 bytes), fact chunk at 38 (12), data id at 50, its length at 54.
    const struct {
        std::vector<std::uint8_t> bytes;
        const char* fileText;
        const char* resourceText;
    } cases[] = {
        {cut(good, 19), "Err: Fichier wave", "Err: Res Wave"},
        {cut(good, 30), "Err: lecture fichier wave", "Err: lecture Res wave"},
        {wav(floatTag), "Err: fichier non PCM", "Err: Res non PCM"},
        {wav(extensible), "Err: fichier non PCM", "Err: Res non PCM"},
        {wav(threeChannels), "Err: fichier non mono/stéréo", "Err: Res non mono/stéréo"},
        {wav(badRate), "Err: format fichier wave", "Err: format Res wave"},
        // The size read as the "fmt " size is then the fact chunk's: too short for a format.
        {wav(factFirst), "Err: lecture fichier wave", "Err: lecture Res wave"},
        {cut(good, 40), "Err: en-tête fichier wave", "Err: En-tête Res wave"},
        {cut(good, 44), "Err: chunk fichier wave", "Err: Chunk Res wave"},
        {cut(good, 46), "Err: chunk2 fichier wave", "Err: chunk2 Res wave"},
        {cut(good, 56), "Err: lecture2 fichier wave", "Err: lecture2 Res wave"},
        {cut(good, 60), "Err: lecture3 fichier wave", "Err: lecture3 Res wave"},
        {wav(noData), "Err: en-tête fichier wave", "Err: En-tête Res wave"},
    };
    for (const auto& c : cases) {
        PlayerRig rig;
        rig.player.PlayWaveFile(rig.writeFile(c.bytes));
        EXPECT_EQ(rig.host.failures, std::vector<std::string>{c.fileText});
        rig.expectCleanAfterError();
        rig.store.add("son0", c.bytes);
        rig.player.PlayWaveResource("son0");
        ASSERT_EQ(rig.host.failures.size(), 2u);
        EXPECT_EQ(rig.host.failures[1], c.resourceText) << c.fileText;
        rig.expectCleanAfterError();
        EXPECT_EQ(rig.audio.opens, 0) << c.fileText;
    }
    PlayerRig rig;
    rig.player.PlayWaveFile(rig.writeFile(wav(tagHighByte)));
    EXPECT_TRUE(rig.host.failures.empty());
}

TEST(WavePlayer, MissingAndEmptyNames) {
    PlayerRig rig;
    rig.player.PlayWaveFile("");
    rig.player.PlayWaveResource("");
    rig.player.PlayWaveFile("/nonexistent/tintal.wav");
    rig.player.PlayWaveResource("son85");
    EXPECT_EQ(rig.host.failures, (std::vector<std::string>{"Err: Fichier Wave", "Err: Res Wave",
                                                           "Err: Nom Fichier Wave", "Err: Res Wave"}));
    EXPECT_EQ(rig.desktop.beeps, 2);                                           // only the empty requests beep
    rig.player.PlayWaveFile(std::filesystem::temp_directory_path().string());  // a folder is no file
    EXPECT_EQ(rig.host.failures.back(), "Err: Nom Fichier Wave");
}

TEST(WavePlayer, DeviceFailuresCloseTheDevice) {
    const struct {
        bool failOpen;
        int prepare, write;
        std::size_t length;
        const char* fileText;
        const char* resourceText;
    } cases[] = {
        {true, 0, 0, 1000, "Err: ouverture carte son", "Err: WaveOutOpen"},
        {false, 1, 0, 1000, "Err: PrepareHeader1", "Err: Prepareheader1"},
        {false, 0, 1, 1000, "Err: WaveOutWrite1", "Err: waveOutWrite1"},
        {false, 2, 0, 100000, "Err: PrepareHeader2", "Err: Prepareheader2"},
        {false, 0, 2, 100000, "Err: WaveOutWrite2", "Err: waveOutWrite2"},
        {false, 3, 0, 200000, "Erreur prepare hdr3 wave", "Erreur prepare hdr3 wave"},
        {false, 0, 3, 200000, "Erreur wave_out_write3 wave", "Erreur wave_out_write3 wave"},
    };
    for (const auto& c : cases) {
        PlayerRig rig;
        rig.audio.failOpen = c.failOpen;
        rig.audio.failPrepareCall = c.prepare;
        rig.audio.failWriteCall = c.write;
        const auto bytes = buildWav({}, rampSamples(c.length));
        rig.player.PlayWaveFile(rig.writeFile(bytes));
        rig.loop.advance(20000);
        rig.store.add("son1", bytes);
        rig.player.PlayWaveResource("son1");
        rig.loop.advance(20000);
        EXPECT_EQ(rig.host.failures, (std::vector<std::string>{c.fileText, c.resourceText}));
        EXPECT_EQ(rig.host.finished, 0);
        rig.expectCleanAfterError();
    }
}

TEST(WavePlayer, ARequestWhilePlayingIsIgnored) {
    PlayerRig rig;
    rig.store.add("son1", buildWav({}, rampSamples(8000)));
    rig.store.add("son2", buildWav({}, rampSamples(9000)));
    rig.player.PlayWaveResource("son1");
    rig.player.PlayWaveResource("son2");
    EXPECT_TRUE(rig.host.failures.empty());
    ASSERT_TRUE(rig.playToEnd());
    EXPECT_EQ(rig.audio.played.size(), 8000u);
    EXPECT_EQ(rig.audio.opens, 1);
}

TEST(WavePlayer, ADeviceThatNeverHandsBackEndsTheClipAsAnError) {
    PlayerRig rig;
    rig.audio.stall = true;
    rig.store.add("son1", buildWav({}, rampSamples(32000)));  // one second
    rig.player.PlayWaveResource("son1");
    rig.loop.advance(1000 + WavePlayer::kStallMarginMs - 10);
    EXPECT_TRUE(rig.player.clipPlaying());
    rig.loop.advance(20);
    EXPECT_EQ(rig.host.failures, std::vector<std::string>{"Err: carte son muette"});
    rig.expectCleanAfterError();
}

TEST(WavePlayer, TheOutputDeviceChoiceTakesEffectWithTheNextClip) {
    PlayerRig rig;
    rig.store.add("son1", buildWav({}, rampSamples(1000)));
    rig.player.setOutputDevice(1);
    rig.player.PlayWaveResource("son1");
    ASSERT_TRUE(rig.playToEnd());
    EXPECT_EQ(rig.audio.openedDevices, std::vector<int>{1});
}

}  // namespace
}  // namespace tintal

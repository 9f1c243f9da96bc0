// The companion block as the other program writes and reads it, and the in-memory channel that
// stands in for the named objects in the window tests.
#include "radio/companion_message.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "fakes/fake_companion_channel.h"

namespace tintal {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

// A whole block on the heap, exactly kCompanionBlockSize long, so that AddressSanitizer catches
// a read past its end.
Bytes blockWith(std::uint32_t length, std::uint8_t fill = 'A') {
    Bytes block(kCompanionBlockSize, fill);
    for (int i = 0; i < 4; ++i) block[i] = static_cast<std::uint8_t>(length >> (8 * i));
    return block;
}

TEST(CompanionMessage, EncodesTheLengthLittleEndianThenTheWindows1252Text) {
    EXPECT_EQ(encodeCompanionMessage(kTintalHello),
              (Bytes{12, 0, 0, 0, 'T', 'I', 'N', 'T', 'A', 'L', '_', 'H', 'E', 'L', 'L', 'O'}));

    // "connecté" is 15 characters, 15 bytes: the é is one byte, 0xE9, the last of the block's message.
    const Bytes connected = encodeCompanionMessage(kTintalConnected);
    ASSERT_EQ(connected.size(), 4u + 15u);
    EXPECT_EQ(Bytes(connected.begin(), connected.begin() + 4), (Bytes{15, 0, 0, 0}));
    EXPECT_EQ(connected.back(), 0xE9);
    EXPECT_EQ(Bytes(connected.begin() + 4, connected.end() - 1), bytesOf("TINTAL connect"));

    const Bytes disconnected = encodeCompanionMessage(kTintalDisconnected);
    ASSERT_EQ(disconnected.size(), 4u + 17u);
    EXPECT_EQ(disconnected[0], 17);
    EXPECT_EQ(disconnected[4 + 8], 0xE9);  // "TINTAL d|é"
    EXPECT_EQ(disconnected.back(), 0xE9);

    // Lengths past one byte: the low byte first.
    const Bytes long300 = encodeCompanionMessage(std::string(300, 'x'));
    EXPECT_EQ(Bytes(long300.begin(), long300.begin() + 4), (Bytes{0x2C, 0x01, 0, 0}));
    EXPECT_EQ(long300.size(), 304u);
}

TEST(CompanionMessage, EncodingCutsWhatTheBlockCannotHoldAndReplacesForeignCharacters) {
    const Bytes big = encodeCompanionMessage(std::string(70000, 'x'));
    ASSERT_EQ(big.size(), kCompanionBlockSize);
    EXPECT_EQ(Bytes(big.begin(), big.begin() + 4), (Bytes{0xFC, 0xFF, 0, 0}));  // 65532

    // The euro sign has a byte of its own; a Greek letter has none.
    EXPECT_EQ(encodeCompanionMessage("5 € λ"), (Bytes{5, 0, 0, 0, '5', ' ', 0x80, ' ', '?'}));
    EXPECT_EQ(encodeCompanionMessage(""), (Bytes{0, 0, 0, 0}));
}

TEST(CompanionMessage, DecodesOnlyTheDeclaredBytesOfABlockThatHoldsOlderText) {
    Bytes block(kCompanionBlockSize, 0);
    const Bytes older = encodeCompanionMessage(kTintalOccupied);
    std::copy(older.begin(), older.end(), block.begin());
    const Bytes newer = encodeCompanionMessage(kTintalDone);
    std::copy(newer.begin(), newer.end(), block.begin());  // "TINTAL_DONEPIED" lies in the block

    const CompanionMessage message = decodeCompanionMessage(block);
    EXPECT_EQ(message.text, "TINTAL_DONE");
    EXPECT_EQ(message.declaredLength, 11);
    EXPECT_FALSE(message.lengthClamped);

    // Windows-1252 bytes come out as UTF-8, the accents of the clock's own messages included.
    const Bytes accented{5, 0, 0, 0, 'c', 'a', 'f', 0xE9, 0x80};
    EXPECT_EQ(decodeCompanionMessage(accented).text, "café€");
    for (std::string_view text : {kTintalConnected, kTintalDisconnected}) {
        EXPECT_EQ(decodeCompanionMessage(encodeCompanionMessage(text)).text, text);
    }
}

TEST(CompanionMessage, ALengthPastTheBlockStopsAtItsEndAndANegativeOneReadsAsEmpty) {
    // The largest length that fits is taken as it is.
    const CompanionMessage full = decodeCompanionMessage(blockWith(65532));
    EXPECT_EQ(full.text.size(), 65532u);
    EXPECT_FALSE(full.lengthClamped);

    for (std::uint32_t length : {65533u, 65536u, 1u << 20, 0x7FFFFFFFu}) {
        const CompanionMessage m = decodeCompanionMessage(blockWith(length));
        EXPECT_EQ(m.text, std::string(65532, 'A')) << length;
        EXPECT_TRUE(m.lengthClamped) << length;
        EXPECT_EQ(m.declaredLength, static_cast<std::int32_t>(length));
    }

    for (std::uint32_t length : {0xFFFFFFFFu, 0x80000000u}) {
        const CompanionMessage m = decodeCompanionMessage(blockWith(length));
        EXPECT_EQ(m.text, "") << length;
        EXPECT_TRUE(m.lengthClamped) << length;
        EXPECT_LT(m.declaredLength, 0);
    }

    // Fewer bytes than a block: the end of what was given is the end.
    const Bytes shortBlock{100, 0, 0, 0, 'a', 'b', 'c'};
    EXPECT_EQ(decodeCompanionMessage(shortBlock).text, "abc");
    EXPECT_TRUE(decodeCompanionMessage(shortBlock).lengthClamped);
    EXPECT_EQ(decodeCompanionMessage(Bytes{1, 0}).text, "");
    EXPECT_TRUE(decodeCompanionMessage(Bytes{}).lengthClamped);

    // A span longer than a block (a caller's mistake) still stops at the block's end.
    Bytes oversized = blockWith(0x7FFFFFFF);
    oversized.resize(kCompanionBlockSize + 100, 'B');
    EXPECT_EQ(decodeCompanionMessage(oversized).text, std::string(65532, 'A'));
}

TEST(CompanionMessage, RequestsAreFoundAnywhereInTheText) {
    EXPECT_TRUE(companionRequests("xx TINTAL_PLAY yy").play);
    EXPECT_FALSE(companionRequests("xx TINTAL_PLAY yy").hello);
    EXPECT_TRUE(companionRequests("TINTAL_HELLO").hello);
    const CompanionRequests both = companionRequests("TINTAL_HELLOTINTAL_PLAY");
    EXPECT_TRUE(both.hello && both.play);
    for (std::string_view text : {kTintalReady, kTintalOccupied, kTintalDone, kTintalConnected, kTintalDisconnected,
                                  std::string_view("tintal_play"), std::string_view("TINTAL_PLA")}) {
        const CompanionRequests none = companionRequests(text);
        EXPECT_FALSE(none.hello || none.play) << text;
    }
}

// The fake's event follows the named event's rules, which the listener logic depends on.
TEST(FakeCompanionChannel, APulseWakesEveryWaiterOnceTheSendersOwnIncludedAndIsLostWithNobodyWaiting) {
    FakeCompanionObjects objects;
    FakeCompanionChannel clock(objects, "clock"), companion(objects, "companion");
    ASSERT_TRUE(clock.open());
    ASSERT_TRUE(companion.open());

    // Nobody waits: the message is written but the pulse is gone.
    ASSERT_TRUE(companion.sendText(kTintalHello));
    EXPECT_EQ(clock.waitForPulse(30), CompanionChannel::Wake::TimedOut);
    EXPECT_EQ(clock.readText(), "TINTAL_HELLO");

    auto clockWake = std::async(std::launch::async, [&] { return clock.waitForPulse(5000); });
    auto companionWake = std::async(std::launch::async, [&] { return companion.waitForPulse(5000); });
    ASSERT_TRUE(objects.waitForWaiters(2, 5000));
    ASSERT_TRUE(clock.sendText(kTintalConnected));
    EXPECT_EQ(clockWake.get(), CompanionChannel::Wake::Pulsed);
    EXPECT_EQ(companionWake.get(), CompanionChannel::Wake::Pulsed);
    EXPECT_EQ(companion.readText(), "TINTAL connecté");
    EXPECT_EQ(objects.block()[4 + 14], 0xE9);

    // Woken once: the next wait does not see the same pulse again.
    EXPECT_EQ(companion.waitForPulse(30), CompanionChannel::Wake::TimedOut);
    EXPECT_EQ(objects.sentTexts("clock"), (std::vector<std::string>{"TINTAL connecté"}));
    EXPECT_EQ(objects.sentTexts("companion"), (std::vector<std::string>{"TINTAL_HELLO"}));
    EXPECT_EQ(objects.pulses(), 2);
}

TEST(FakeCompanionChannel, InterruptEndsTheWaitOfItsOwnChannelUntilTheNextOpen) {
    FakeCompanionObjects objects;
    FakeCompanionChannel clock(objects, "clock"), companion(objects, "companion");
    ASSERT_TRUE(clock.open());
    ASSERT_TRUE(companion.open());
    auto clockWake = std::async(std::launch::async, [&] { return clock.waitForPulse(CompanionChannel::kNoTimeout); });
    auto companionWake = std::async(std::launch::async, [&] { return companion.waitForPulse(300); });
    ASSERT_TRUE(objects.waitForWaiters(2, 5000));
    clock.interrupt();
    EXPECT_EQ(clockWake.get(), CompanionChannel::Wake::Interrupted);
    EXPECT_EQ(companionWake.get(), CompanionChannel::Wake::TimedOut);  // the other side is not woken
    EXPECT_EQ(clock.waitForPulse(CompanionChannel::kNoTimeout), CompanionChannel::Wake::Interrupted);

    clock.close();
    EXPECT_EQ(clock.waitForPulse(0), CompanionChannel::Wake::Failed);
    ASSERT_TRUE(clock.open());
    EXPECT_EQ(clock.waitForPulse(0), CompanionChannel::Wake::TimedOut);
    EXPECT_EQ(clock.opens(), 2);
    EXPECT_EQ(clock.closes(), 1);
}

TEST(FakeCompanionChannel, ReportsTheFailuresTheWindowShows) {
    FakeCompanionObjects objects;
    FakeCompanionChannel clock(objects, "clock"), companion(objects, "companion");

    // Not open: the send fails as a view that cannot be mapped, and nothing moves.
    CompanionStatus status = clock.sendText(kTintalDone);
    EXPECT_FALSE(status);
    EXPECT_EQ(status.error, kCompanionWriteViewError);
    EXPECT_EQ(objects.pulses(), 0);

    objects.setOpenError("Accès refusé.");
    status = clock.open();
    EXPECT_FALSE(status);
    EXPECT_EQ(status.error, "Accès refusé.");
    EXPECT_FALSE(clock.isOpen());
    objects.setOpenError(std::nullopt);
    ASSERT_TRUE(clock.open());
    ASSERT_TRUE(companion.open());

    // A mutex held elsewhere delays nothing here but is reported, and the message still goes.
    objects.setHoldMutexElsewhere(true);
    status = clock.sendText(kTintalReady);
    EXPECT_TRUE(status);
    EXPECT_EQ(status.mutex, MutexWait::TimedOut);
    EXPECT_EQ(companion.readText(), "TINTAL_READY");
    objects.setHoldMutexElsewhere(false);

    objects.setFailWriteView(true);
    status = clock.sendText(kTintalDone);
    EXPECT_EQ(status.error, "Err: MapViewOfFile");
    EXPECT_EQ(companion.readText(), "TINTAL_READY");  // not written
    EXPECT_EQ(objects.pulses(), 1);                   // not pulsed
    objects.setFailWriteView(false);

    objects.setFailReadView(true);
    CompanionBlock block;
    status = clock.read(block);
    EXPECT_FALSE(status);
    EXPECT_EQ(status.error, "Echec de la récuperation du pointeur");

    // A hostile peer's length is for the decoder to clamp.
    objects.setFailReadView(false);
    const Bytes huge{0xFF, 0xFF, 0xFF, 0x7F};
    objects.poke(0, huge);
    ASSERT_TRUE(clock.read(block));
    EXPECT_EQ(decodeCompanionMessage(block).text.size(), kCompanionMaxTextBytes);
}

}  // namespace
}  // namespace tintal

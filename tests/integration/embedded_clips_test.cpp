#include <gtest/gtest.h>

#include <cstring>

#include "core/clip_catalogue.h"
#include "platform/posix/embedded_clip_store.h"

namespace tintal {
namespace {

std::uint32_t le32(const std::uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24); }

// Every catalogue clip is in the program, in the catalogue's own layout.
TEST(EmbeddedClips, EveryCatalogueClipIsThereInTheCatalogueLayout) {
    EmbeddedClipStore store;
    EXPECT_EQ(EmbeddedClipStore::count(), 150);
    for (std::string_view name : clipNames()) {
        const auto clip = store.find(name);
        ASSERT_TRUE(clip) << name;
        const std::uint8_t* p = clip->data();
        ASSERT_GT(clip->size(), 100u);
        EXPECT_EQ(std::memcmp(p, "RIFF", 4), 0) << name;
        EXPECT_EQ(le32(p + 4) + 8, clip->size()) << name;
        EXPECT_EQ(std::memcmp(p + 8, "WAVEfmt ", 8), 0) << name;
        EXPECT_EQ(le32(p + 16), 18u) << name;
        const std::uint8_t format[18] = {1, 0, 1, 0, 0x80, 0x3E, 0, 0, 0, 0x7D, 0, 0, 2, 0, 16, 0, 0, 0};
        EXPECT_EQ(std::memcmp(p + 20, format, 18), 0) << name;
        EXPECT_EQ(std::memcmp(p + 38, "fact", 4), 0) << name;
        const std::uint8_t* data = p + 38 + 8 + le32(p + 42);
        ASSERT_EQ(std::memcmp(data, "data", 4), 0) << name;
        const std::uint32_t length = le32(data + 4);
        EXPECT_GE(length, 5080u) << name;
        EXPECT_LE(length, 49862u) << name;
        EXPECT_EQ(std::memcmp(data + 8 + length, "LIST", 4), 0) << name;
    }
    EXPECT_TRUE(store.find("son_heures_t"));
    EXPECT_FALSE(store.find("son85"));
}

}  // namespace
}  // namespace tintal

#include "platform/RegistryAccess.h"
#include "platform/fake/FakeRegistry.h"

#include <gtest/gtest.h>

#include <set>

TEST(RegistryData, StringEndsAtFirstNulOrAtTheEndOfTheData) {
    const struct {
        std::string Data;
        std::string Text;
    } cases[] = {
        {std::string("abc\0", 4), "abc"},
        {"abc", "abc"}, // no terminating NUL
        {"", ""},
        {std::string("\0", 1), ""},
        {std::string("ab\0cd\0", 6), "ab"},
        {std::string(100000, 'x'), std::string(100000, 'x')},
    };
    for (const auto& c : cases) EXPECT_EQ(StringFromRegistryData(c.Data), c.Text);
    EXPECT_EQ(RegistryDataFromString("ab"), std::string("ab\0", 3));
}

TEST(RegistryData, DwordIsFourLittleEndianBytes) {
    EXPECT_EQ(RegistryDataFromDword(0x01020304), std::string("\x04\x03\x02\x01", 4));
    std::uint32_t value = 0;
    ASSERT_TRUE(DwordFromRegistryData(RegistryDataFromDword(4294967295u), value));
    EXPECT_EQ(value, 4294967295u);
    EXPECT_FALSE(DwordFromRegistryData("abc", value));
    EXPECT_FALSE(DwordFromRegistryData("abcde", value));
}

TEST(OpenKeyReadOnly, TriesTheThreeAccessRightsInOrder) {
    const struct {
        std::set<std::uint32_t> Refused;
        std::vector<std::uint32_t> Attempts;
        bool Opens;
    } cases[] = {
        {{}, {131097}, true},
        {{131097}, {131097, 131081}, true},
        {{131097, 131081}, {131097, 131081, 1}, true},
        {{131097, 131081, 1}, {131097, 131081, 1}, false},
    };
    for (const auto& c : cases) {
        TFakeRegistry registry;
        registry.PutKey("software\\Test");
        registry.RefusedAccess = c.Refused;
        {
            const TRegKey key = OpenKeyReadOnly(registry, reg::HKeyLocalMachine, "\\software\\Test");
            EXPECT_EQ(static_cast<bool>(key), c.Opens);
            EXPECT_EQ(registry.OpenAttempts, c.Attempts);
        }
        EXPECT_EQ(registry.OpenKeys(), 0);
    }
}

TEST(OpenKeyReadOnly, MissingKeyGivesNoKey) {
    TFakeRegistry registry;
    EXPECT_FALSE(OpenKeyReadOnly(registry, reg::HKeyLocalMachine, "\\software\\Missing"));
}

TEST(OpenOrCreateKey, CreatesWithFullAccessOrReportsTheCode) {
    TFakeRegistry registry;
    TRegKey key;
    EXPECT_EQ(OpenOrCreateKey(registry, reg::HKeyLocalMachine, "\\a\\b\\c", key), 0u);
    EXPECT_TRUE(key);
    EXPECT_TRUE(registry.HasKey("a\\b"));
    EXPECT_EQ(registry.OpenAttempts, std::vector<std::uint32_t>{983103});

    registry.CreateError = 5;
    TRegKey refused;
    EXPECT_EQ(OpenOrCreateKey(registry, reg::HKeyLocalMachine, "\\x", refused), 5u);
    EXPECT_FALSE(refused);
}

#include "settings/ProbeSettingsText.h"

#include <gtest/gtest.h>

TEST(IntegerTextOr, ReadsDecimalIntegersOrFallsBack) {
    const struct {
        std::string Text;
        std::string Result;
    } cases[] = {
        {"9000", "9000"}, {"0080", "80"},    {"", "23560"},         {"http", "23560"},
        {"90 00", "23560"}, {"-5", "-5"},    {"+7", "7"},           {" 12", "12"},
        {"12 ", "23560"}, {"99999999999", "23560"}, {"0x10", "23560"},
    };
    for (const auto& c : cases) EXPECT_EQ(IntegerTextOr(c.Text, 23560), c.Result) << c.Text;
}

TEST(TrimText, RemovesBlanksAndControlCharactersAtBothEnds) {
    EXPECT_EQ(TrimText(" \t127.0.0.1\r\n"), "127.0.0.1");
    EXPECT_EQ(TrimText("a b"), "a b");
    EXPECT_EQ(TrimText("  "), "");
}

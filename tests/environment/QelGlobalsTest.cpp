#include "environment/QelGlobals.h"
#include "platform/QelError.h"
#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>

TEST(InitGlobals, ProgramDirIsTheExecutablesFolder) {
    const struct {
        std::string Module;
        std::string ProgramDir;
    } cases[] = {
        {"C:\\Tools\\VELKProbeAdmin.exe", "C:\\Tools\\"},
        {"C:\\Program Files\\VELK Network Monitor\\VELKProbeAdmin.exe",
         "C:\\Program Files\\VELK Network Monitor\\"},
        {"C:VELKProbeAdmin.exe", "C:"},
        {"VELKProbeAdmin.exe", ""},
    };
    for (const auto& c : cases) {
        TFakePlatform platform;
        platform.System.ModulePath = c.Module;
        InitGlobals();
        EXPECT_EQ(ProductName, "VELK Network Monitor");
        EXPECT_EQ(ProgramDir, c.ProgramDir);
        EXPECT_EQ(LanguageDir, c.ProgramDir + "language\\");
    }
}

TEST(IncludeTrailingBackslash, AppendsUnlessTheLastCharacterIsABackslash) {
    const struct {
        std::string Text;
        std::string Result;
    } cases[] = {
        {"", "\\"},
        {"C:\\Data", "C:\\Data\\"},
        {"C:\\Data\\", "C:\\Data\\"},
        {"D:\\", "D:\\"},
        // 0x95 0x5C is one double-byte character whose second byte looks like a backslash.
        {"C:\\\x95\x5C", "C:\\\x95\x5C\\"},
        {"C:\\\x95\x5C\\", "C:\\\x95\x5C\\"},
        // A lead byte at the very end stands alone.
        {"C:\\\x95", "C:\\\x95\\"},
        // Two lead bytes in a row form one character; the backslash after them is its own.
        {"\x95\x95\\", "\x95\x95\\"},
    };
    TFakePlatform platform;
    platform.System.LeadBytes = {0x95};
    for (const auto& c : cases)
        EXPECT_EQ(IncludeTrailingBackslash(c.Text), c.Result) << c.Text;
}

TEST(DefaultDataDir, BuildsOnTheCommonApplicationDataFolder) {
    const struct {
        std::optional<std::string> Common;
        std::string DataDir;
    } cases[] = {
        {"C:\\ProgramData", "C:\\ProgramData\\Dorvasen\\VELK Network Monitor\\V7\\"},
        {"D:\\", "D:\\Dorvasen\\VELK Network Monitor\\V7\\"},
        {std::nullopt, "\\Dorvasen\\VELK Network Monitor\\V7\\"},
    };
    for (const auto& c : cases) {
        TFakePlatform platform;
        platform.Shell.CommonAppData = c.Common;
        EXPECT_EQ(CommonAppDataDir(), c.Common.value_or(""));
        EXPECT_EQ(DefaultDataDir(), c.DataDir);
    }
}

TEST(ReadFileHead, ReturnsTheFirstBytesAsCrLfLines) {
    const struct {
        std::string Content;
        std::int32_t Limit;
        std::string Text;
    } cases[] = {
        {"", 512, ""},
        {"a\rb\nc", 512, "a\r\nb\r\nc\r\n"},
        {"a\r\nb\r\n", 512, "a\r\nb\r\n"},
        {"a\n\rb", 512, "a\r\n\r\nb\r\n"}, // LF CR is two breaks
        {"a\r\r", 512, "a\r\n\r\n"},
        {std::string(100, 'x'), 512, std::string(100, 'x') + "\r\n"},
        {std::string(2000, 'x'), 512, std::string(512, 'x') + "\r\n"},
        {"ab\r\ncd", 3, "ab\r\n"}, // the cut leaves the CR of a pair
        {std::string("ab\0cd", 5), 512, "ab\r\n"},
        {"abc", 0, ""},
        {"abc", -1, ""},
    };
    for (const auto& c : cases) {
        TFakePlatform platform;
        platform.Files.PutFile("C:\\f.txt", c.Content);
        EXPECT_EQ(ReadFileHead("C:\\f.txt", c.Limit), c.Text);
    }
}

TEST(ReadFileHead, RaisesThePlatformsTextWhenTheFileCannotBeOpened) {
    TFakePlatform platform;
    platform.System.Messages[2] = "The system cannot find the file specified.\r\n";
    platform.System.Messages[32] =
        "The process cannot access the file because it is being used by another process.\r\n";
    platform.Files.PutFile("C:\\held.lng", "x");
    platform.Files.HoldOpen("C:\\held.lng", files::ShareRead | files::ShareWrite);
    try {
        ReadFileHead("C:\\missing.lng", 512);
        FAIL() << "no error";
    } catch (const EQelError& error) {
        EXPECT_EQ(error.Message(), "The system cannot find the file specified");
    }
    try {
        ReadFileHead("C:\\held.lng", 512);
        FAIL() << "no error";
    } catch (const EQelError& error) {
        EXPECT_EQ(error.Message(), "The process cannot access the file because it is being used "
                                   "by another process");
    }
}

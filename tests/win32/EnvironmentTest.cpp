#include "environment/QelGlobals.h"
#include "platform/QelError.h"
#include "platform/SystemErrorText.h"
#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Platform.h"

#include <gtest/gtest.h>

namespace {
class RealEnvironment : public ::testing::Test {
protected:
    TWin32Platform Real;
    TPlatform Previous = Platform();
    void SetUp() override { SetPlatform(Real.Get()); }
    void TearDown() override { SetPlatform(Previous); }
};

std::string TempDir() {
    char buffer[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, buffer);
    return buffer;
}
} // namespace

TEST_F(RealEnvironment, ProgramDirIsTheFolderOfThisExecutable) {
    InitGlobals();
    EXPECT_EQ(ProductName, "VELK Network Monitor");
    ASSERT_GE(ProgramDir.size(), 3u);
    EXPECT_EQ(ProgramDir.substr(1, 2), ":\\");
    EXPECT_EQ(ProgramDir.back(), '\\');
    EXPECT_NE(ProgramDir.find("\\tests\\win32\\"), std::string::npos) << ProgramDir;
    EXPECT_TRUE(Real.Files.FileExists(ProgramDir + "test_win32_foundation.exe"));
    EXPECT_EQ(LanguageDir, ProgramDir + "language\\");
}

TEST_F(RealEnvironment, CommonAppDataDirIsTheSystemsProgramData) {
    EXPECT_EQ(CommonAppDataDir(), "C:\\ProgramData");
    EXPECT_EQ(DefaultDataDir(), "C:\\ProgramData\\Dorvasen\\VELK Network Monitor\\V7\\");
    EXPECT_TRUE(Real.Files.DirectoryExists(CommonAppDataDir()));
}

TEST_F(RealEnvironment, LanguageFolderAnswersToBothSpellings) {
    const std::string base = TempDir() + "velk-globals-test\\";
    CreateDirectoryA(base.c_str(), nullptr);
    CreateDirectoryA((base + "language").c_str(), nullptr);
    const std::string file = base + "language\\English.lng";
    {
        const TFileHandle out = OwnFile(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr,
                                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(out);
        DWORD written = 0;
        WriteFile(out.get(), "name=English\r\n", 14, &written, nullptr);
    }
    EXPECT_EQ(ReadFileHead(base + "language\\English.lng", 512), "name=English\r\n");
    EXPECT_EQ(ReadFileHead(base + "Language\\English.lng", 512), "name=English\r\n");
    EXPECT_TRUE(Real.Files.DirectoryExists(base + "Language"));

    // Held open by a writer: no sharing for our read, so the platform's sharing error.
    {
        const TFileHandle held =
            OwnFile(CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held);
        try {
            ReadFileHead(file, 512);
            ADD_FAILURE() << "no error";
        } catch (const EQelError& error) {
            EXPECT_EQ(error.Message(), SystemErrorText(Real.System, ERROR_SHARING_VIOLATION));
            EXPECT_FALSE(error.Message().empty());
        }
    }
    DeleteFileA(file.c_str());
    RemoveDirectoryA((base + "language").c_str());
    RemoveDirectoryA(base.c_str());
}

TEST_F(RealEnvironment, SystemErrorTextIsTrimmed) {
    const std::string text = SystemErrorText(Real.System, ERROR_ACCESS_DENIED);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), '.');
    EXPECT_NE(text.back(), '\n');
    EXPECT_NE(text.back(), ' ');
}

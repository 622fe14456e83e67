#include "environment/QelGlobals.h"
#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Platform.h"
#include "translation/DorTranslation.h"
#include "translation/QelLanguage.h"

#include <gtest/gtest.h>

namespace {
// The build puts the shipped language files into "language" beside this executable.
class RealLanguageFolder : public ::testing::Test {
protected:
    TWin32Platform Real;
    TPlatform Previous = Platform();
    std::vector<std::string> Written;

    void SetUp() override {
        SetPlatform(Real.Get());
        InitGlobals();
        ASSERT_TRUE(Real.Files.FileExists(LanguageDir + "English.lng"));
    }
    void TearDown() override {
        FreeLanguage();
        for (const std::string& path : Written)
            DeleteFileA(path.c_str());
        SetPlatform(Previous);
    }
    void Write(const std::string& name, const std::string& content) {
        Written.push_back(LanguageDir + name);
        ASSERT_EQ(Real.Files.WriteWholeFile(LanguageDir + name, content), 0u);
    }
};

TEST_F(RealLanguageFolder, EnglishAlone) {
    LoadLanguage("English.lng");
    EXPECT_EQ(AppLanguage->Name, "English");
    EXPECT_EQ(CommonStrings.Attention, "Attention!");
    EXPECT_EQ(Translate("pas.probeadmin.components.CancelButton", "other"), "Cancel");
}

TEST_F(RealLanguageFolder, GermanMergedWithEnglish) {
    LoadLanguage("Deutsch.lng");
    EXPECT_EQ(AppLanguage->Name, "Deutsch");
    EXPECT_EQ(CommonStrings.Attention, "Achtung!");
    EXPECT_EQ(Translate("pas.probeadmin.components.CancelButton", "Cancel"), "Abbrechen");
    EXPECT_EQ(SafeFormat(Translate("pas.admintool.couldnotstarterror", "x"), {"Dienst", "Fehler"}),
              "Dienst konnte nicht gestartet werden: Fehler");
}

TEST_F(RealLanguageFolder, MissingAndBrokenFilesGiveEnglish) {
    Write("Kaputt.lng", "<?xml version=\"1.0\"?>\r\n<language name=\"Kaputt\"><info>");
    for (const char* setting : {"Fehlt.lng", "Kaputt.lng"}) {
        LoadLanguage(setting);
        EXPECT_EQ(CommonStrings.Attention, "Attention!") << setting;
        EXPECT_EQ(Translate("pas.probeadmin.components.CancelButton", "Cancel"), "Cancel");
        FreeLanguage();
    }
}

TEST_F(RealLanguageFolder, TheMergeReportIsWrittenAsAFile) {
    TDorLanguage german, english;
    german.LoadFromFile(LanguageDir + "Deutsch.lng");
    english.Lookup("only.english", "New text");
    Written.push_back(LanguageDir + "report.txt");
    german.Merge(english, LanguageDir + "report.txt");
    std::string report;
    ASSERT_EQ(Real.Files.ReadFileHead(LanguageDir + "report.txt", 1, 1 << 20, report), 0u);
    EXPECT_EQ(report.substr(0, report.find('\n') + 1), "New entry:\tonly.english\tNew text\r\n");
    EXPECT_NE(report.find("Deleted entry:\tpas.probeadmin.title\t"), std::string::npos);
}

TEST_F(RealLanguageFolder, CharsetFollowsTheSystemsAnsiCodePage) {
    Write("NoCodepage.lng", "<l name=\"x\"><info/><translations/></l>");
    TDorLanguage language;
    language.LoadFromFile(LanguageDir + "NoCodepage.lng");
    EXPECT_EQ(Real.System.AnsiCodePage(), GetACP());
    EXPECT_EQ(language.Charset, CharsetOfCodePage(GetACP()));
    EXPECT_FALSE(language.Charset.empty());
}
} // namespace

#include "translation/QelLanguage.h"
#include "environment/QelGlobals.h"
#include "platform/fake/FakePlatform.h"
#include "translation/DorTranslation.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {
std::string Shipped(const std::string& name) {
    std::ifstream file(std::string(VELK_LANGUAGE_SOURCE_DIR) + "/" + name, std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    return content.str();
}

const std::string Folder = "C:\\Program Files\\VELK\\Language\\";

class Loading : public ::testing::Test {
protected:
    TFakePlatform Fake;
    void SetUp() override { ProgramDir = "C:\\Program Files\\VELK\\"; }
    void TearDown() override { FreeLanguage(); }
    void Ship() {
        Fake.Files.PutFile(Folder + "English.lng", Shipped("English.lng"));
        Fake.Files.PutFile(Folder + "Deutsch.lng", Shipped("Deutsch.lng"));
    }
};

TEST_F(Loading, TheShippedGermanFileMergesWithEnglish) {
    Ship();
    LoadLanguage("Deutsch.lng");
    EXPECT_EQ(AppLanguage->Name, "Deutsch");
    EXPECT_FALSE(AppLanguage->Modified) << "both files list the same keys and English texts";
    EXPECT_EQ(CommonStrings.Attention, "Achtung!");
    EXPECT_EQ(SafeFormat(CommonStrings.ServiceNotRunning, {"VELK 7 Probe Service"}),
              "Der Dienst VELK 7 Probe Service l\xE4uft nicht. Wollen Sie ihn starten?");
    EXPECT_EQ(Translate("pas.probeadmin.components.CancelButton", "Cancel"), "Abbrechen");
    EXPECT_EQ(AccessRightNames, (std::vector<std::string>{"-1=Geerbt", "0=Keine", "100=Lesen",
                                                          "200=Schreiben", "400=Vollzugriff"}));
}

TEST_F(Loading, EveryShippedKeyHasAGermanTextAndEveryGermanKeyIsInEnglish) {
    Ship();
    TDorLanguage english, german;
    english.LoadFromFile(Folder + "English.lng");
    german.LoadFromFile(Folder + "Deutsch.lng");
    ASSERT_GT(english.Count(), 0);
    ASSERT_EQ(english.Count(), german.Count());
    for (int i = 0; i < english.Count(); ++i) {
        EXPECT_EQ(english.Items(i).Key, german.Items(i).Key);
        EXPECT_EQ(english.Items(i).Original, german.Items(i).Original);
        EXPECT_FALSE(german.Items(i).Translated.empty()) << german.Items(i).Key;
    }
    for (const char* name : {"English.lng", "Deutsch.lng"}) {
        const std::string head = Shipped(name).substr(0, 512);
        const auto at = head.find("name=\"");
        ASSERT_NE(at, std::string::npos) << name;
        EXPECT_EQ(head.substr(at + 6, head.find('"', at + 6) - at - 6) + ".lng", name);
    }
}

TEST_F(Loading, EnglishIsNotMerged) {
    Ship();
    // The merge would drop a key that English.lng lacks; without it the key stays.
    Fake.Files.PutFile(Folder + "English.lng",
                       Shipped("English.lng")
                           .insert(Shipped("English.lng").find("<translations>") + 14,
                                   "<t><Key>zz.only</Key><Original>Z</Original></t>"));
    for (const char* setting : {"English.lng", "ENGLISH.LNG"}) {
        LoadLanguage(setting);
        EXPECT_TRUE(AppLanguage->Find("zz.only").Found) << setting;
        EXPECT_EQ(CommonStrings.Attention, "Attention!");
        FreeLanguage();
    }
}

TEST_F(Loading, GermanWithoutEnglishKeepsItsOwnKeys) {
    std::string german = Shipped("Deutsch.lng");
    german.insert(german.find("<translations>") + 14,
                  "<t><Key>zz.only</Key><Original>Z</Original><Translated>Zett</Translated></t>");
    Fake.Files.PutFile(Folder + "Deutsch.lng", german);
    LoadLanguage("Deutsch.lng");
    EXPECT_EQ(Translate("zz.only", "Z"), "Zett");
    EXPECT_EQ(CommonStrings.RestartNow, "Jetzt neu starten?");
}

TEST_F(Loading, AnUnusableFileLeavesTheEnglishDefaults) {
    Ship();
    Fake.Files.PutFile(Folder + "NoInfo.lng",
                       "<l><translations><t><Key>common.strings.attention"
                       "</Key><Translated>X</Translated></t></translations></l>");
    Fake.Files.PutFile(Folder + "Broken.lng", "<l><info></l>");
    Fake.Files.PutDirectory(Folder + "Folder.lng");
    for (const char* setting : {"Missing.lng", "", "NoInfo.lng", "Broken.lng", "Folder.lng"}) {
        LoadLanguage(setting);
        EXPECT_EQ(CommonStrings.Attention, "Attention!") << setting;
        EXPECT_EQ(CommonStrings.ServiceRestart,
                  "You must restart the %s for the changes to take effect.");
        EXPECT_EQ(AccessRightNames.size(), 5u);
        FreeLanguage();
        EXPECT_FALSE(AppLanguage);
        EXPECT_TRUE(AccessRightNames.empty());
    }
}

TEST_F(Loading, ABrokenEnglishFileLeavesTheChosenLanguageUnmerged) {
    Ship();
    Fake.Files.PutFile(Folder + "English.lng", "<broken>");
    LoadLanguage("Deutsch.lng");
    EXPECT_EQ(CommonStrings.Attention, "Achtung!");
}
} // namespace

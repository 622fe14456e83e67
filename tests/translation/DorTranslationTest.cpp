#include "translation/DorTranslation.h"
#include "platform/fake/FakePlatform.h"
#include "translation/ECXMLParser.h"

#include <gtest/gtest.h>

namespace {
struct Entry {
    std::string Key, Original, Translated, Comment;
};

std::string LanguageFile(const std::vector<Entry>& entries, const std::string& rootAttributes = "",
                         const std::string& info = "") {
    std::string out = "<?xml version=\"1.0\"?>\r\n<lang" + rootAttributes + ">\r\n<info>" + info +
                      "</info>\r\n<translations>\r\n";
    for (const Entry& e : entries)
        out += "<t><Key>" + e.Key + "</Key><Original>" + e.Original + "</Original><Translated>" +
               e.Translated + "</Translated><Comment>" + e.Comment + "</Comment></t>\r\n";
    return out + "</translations></lang>\r\n";
}

class Catalogue : public ::testing::Test {
protected:
    TFakePlatform Fake;

    TDorLanguage Load(const std::string& content) {
        Fake.Files.PutFile("C:\\l.lng", content);
        TDorLanguage language;
        language.LoadFromFile("C:\\l.lng");
        return language;
    }
    static std::vector<std::string> Keys(const TDorLanguage& language) {
        std::vector<std::string> keys;
        for (int i = 0; i < language.Count(); ++i)
            keys.push_back(language.Items(i).Key);
        return keys;
    }
};

TEST_F(Catalogue, SortsByByteOrderAndTheLaterDuplicateWins) {
    const TDorLanguage language = Load(LanguageFile({{"b", "1", "", ""},
                                                     {"a.b", "first", "", ""},
                                                     {"\xE4", "umlaut", "", ""},
                                                     {"A.b", "upper", "", ""},
                                                     {"a.b", "second", "zwei", ""},
                                                     {"a", "prefix", "", ""}}));
    EXPECT_EQ(Keys(language), (std::vector<std::string>{"A.b", "a", "a.b", "b", "\xE4"}));
    EXPECT_EQ(language.Items(2).Original, "second");
    EXPECT_EQ(language.Items(2).Text(), "zwei");
    EXPECT_FALSE(language.Modified);
    EXPECT_EQ((language.Find("a.a").Found), false);
    EXPECT_EQ(language.Find("a.a").Index, 2);
    EXPECT_EQ(language.Find("b").Index, 3);
    EXPECT_EQ(language.Find("\xFF").Index, 5);
}

TEST_F(Catalogue, ReadsTheLanguageIdentityAndInfo) {
    const TDorLanguage language =
        Load(LanguageFile({}, " id=\"de\" name=\"Deutsch\"",
                          "<VERSION>3</VERSION><codepage>windows-1250</codepage>"
                          "<codepagenumber>70000</codepagenumber><chartfont>Arial</chartfont>"));
    EXPECT_EQ(language.Id, "de");
    EXPECT_EQ(language.Name, "Deutsch");
    EXPECT_EQ(language.Version, "3");
    EXPECT_EQ(language.Codepage, "windows-1250");
    EXPECT_EQ(language.Charset, "windows-1250");
    EXPECT_EQ(language.CodepageNumber, 70000 & 0xFFFF);
    EXPECT_EQ(language.ChartFont, "Arial");

    const TDorLanguage plain = Load(LanguageFile({}, "", "<codepagenumber>x1</codepagenumber>"));
    EXPECT_EQ(plain.Id, "n/a");
    EXPECT_EQ(plain.Name, "<unassigned>");
    EXPECT_EQ(plain.Version, "1");
    EXPECT_EQ(plain.Codepage, "");
    EXPECT_EQ(plain.CodepageNumber, 0);
}

TEST_F(Catalogue, CharsetFollowsTheAnsiCodePage) {
    const std::pair<std::uint32_t, const char*> cases[] = {
        {1251, "windows-1251"}, {874, "windows-874"},   {1258, "windows-1258"},
        {932, "shift_jis"},     {936, "gb2312"},        {949, "ks_c_5601-1987"},
        {950, "big5"},          {1361, "windows-1252"}, {1249, "windows-1252"},
        {437, "windows-1252"}};
    for (const auto& [codePage, charset] : cases) {
        Fake.System.CodePage = codePage;
        EXPECT_EQ(Load(LanguageFile({})).Charset, charset) << codePage;
    }
}

TEST_F(Catalogue, AFileWithoutItsBlocksIsRejectedAndLeavesNoEntries) {
    TDorLanguage language;
    language.Lookup("x", "y");
    Fake.Files.PutFile("C:\\bad.lng", "<lang id=\"xx\"><translations/></lang>");
    try {
        language.LoadFromFile("C:\\bad.lng");
        FAIL();
    } catch (const EQelError& error) {
        EXPECT_EQ(error.Message(),
                  "Wrong format of language file, \"info\" and/or \"translations\" block missing.");
    }
    EXPECT_EQ(language.Count(), 0);
    EXPECT_EQ(language.Id, "n/a");
}

TEST_F(Catalogue, EntriesReadTheirFieldsWhateverTheCase) {
    const TDorLanguage language =
        Load("<l><info/><translations><x><KEY>k</KEY><original>o &amp; p</original>"
             "<changed>1</changed><comment>c</comment></x><y><Key>m</Key><Changed>yes</Changed>"
             "</y></translations></l>");
    ASSERT_EQ(language.Count(), 2);
    const TDorTranslation& k = language.Items(0);
    EXPECT_EQ(k.Original, "o & p");
    EXPECT_TRUE(k.Changed);
    EXPECT_EQ(k.Comment, "c");
    EXPECT_FALSE(language.Items(1).Changed);
}

TEST_F(Catalogue, LookupAddsMissingKeysOnce) {
    TDorLanguage language;
    TDorTranslation& added = language.Lookup("a.b", "Hello");
    EXPECT_TRUE(added.Changed);
    EXPECT_EQ(language.Lookup("a.b", "Other", "note").Text(), "Hello");
    EXPECT_EQ(language.Lookup("A.b", "Upper").Text(), "Upper");
    EXPECT_EQ(language.Count(), 2);
    EXPECT_EQ(language.Items(1).Comment, "");

    auto entry = std::make_unique<TDorTranslation>();
    entry->Key = "a.b";
    entry->Translated = "Hallo";
    language.AddOrReplace(std::move(entry));
    EXPECT_EQ(language.Count(), 2);
    EXPECT_EQ(language.Lookup("a.b", "x").Text(), "Hallo");
}

TEST_F(Catalogue, TranslateUsesTheAppLanguage) {
    TECXMLParser parser;
    TXMLStream stream(LanguageFile({{"a.b", "Hello", "", ""}, {"c.d", "Yes", "Ja", ""}}));
    parser.LoadFromStream(stream);
    AppLanguage = std::make_unique<TDorLanguage>();
    AppLanguage->ReadFromXML(parser.Root());
    EXPECT_EQ(Translate("a.b", "Hi"), "Hello");
    EXPECT_EQ(Translate("c.d", "Whatever", "note"), "Ja");
    EXPECT_EQ(Translate("e.f", "New"), "New");
    EXPECT_EQ(Translate("e.f", "Other"), "New");
    AppLanguage.reset();
    EXPECT_EQ(Translate("a.b", "Hi"), "Hi");
}

TEST_F(Catalogue, MergeBringsTheCatalogueInLineWithTheReference) {
    TDorLanguage german = Load(LanguageFile({{"keep", "Save", "Speichern", "c1"},
                                             {"drop", "Save", "Save", ""},
                                             {"same", "Open", " Open ", ""},
                                             {"gone", "Old", "Alt", "c2"}}));
    const TDorLanguage english = Load(LanguageFile({{"keep", "Save file", "", ""},
                                                    {"drop", "Save file", "", ""},
                                                    {"same", " Open", "", ""},
                                                    {"new", "Fresh", "x", "c3"}}));
    german.Merge(english, "C:\\report.txt");
    EXPECT_TRUE(german.Modified);
    EXPECT_EQ(Keys(german), (std::vector<std::string>{"drop", "keep", "new", "same"}));
    const auto at = [&](const char* key) { return german.Items(german.Find(key).Index); };
    EXPECT_EQ(at("keep").Original, "Save file");
    EXPECT_TRUE(at("keep").Changed);
    EXPECT_EQ(at("keep").Translated, "Speichern");
    EXPECT_EQ(at("drop").Translated, "");
    EXPECT_EQ(at("same").Translated, "");
    EXPECT_FALSE(at("same").Changed);
    EXPECT_EQ(at("new").Translated, "");
    EXPECT_EQ(at("new").Comment, "c3");
    EXPECT_TRUE(at("new").Changed);
    EXPECT_EQ(Fake.Files.Content("C:\\report.txt"),
              "Changed original:\tdrop\told: Save\tnew: Save file\r\n"
              "Changed original:\tkeep\told: Save\tnew: Save file\r\n"
              "New entry:\tnew\tFresh\r\n"
              "Deleted entry:\tgone\tOld\tAlt\tc2\r\n");
}

TEST_F(Catalogue, MergeWithoutChangesWritesNoReport) {
    TDorLanguage a = Load(LanguageFile({{"k", "v", "w", ""}}));
    const TDorLanguage b = Load(LanguageFile({{"k", "v", "", ""}}));
    a.Merge(b, "C:\\report.txt");
    a.Merge(b, "");
    EXPECT_FALSE(a.Modified);
    EXPECT_FALSE(Fake.Files.FileExists("C:\\report.txt"));
    EXPECT_EQ(a.Items(0).Translated, "w");
}

struct FormatCase {
    const char* Template;
    std::vector<std::string> Args;
    const char* Result;
};

TEST(SafeFormat, FillsPlaceholdersOrReportsTheTemplate) {
    const FormatCase cases[] = {
        {"The %s is not installed.", {"svc"}, "The svc is not installed."},
        {"%0:s could not be stopped: %1:s", {"svc", "denied"}, "svc could not be stopped: denied"},
        {"%1:s, %0:s, %s", {"a", "b"}, "b, a, b"},
        {"100%% %s", {"x"}, "100% x"},
        {"no placeholders", {}, "no placeholders"},
        {"%s and %s",
         {"x"},
         "(* translation error in \"%s and %s\": No argument for format specifier \"%s\" *)"},
        {"%d", {"1"}, "(* translation error in \"%d\": Invalid format specifier \"%d\" *)"},
        {"ends with %",
         {},
         "(* translation error in \"ends with %\": Invalid format specifier \"%\" *)"},
        {"%2:s",
         {"a"},
         "(* translation error in \"%2:s\": No argument for format specifier \"%2:s\" *)"},
        {"%99999999999999999999:s",
         {"a"},
         "(* translation error in \"%99999999999999999999:s\": No argument for format specifier "
         "\"%99999999999999999999:s\" *)"},
        {"%1", {"a", "b"}, "(* translation error in \"%1\": Invalid format specifier \"%1\" *)"},
    };
    for (const FormatCase& c : cases)
        EXPECT_EQ(SafeFormat(c.Template, c.Args), c.Result) << c.Template;
}
} // namespace

#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TXMLItem;

// One catalogue entry.
class TDorTranslation {
public:
    std::string Key;
    std::string Original;
    std::string Translated;
    std::string Comment;
    bool Changed = false;

    void Assign(const TDorTranslation& source) { *this = source; }
    const std::string& Text() const { return Translated.empty() ? Original : Translated; }
    void ReadFromXML(const TXMLItem& item);
};

// The entries of one language, sorted by key in plain byte order, each key once.
class TDorLanguage {
public:
    std::string Version = "1";
    std::string Name = "<unassigned>";
    std::string Codepage = "windows-1252";
    std::uint16_t CodepageNumber = 0;
    std::string Charset = "windows-1252";
    std::string Id = "n/a";
    bool Modified = false;
    std::string ChartFontBold;
    std::string ChartFont;

    int Count() const { return static_cast<int>(Entries.size()); }
    TDorTranslation& Items(int index) const { return *Entries.at(static_cast<std::size_t>(index)); }

    void LoadFromFile(const std::string& fileName);
    void ReadFromXML(const TXMLItem& root);

    struct TFound {
        bool Found;
        int Index; // the entry, or where it would be inserted
    };
    TFound Find(std::string_view key) const;
    // Takes ownership; an entry with the same key is replaced.
    void AddOrReplace(std::unique_ptr<TDorTranslation> entry);
    TDorTranslation& Lookup(const std::string& key, const std::string& defaultText);
    TDorTranslation& Lookup(const std::string& key, const std::string& defaultText,
                            const std::string& comment);
    void Merge(const TDorLanguage& reference, const std::string& reportFileName);

private:
    void AddSorted(std::vector<std::unique_ptr<TDorTranslation>> entries);

    std::vector<std::unique_ptr<TDorTranslation>> Entries;
};

// The character set a language without its own code page uses on this system.
std::string CharsetOfCodePage(std::uint32_t ansiCodePage);

// The process-wide catalogue; it exists between LoadLanguage and FreeLanguage.
extern std::unique_ptr<TDorLanguage> AppLanguage;

std::string Translate(const std::string& key, const std::string& defaultText);
std::string Translate(const std::string& key, const std::string& defaultText,
                      const std::string& comment);

// Fills "%s", "%0:s", "%1:s" ... and "%%" with string arguments. A template that does not fit
// its arguments gives a translation-error text instead.
std::string SafeFormat(std::string_view templateText, const std::vector<std::string>& args);

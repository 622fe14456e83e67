#include "DorTranslation.h"

#include "ECXMLParser.h"
#include "XMLText.h"
#include "platform/Platform.h"
#include "platform/QelError.h"
#include "platform/SystemErrorText.h"

#include <algorithm>

std::unique_ptr<TDorLanguage> AppLanguage;

namespace {
std::string ChildText(const TXMLItem& item, std::string_view name) {
    const int index = item.IndexOfName(name);
    return index < 0 ? std::string() : item.Items(index).Text();
}

bool KeyLess(const std::unique_ptr<TDorTranslation>& a, const std::unique_ptr<TDorTranslation>& b) {
    return a->Key < b->Key;
}

// A decimal number, or 0 when the text is none.
std::uint16_t CodepageNumberOf(std::string_view text) {
    text = TrimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 10) return 0;
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return 0;
        value = value * 10 + (c - '0');
    }
    if (negative) value = -value;
    if (value > INT32_MAX || value < INT32_MIN) return 0;
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(value) & 0xFFFF);
}
} // namespace

void TDorTranslation::ReadFromXML(const TXMLItem& item) {
    Key = ChildText(item, "Key");
    Original = ChildText(item, "Original");
    Changed = ChildText(item, "Changed") == "1";
    Translated = ChildText(item, "Translated");
    Comment = ChildText(item, "Comment");
}

std::string CharsetOfCodePage(std::uint32_t ansiCodePage) {
    if (ansiCodePage == 874 || (ansiCodePage >= 1250 && ansiCodePage <= 1258))
        return "windows-" + std::to_string(ansiCodePage);
    switch (ansiCodePage) {
    case 932:
        return "shift_jis";
    case 936:
        return "gb2312";
    case 949:
        return "ks_c_5601-1987";
    case 950:
        return "big5";
    default:
        return "windows-1252";
    }
}

void TDorLanguage::LoadFromFile(const std::string& fileName) {
    Entries.clear();
    TECXMLParser parser;
    parser.LoadFromFile(fileName);
    ReadFromXML(parser.Root());
    Modified = false;
}

void TDorLanguage::ReadFromXML(const TXMLItem& root) {
    const int info = root.IndexOfName("info");
    const int translations = root.IndexOfName("translations");
    if (info < 0 || translations < 0)
        throw EQelError("Wrong format of language file, \"info\" and/or \"translations\" block "
                        "missing.");
    if (std::string id = root.ParamValue("id"); !id.empty()) Id = std::move(id);
    if (std::string name = root.ParamValue("name"); !name.empty()) Name = std::move(name);
    const TXMLItem& infoItem = root.Items(info);
    if (std::string version = ChildText(infoItem, "version"); !version.empty())
        Version = std::move(version);
    Codepage = ChildText(infoItem, "codepage");
    Charset = !Codepage.empty() ? Codepage : CharsetOfCodePage(Platform().System->AnsiCodePage());
    const std::string number = ChildText(infoItem, "codepagenumber");
    CodepageNumber = number.empty() ? 0 : CodepageNumberOf(number);
    ChartFont = ChildText(infoItem, "chartfont");
    ChartFontBold = ChildText(infoItem, "chartfontbold");

    const TXMLItem& list = root.Items(translations);
    std::vector<std::unique_ptr<TDorTranslation>> read;
    read.reserve(static_cast<std::size_t>(list.Count()));
    for (int i = 0; i < list.Count(); ++i) {
        auto entry = std::make_unique<TDorTranslation>();
        entry->ReadFromXML(list.Items(i));
        read.push_back(std::move(entry));
    }
    AddSorted(std::move(read));
}

// Sorting once keeps a large file O(n log n); the stable sort keeps file order among equal
// keys, so the later entry can win as it would entry by entry.
void TDorLanguage::AddSorted(std::vector<std::unique_ptr<TDorTranslation>> entries) {
    std::stable_sort(entries.begin(), entries.end(), KeyLess);
    std::vector<std::unique_ptr<TDorTranslation>> unique;
    unique.reserve(entries.size());
    for (auto& entry : entries) {
        if (!unique.empty() && unique.back()->Key == entry->Key)
            unique.back() = std::move(entry);
        else
            unique.push_back(std::move(entry));
    }
    if (Entries.empty()) {
        Entries = std::move(unique);
        return;
    }
    std::vector<std::unique_ptr<TDorTranslation>> merged;
    merged.reserve(Entries.size() + unique.size());
    auto old = Entries.begin();
    for (auto& entry : unique) {
        while (old != Entries.end() && (*old)->Key < entry->Key)
            merged.push_back(std::move(*old++));
        if (old != Entries.end() && (*old)->Key == entry->Key) ++old;
        merged.push_back(std::move(entry));
    }
    while (old != Entries.end())
        merged.push_back(std::move(*old++));
    Entries = std::move(merged);
}

TDorLanguage::TFound TDorLanguage::Find(std::string_view key) const {
    const auto it =
        std::lower_bound(Entries.begin(), Entries.end(), key,
                         [](const std::unique_ptr<TDorTranslation>& entry, std::string_view k) {
                             return std::string_view(entry->Key) < k;
                         });
    const int index = static_cast<int>(it - Entries.begin());
    return {it != Entries.end() && (*it)->Key == key, index};
}

void TDorLanguage::AddOrReplace(std::unique_ptr<TDorTranslation> entry) {
    const TFound found = Find(entry->Key);
    if (found.Found)
        Entries[static_cast<std::size_t>(found.Index)] = std::move(entry);
    else
        Entries.insert(Entries.begin() + found.Index, std::move(entry));
}

TDorTranslation& TDorLanguage::Lookup(const std::string& key, const std::string& defaultText) {
    const TFound found = Find(key);
    if (found.Found) return Items(found.Index);
    auto entry = std::make_unique<TDorTranslation>();
    entry->Key = key;
    entry->Original = defaultText;
    entry->Changed = true;
    TDorTranslation& added = *entry;
    Entries.insert(Entries.begin() + found.Index, std::move(entry));
    return added;
}

TDorTranslation& TDorLanguage::Lookup(const std::string& key, const std::string& defaultText,
                                      const std::string&) {
    return Lookup(key, defaultText);
}

// One walk over both sorted lists, so a merge that adds many entries stays linear.
void TDorLanguage::Merge(const TDorLanguage& reference, const std::string& reportFileName) {
    std::vector<std::string> report;
    std::vector<std::string> deleted;
    const bool reporting = !reportFileName.empty();
    std::vector<std::unique_ptr<TDorTranslation>> merged;
    merged.reserve(std::max(Entries.size(), reference.Entries.size()));
    auto own = Entries.begin();
    const auto drop = [&](std::unique_ptr<TDorTranslation>& entry) {
        if (reporting)
            deleted.push_back("Deleted entry:\t" + entry->Key + "\t" + entry->Original + "\t" +
                              entry->Text() + "\t" + entry->Comment);
        entry.reset();
        Modified = true;
    };
    for (const auto& ref : reference.Entries) {
        while (own != Entries.end() && (*own)->Key < ref->Key)
            drop(*own++);
        if (own != Entries.end() && (*own)->Key == ref->Key) {
            TDorTranslation& entry = **own;
            const std::string oldText(TrimBlanks(entry.Original));
            const std::string newText(TrimBlanks(ref->Original));
            if (oldText != newText) {
                entry.Changed = true;
                entry.Original = newText;
                if (reporting)
                    report.push_back("Changed original:\t" + ref->Key + "\told: " + oldText +
                                     "\tnew: " + newText);
                Modified = true;
            }
            // A translation that only repeats the former English text is no translation.
            if (TrimBlanks(entry.Text()) == oldText) entry.Translated.clear();
            merged.push_back(std::move(*own++));
        } else {
            auto copy = std::make_unique<TDorTranslation>(*ref);
            copy->Changed = true;
            copy->Translated.clear();
            if (reporting) report.push_back("New entry:\t" + ref->Key + "\t" + copy->Original);
            merged.push_back(std::move(copy));
            Modified = true;
        }
    }
    while (own != Entries.end())
        drop(*own++);
    Entries = std::move(merged);
    // Deletions are reported from the last entry to the first.
    report.insert(report.end(), deleted.rbegin(), deleted.rend());
    if (reporting && !report.empty()) {
        std::string text;
        for (const std::string& line : report)
            text += line + "\r\n";
        const std::uint32_t code = Platform().Files->WriteWholeFile(reportFileName, text);
        if (code != 0) throw EQelError(SystemErrorText(*Platform().System, code));
    }
}

std::string Translate(const std::string& key, const std::string& defaultText) {
    // Outside the catalogue's lifetime the caller's English text is the only answer there is.
    if (!AppLanguage) return defaultText;
    return AppLanguage->Lookup(key, defaultText).Text();
}

std::string Translate(const std::string& key, const std::string& defaultText,
                      const std::string& comment) {
    if (!AppLanguage) return defaultText;
    return AppLanguage->Lookup(key, defaultText, comment).Text();
}

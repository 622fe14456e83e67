#include "ECXMLParser.h"

#include "XMLText.h"
#include "platform/Platform.h"
#include "platform/SystemErrorText.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {
// The name runs to the first space, or else to the first slash, or else to the closing byte.
// Returns where the first space stands, or npos.
std::size_t ElementName(std::string_view tag, std::string_view& name) {
    std::size_t slash = std::string_view::npos;
    for (std::size_t i = 1; i < tag.size(); ++i) {
        if (tag[i] == ' ') {
            name = tag.substr(1, i - 1);
            return i;
        }
        if (tag[i] == '/' && slash == std::string_view::npos) slash = i;
    }
    if (slash != std::string_view::npos)
        name = tag.substr(1, slash - 1);
    else
        name = tag.size() > 1 ? tag.substr(1, tag.size() - 2) : tag.substr(1);
    return std::string_view::npos;
}

std::vector<std::string> Attributes(std::string_view tag) {
    std::vector<std::string> params;
    const auto space = tag.find(' ');
    if (space == std::string_view::npos) return params;
    std::size_t end = tag.find('>', space);
    if (end == std::string_view::npos) end = tag.size();
    if (end > space + 1 && tag[end - 1] == '/' && end < tag.size()) --end;
    const std::string_view part = tag.substr(space + 1, end - space - 1);
    std::size_t i = 0;
    const auto skipSpaces = [&] {
        while (i < part.size() && part[i] == ' ')
            ++i;
    };
    while (true) {
        skipSpaces();
        if (i == part.size()) break;
        const std::size_t nameStart = i;
        while (i < part.size() && part[i] != ' ' && part[i] != '=')
            ++i;
        const std::string_view name = part.substr(nameStart, i - nameStart);
        skipSpaces();
        if (i < part.size() && part[i] == '=') ++i;
        skipSpaces();
        std::string_view value;
        if (i < part.size() && part[i] == '"') {
            const std::size_t close = part.find('"', i + 1);
            const std::size_t valueEnd = close == std::string_view::npos ? part.size() : close;
            value = part.substr(i + 1, valueEnd - i - 1);
            i = close == std::string_view::npos ? part.size() : close + 1;
        } else {
            // Only double quotes delimit a value; an unquoted one runs to the next space.
            const std::size_t valueStart = i;
            while (i < part.size() && part[i] != ' ')
                ++i;
            value = part.substr(valueStart, i - valueStart);
        }
        std::string line(name);
        line += '=';
        line += DecodeXMLEntities(value);
        params.push_back(std::move(line));
    }
    return params;
}

// Blocks of one item's size, kept on a free list for reuse by the same thread. The pool lives
// as long as its thread may free an item, so it is never destroyed; its memory is bounded by
// the most items the thread held at once. The sanitizers get the general allocator, which
// they watch.
#if defined(__SANITIZE_ADDRESS__)
#define VELK_ITEM_POOL 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELK_ITEM_POOL 0
#endif
#endif
#ifndef VELK_ITEM_POOL
#define VELK_ITEM_POOL 1
#endif

#if VELK_ITEM_POOL
class TItemPool {
public:
    void* Take() {
        if (!FreeList) Grow();
        TBlock* block = FreeList;
        FreeList = block->Next;
        return block;
    }
    void Give(void* memory) {
        auto* block = static_cast<TBlock*>(memory);
        block->Next = FreeList;
        FreeList = block;
    }

private:
    union TBlock {
        TBlock* Next;
        alignas(TXMLItem) unsigned char Bytes[sizeof(TXMLItem)];
    };
    static constexpr std::size_t SlabBlocks = 256;
    void Grow() {
        Slabs.push_back(std::make_unique<TBlock[]>(SlabBlocks));
        TBlock* slab = Slabs.back().get();
        for (std::size_t i = 0; i < SlabBlocks; ++i)
            Give(&slab[i]);
    }
    std::vector<std::unique_ptr<TBlock[]>> Slabs;
    TBlock* FreeList = nullptr;
};

TItemPool& Pool() {
    thread_local TItemPool* pool = new TItemPool;
    return *pool;
}
#endif

std::string Spaces(int n) {
    return std::string(static_cast<std::size_t>(std::max(n, 0)), ' ');
}
} // namespace

void* TXMLItem::operator new(std::size_t size) {
#if VELK_ITEM_POOL
    (void)size; // the class is final: always one item
    return Pool().Take();
#else
    return ::operator new(size);
#endif
}

void TXMLItem::operator delete(void* block) noexcept {
#if VELK_ITEM_POOL
    Pool().Give(block);
#else
    ::operator delete(block);
#endif
}

TXMLItem::~TXMLItem() {
    Notify = false;
    Children.clear();
}

void TXMLItem::Changed() {
    if (Notify && Owner && Owner->XMLItemChanged) Owner->XMLItemChanged(*Owner, *this);
}

void TXMLItem::SetName(const std::string& name) {
    ItemName = name;
    Changed();
}

void TXMLItem::SetText(const std::string& text) {
    ItemText = text;
    Changed();
}

void TXMLItem::SetParams(const std::vector<std::string>& params) {
    ItemParams = params;
    Changed();
}

std::string TXMLItem::ParamValue(std::string_view name) const {
    for (const std::string& line : ItemParams) {
        const auto eq = line.find('=');
        if (eq != std::string::npos && SameTextNoCase(std::string_view(line).substr(0, eq), name))
            return line.substr(eq + 1);
    }
    return {};
}

void TXMLItem::SetOwnerTree(TECXMLParser* parser) {
    Owner = parser;
    for (auto& child : Children)
        child->SetOwnerTree(parser);
}

void TXMLItem::SetParent(TXMLItem& parent) {
    if (ParentItem == &parent) return;
    for (const TXMLItem* up = &parent; up; up = up->ParentItem)
        if (up == this) throw EQelError("An XML item cannot become a child of its own subtree");
    std::unique_ptr<TXMLItem> self;
    if (ParentItem) {
        auto& siblings = ParentItem->Children;
        const auto it = std::find_if(siblings.begin(), siblings.end(),
                                     [this](const auto& child) { return child.get() == this; });
        self = std::move(*it);
        siblings.erase(it);
    } else {
        throw EQelError("A root XML item cannot be moved into another tree");
    }
    ParentItem = &parent;
    SetOwnerTree(parent.Owner);
    parent.Children.push_back(std::move(self));
}

void TXMLItem::Clear() {
    Notify = false;
    Children.clear();
    ItemParams.clear();
    ItemName.clear();
    ItemText.clear();
    Notify = true;
}

TXMLItem& TXMLItem::New() {
    if (Children.empty()) Children.reserve(8);
    Children.push_back(std::make_unique<TXMLItem>(Owner));
    TXMLItem& child = *Children.back();
    child.ParentItem = this;
    Changed();
    return child;
}

void TXMLItem::Delete(int index) {
    Items(index); // range check
    Children.erase(Children.begin() + index);
    Changed();
}

void TXMLItem::Move(const TXMLItem& item, int newIndex) {
    const int from = IndexOf(item);
    if (from < 0 || newIndex < 0 || newIndex >= Count())
        throw EQelError("XML item index out of range");
    auto moving = std::move(Children[static_cast<std::size_t>(from)]);
    Children.erase(Children.begin() + from);
    Children.insert(Children.begin() + newIndex, std::move(moving));
}

int TXMLItem::IndexOf(const TXMLItem& item) const {
    for (std::size_t i = 0; i < Children.size(); ++i)
        if (Children[i].get() == &item) return static_cast<int>(i);
    return -1;
}

int TXMLItem::IndexOfName(std::string_view name, int startIndex) const {
    for (std::size_t i = static_cast<std::size_t>(std::max(startIndex, 0)); i < Children.size();
         ++i)
        if (SameTextNoCase(Children[i]->ItemName, name)) return static_cast<int>(i);
    return -1;
}

TXMLItem& TXMLItem::ItemByName(std::string_view name) {
    const int index = IndexOfName(name, 0);
    if (index >= 0) return Items(index);
    TXMLItem& child = New();
    child.SetName(std::string(name));
    return child;
}

std::string TXMLItem::AsString(int indent) const {
    std::string out;
    AppendTo(out, indent);
    return out;
}

void TXMLItem::AppendTo(std::string& out, int indent) const {
    const bool on = CrLfInAsString;
    const int step = on ? 2 : 1;
    const char* lineEnd = on ? "\r\n" : "";
    std::string tag = ItemName;
    for (const std::string& line : ItemParams) {
        const auto eq = line.find('=');
        tag += ' ';
        tag += line.substr(0, eq);
        tag += "=\"";
        if (eq != std::string::npos)
            tag += EncodeXMLEntities(std::string_view(line).substr(eq + 1));
        tag += '"';
    }
    const bool hasText = !TrimBlanks(ItemText).empty();
    if (!hasText && Children.empty()) {
        out += Spaces(indent) + "<" + tag + "/>\r\n";
        return;
    }
    out += Spaces(indent) + "<" + tag + ">" + lineEnd;
    if (hasText) {
        if (on) out += Spaces(indent + step);
        out += EncodeXMLEntities(ItemText);
        out += lineEnd;
    }
    if (!Children.empty()) {
        if (!on) out += "\r\n";
        for (const auto& child : Children) {
            child->CrLfInAsString = on;
            child->AppendTo(out, indent + step);
        }
        if (!on) out += Spaces(indent);
    }
    if (on) out += Spaces(indent);
    out += "</" + ItemName + ">\r\n";
}

void TXMLItem::SetTag(std::string_view tag) {
    std::string_view name;
    const std::size_t space = ElementName(tag, name);
    ItemName.assign(name);
    if (space == std::string_view::npos)
        ItemParams.clear();
    else
        ItemParams = Attributes(tag);
    Changed();
}

void TXMLItem::LoadFromTokenizer(TXMLTokenizer& tokenizer) {
    Clear();
    TXMLItem* current = this;
    std::string documentEnd; // the end tag that closed the document element
    std::string normalised;
    for (; tokenizer.Kind() != TXMLTokenKind::EndOfData; tokenizer.NextToken()) {
        if (!current) throw EQelError("Junk after document element " + documentEnd);
        // Most tokens need no normalisation: then the raw bytes are the text.
        const std::string_view raw = tokenizer.RawToken();
        std::string_view text = raw;
        if (tokenizer.NeedsNormalising()) text = normalised = NormaliseTokenText(raw);
        switch (tokenizer.Kind()) {
        case TXMLTokenKind::Declaration:
            ReadDeclaration(text);
            break;
        case TXMLTokenKind::Text:
            if (!TrimBlanks(current->ItemText).empty())
                current->SetText(current->ItemText + "\r\n" + DecodeXMLEntities(text));
            else
                DecodeXMLEntities(text, current->ItemText), current->Changed();
            break;
        case TXMLTokenKind::StartTag:
            if (!TrimBlanks(current->ItemName).empty()) current = &current->New();
            current->SetTag(text);
            break;
        case TXMLTokenKind::EndTag: {
            std::string_view name = text.substr(2);
            if (!name.empty() && name.back() == '>') name.remove_suffix(1);
            if (TrimBlanks(name) != current->ItemName)
                throw EQelError("XML Parser mismatch: Wanted </" + current->ItemName + ">, got " +
                                std::string(text));
            current = current->ParentItem;
            if (!current) documentEnd = text;
            break;
        }
        case TXMLTokenKind::EmptyTag:
            current->New().SetTag(text);
            break;
        case TXMLTokenKind::EndOfData:
            break;
        }
    }
}

void TXMLItem::ReadDeclaration(std::string_view text) {
    if (!Owner || FindNoCase(text, "XML-STYLESHEET") == std::string_view::npos) return;
    const std::size_t href = FindNoCase(text, "HREF=\"");
    if (href == std::string_view::npos) return;
    const std::size_t start = href + 6;
    const std::size_t quote = text.find('"', start);
    Owner->StyleSheet = text.substr(start, quote == std::string_view::npos ? std::string_view::npos
                                                                           : quote - start);
}

void TECXMLParser::Clear() {
    if (!Allowed(BeforeClear)) return;
    RootItem.Clear();
    if (OnCleared) OnCleared(*this);
}

bool TECXMLParser::Allowed(const TXMLLoadSaveEvent& event) {
    bool allow = true;
    if (event) event(*this, allow);
    return allow;
}

template <typename Tokenizer> void TECXMLParser::Load(TXMLStream& stream) {
    if (!Allowed(BeforeLoad)) return;
    // Loading sends no change notifications; the slot comes back however the load ends.
    struct TSlotAside {
        TXMLItemChanged& Slot;
        TXMLItemChanged Kept;
        explicit TSlotAside(TXMLItemChanged& slot) : Slot(slot), Kept(std::move(slot)) {
            Slot = nullptr;
        }
        ~TSlotAside() { Slot = std::move(Kept); }
    } aside(XMLItemChanged);
    {
        Tokenizer tokenizer(stream);
        RootItem.LoadFromTokenizer(tokenizer);
    }
    if (OnLoaded) OnLoaded(*this);
}

void TECXMLParser::LoadFromStream(TXMLStream& stream) {
    Load<TXMLTokenizer>(stream);
}

void TECXMLParser::LoadFromFile(const std::string& fileName) {
    std::string bytes;
    const std::uint32_t code = Platform().Files->ReadFileHead(
        fileName, files::ShareRead, std::numeric_limits<std::uint64_t>::max(), bytes);
    if (code != 0) throw EQelError(SystemErrorText(*Platform().System, code));
    TXMLStream stream(std::move(bytes));
    try {
        Load<TXMLTokenizer>(stream);
    } catch (const EXMLParserError&) {
        stream.SetPosition(0);
        Load<TXMLLargeTokenizer>(stream);
    }
}

void TECXMLParser::SaveToStream(TXMLStream& stream, bool isStyleSheetFile) {
    if (!Allowed(BeforeSave)) return;
    std::string out = "<?xml version=\"1.0\" encoding=\"" + DocumentEncoding + "\" ?>\r\n";
    if (!isStyleSheetFile && !TrimBlanks(StyleSheet).empty())
        out += "<?xml-stylesheet type=\"text/xsl\" href=\"" + StyleSheet + "\"?>\r\n";
    out += RootItem.AsString(2);
    stream.Write(out);
    if (OnSaved) OnSaved(*this);
}

void TECXMLParser::SaveToFile(const std::string& fileName) {
    std::string extension;
    const auto dot = fileName.rfind('.');
    const auto slash = fileName.find_last_of("\\/");
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        extension = fileName.substr(dot);
    TXMLStream stream;
    SaveToStream(stream, SameTextNoCase(extension, ".XSL"));
    const std::uint32_t code = Platform().Files->WriteWholeFile(fileName, stream.Bytes());
    if (code != 0) throw EQelError(SystemErrorText(*Platform().System, code));
}

#pragma once

#include "ECXMLTokenizer.h"
#include "XMLStream.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TECXMLParser;

// One element; it owns its children.
class TXMLItem final {
public:
    explicit TXMLItem(TECXMLParser* parser = nullptr) : Owner(parser) {}
    ~TXMLItem();
    TXMLItem(const TXMLItem&) = delete;
    TXMLItem& operator=(const TXMLItem&) = delete;
    // Items come from a pool: a document is many of them, made and freed together.
    static void* operator new(std::size_t size);
    static void operator delete(void* block) noexcept;

    const std::string& Name() const { return ItemName; }
    void SetName(const std::string& name);
    const std::string& Text() const { return ItemText; }
    void SetText(const std::string& text);
    // Attributes as name=value lines, in document order.
    const std::vector<std::string>& Params() const { return ItemParams; }
    void SetParams(const std::vector<std::string>& params);
    // The value of the first attribute with that name, regardless of case; empty when none.
    std::string ParamValue(std::string_view name) const;

    int SubItemCount() const { return static_cast<int>(Children.size()); }
    int Count() const { return SubItemCount(); }
    TXMLItem* Parent() const { return ParentItem; }
    // Moves the item, with its subtree, to the end of the new parent's children.
    void SetParent(TXMLItem& parent);
    TECXMLParser* Parser() const { return Owner; }

    bool CrLfInAsString = true;

    void Clear();
    TXMLItem& New();
    void Delete(int index);
    void Move(const TXMLItem& item, int newIndex);
    int IndexOf(const TXMLItem& item) const;
    int IndexOfName(std::string_view name, int startIndex = 0) const;
    TXMLItem& ItemByName(std::string_view name);
    TXMLItem& Items(int index) const { return *Children.at(static_cast<std::size_t>(index)); }

    std::string AsString(int indent) const;

    // Replaces this item's contents by the document the tokenizer reads.
    void LoadFromTokenizer(TXMLTokenizer& tokenizer);

private:
    void Changed();
    void AppendTo(std::string& out, int indent) const;
    void SetTag(std::string_view tag);
    void ReadDeclaration(std::string_view text);
    void SetOwnerTree(TECXMLParser* parser);

    std::string ItemText;
    std::string ItemName;
    std::vector<std::string> ItemParams;
    std::vector<std::unique_ptr<TXMLItem>> Children;
    TXMLItem* ParentItem = nullptr;
    TECXMLParser* Owner = nullptr;
    bool Notify = true;
};

using TNotifyEvent = std::function<void(TECXMLParser& sender)>;
using TXMLItemChanged = std::function<void(TECXMLParser& sender, TXMLItem& item)>;
using TXMLLoadSaveEvent = std::function<void(TECXMLParser& sender, bool& allow)>;

// A document: the root item, its loading and saving, and the events around them.
class TECXMLParser {
public:
    TECXMLParser() : RootItem(this) {}
    TECXMLParser(const TECXMLParser&) = delete;
    TECXMLParser& operator=(const TECXMLParser&) = delete;

    TXMLItem& Root() { return RootItem; }
    const std::string& Encoding() const { return DocumentEncoding; }
    bool CrLfInAsString() const { return RootItem.CrLfInAsString; }
    void SetCrLfInAsString(bool on) { RootItem.CrLfInAsString = on; }

    std::string StyleSheet;
    TXMLItemChanged XMLItemChanged;
    TNotifyEvent OnLoaded;
    TNotifyEvent OnCleared;
    TNotifyEvent OnSaved;
    TXMLLoadSaveEvent BeforeLoad;
    TXMLLoadSaveEvent BeforeSave;
    TXMLLoadSaveEvent BeforeClear;

    void Clear();
    void LoadFromStream(TXMLStream& stream);
    // Files go through the platform's file interface; its errors arrive as EQelError.
    void LoadFromFile(const std::string& fileName);
    void SaveToStream(TXMLStream& stream, bool isStyleSheetFile = false);
    void SaveToFile(const std::string& fileName);

private:
    template <typename Tokenizer> void Load(TXMLStream& stream);
    bool Allowed(const TXMLLoadSaveEvent& event);

    TXMLItem RootItem;
    std::string DocumentEncoding = "UTF-8";
};

#pragma once

#include "XMLStream.h"
#include "platform/QelError.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

// The error of the tokenizer itself; callers catch it apart from the general errors.
class EXMLParserError : public EQelError {
public:
    using EQelError::EQelError;
};

enum class TXMLTokenKind { EndOfData, Declaration, Text, StartTag, EndTag, EmptyTag };

// Cuts a stream into tokens through a buffer of at most BufferLimit bytes.
class TXMLTokenizer {
public:
    static constexpr std::size_t BufferLimit = 10'000'000;

    explicit TXMLTokenizer(TXMLStream& stream);
    virtual ~TXMLTokenizer();
    TXMLTokenizer(const TXMLTokenizer&) = delete;
    TXMLTokenizer& operator=(const TXMLTokenizer&) = delete;

    void NextToken();
    TXMLTokenKind Kind() const { return TokenKind; }
    // The token's bytes as they stand in the input, and its normalised text.
    std::string_view RawToken() const { return {Base + TokenStart, TokenEnd - TokenStart}; }
    std::string TokenText() const;
    // Whether the token text differs from the raw bytes.
    bool NeedsNormalising() const { return Dirty; }
    int Line() const { return LineNumber; }

protected:
    TXMLTokenizer(TXMLStream& stream, std::size_t capacity);

private:
    bool Refill();
    [[noreturn]] void Error(const std::string& text) const;

    TXMLStream& Stream;
    std::size_t ConsumedBefore = 0;
    std::unique_ptr<char[]> Buffer; // only when the input does not fit one buffer
    const char* Base = nullptr;     // the buffer, or the stream's own bytes
    bool Borrowed = false;
    std::size_t Capacity;
    std::size_t DataEnd = 0;
    std::size_t Pos = 0;
    std::size_t UsableEnd = 0; // where the 0 terminator stands
    std::size_t End = 0;       // the first 0 byte: UsableEnd, or a 0 inside the input
    char Covered = 0;          // the byte under the terminator, while it covers one
    bool HasCovered = false;
    std::size_t TokenStart = 0;
    std::size_t TokenEnd = 0;
    int LineNumber = 1;
    TXMLTokenKind TokenKind = TXMLTokenKind::EndOfData;
    bool Dirty = false;
};

// Holds the whole stream at once, for inputs with a line longer than the chunk buffer.
class TXMLLargeTokenizer : public TXMLTokenizer {
public:
    explicit TXMLLargeTokenizer(TXMLStream& stream);
};

// Whether the token text differs from the raw bytes: a CR, an LF or two spaces in a row.
inline bool NeedsNormalising(std::string_view raw) {
    char previous = 0;
    for (const char c : raw) {
        if (c == '\r' || c == '\n' || (c == ' ' && previous == ' ')) return true;
        previous = c;
    }
    return false;
}
// CR LF pairs deleted, then LF CR pairs, then runs of spaces reduced to one.
std::string NormaliseTokenText(std::string_view raw);
std::string DecodeXMLEntities(std::string_view text);
// The same, into `out`, whose former contents it replaces; `text` must not lie in `out`.
void DecodeXMLEntities(std::string_view text, std::string& out);
std::string EncodeXMLEntities(std::string_view text);

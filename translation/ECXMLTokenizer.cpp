#include "ECXMLTokenizer.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace {
bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

const char* Find(const char* from, const char* end, char c) {
    return static_cast<const char*>(std::memchr(from, c, static_cast<std::size_t>(end - from)));
}

#if defined(__SSE2__) || defined(_M_X64)
#define VELK_XML_SSE2 1
#else
#define VELK_XML_SSE2 0
#endif

#if VELK_XML_SSE2
unsigned Mask(__m128i bytes) {
    return static_cast<unsigned>(_mm_movemask_epi8(bytes));
}

// A blank run holds few line breaks; without a population count instruction in the baseline
// target, clearing the bits one by one is the quickest count.
void CountBits(unsigned bits, int& count) {
    for (; bits != 0; bits &= bits - 1)
        ++count;
}
#endif

// Passes over bytes 0..32 from `pos`, but not beyond `end`, counting the LFs among them.
std::size_t SkipBlanks(const char* base, std::size_t pos, std::size_t end, int& lines) {
#if VELK_XML_SSE2
    const __m128i space = _mm_set1_epi8(32);
    const __m128i lf = _mm_set1_epi8('\n');
    while (end - pos >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + pos));
        const unsigned blank = Mask(_mm_cmpeq_epi8(_mm_max_epu8(v, space), space));
        const unsigned lineBreaks = Mask(_mm_cmpeq_epi8(v, lf));
        if (blank != 0xFFFF) {
            const unsigned n = static_cast<unsigned>(std::countr_zero(~blank));
            CountBits(lineBreaks & ((1u << n) - 1), lines);
            return pos + n;
        }
        CountBits(lineBreaks, lines);
        pos += 16;
    }
#endif
    for (; pos < end && IsBlank(base[pos]); ++pos)
        lines += base[pos] == '\n';
    return pos;
}

// Finds `stop` before `end` and notes where the first byte that normalising would change
// stands (a CR, an LF, or the second of two spaces). The byte before `from` is never a space.
const char* ScanTo(const char* from, const char* end, char stop, const char*& firstDirty) {
    firstDirty = end;
#if VELK_XML_SSE2
    const __m128i stops = _mm_set1_epi8(stop);
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i space = _mm_set1_epi8(' ');
    unsigned previousSpace = 0;
    while (end - from >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        const unsigned spaces = Mask(_mm_cmpeq_epi8(v, space));
        const unsigned hits =
            Mask(_mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, stops), _mm_cmpeq_epi8(v, cr)),
                              _mm_cmpeq_epi8(v, lf))) |
            (spaces & ((spaces << 1) | previousSpace));
        if (hits != 0) {
            from += std::countr_zero(hits);
            goto found;
        }
        previousSpace = spaces >> 15;
        from += 16;
    }
#endif
    for (;; ++from) {
        if (from == end) return nullptr;
        const char c = *from;
        if (c == stop || c == '\r' || c == '\n' || (c == ' ' && from[-1] == ' ')) break;
    }
#if VELK_XML_SSE2
found:
#endif
    if (*from == stop) return from;
    firstDirty = from;
    return Find(from + 1, end, stop);
}

std::string DeletePairs(std::string_view text, char first, char second) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == first && i + 1 < text.size() && text[i + 1] == second) {
            ++i;
            continue;
        }
        out += text[i];
    }
    return out;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}
} // namespace

TXMLTokenizer::TXMLTokenizer(TXMLStream& stream)
    : TXMLTokenizer(stream, std::min(BufferLimit, stream.Size() - stream.Position())) {}

TXMLTokenizer::TXMLTokenizer(TXMLStream& stream, std::size_t capacity)
    : Stream(stream), ConsumedBefore(stream.Position()), Capacity(capacity) {
    // An input that one buffer holds whole is read where it lies, without a copy: the
    // stream's bytes are followed by a 0, which serves as the terminator.
    Borrowed = capacity >= stream.Size() - stream.Position();
    if (Borrowed) {
        Base = stream.Bytes().data() + stream.Position();
    } else {
        Buffer.reset(new char[capacity + 1]);
        Buffer[0] = 0;
        Base = Buffer.get();
    }
    NextToken();
}

TXMLTokenizer::~TXMLTokenizer() {
    Stream.SetPosition(ConsumedBefore + TokenStart);
}

TXMLLargeTokenizer::TXMLLargeTokenizer(TXMLStream& stream)
    : TXMLTokenizer(stream, stream.Size() - stream.Position()) {}

void TXMLTokenizer::Error(const std::string& text) const {
    throw EXMLParserError(text + " on line " + std::to_string(LineNumber));
}

bool TXMLTokenizer::Refill() {
    if (Borrowed) {
        if (DataEnd != 0 || Stream.Position() == Stream.Size()) return false;
        DataEnd = UsableEnd = Stream.Size() - Stream.Position();
        Stream.SetPosition(Stream.Size());
        const char* zero = Find(Base, Base + UsableEnd, 0);
        End = zero ? static_cast<std::size_t>(zero - Base) : UsableEnd;
        return true;
    }
    if (HasCovered) Buffer[UsableEnd] = Covered;
    HasCovered = false;
    const std::size_t keep = DataEnd - Pos;
    if (Pos != 0 && keep != 0) std::memmove(Buffer.get(), Buffer.get() + Pos, keep);
    ConsumedBefore += Pos;
    TokenStart = TokenEnd = 0;
    Pos = 0;
    DataEnd = keep;
    const std::size_t got = Stream.Read(Buffer.get() + DataEnd, Capacity - DataEnd);
    DataEnd += got;
    UsableEnd = DataEnd;
    // A full buffer may end inside a line: keep that line for the next refill. A buffer that
    // holds the rest of the stream is never cut.
    if (DataEnd == Capacity && Stream.Position() < Stream.Size()) {
        std::size_t lineStart = DataEnd - 1;
        while (lineStart > 0 && Buffer[lineStart - 1] != '\n')
            --lineStart;
        if (lineStart == 0) Error("Line too long");
        UsableEnd = lineStart;
        Covered = Buffer[UsableEnd];
        HasCovered = true;
    }
    Buffer[UsableEnd] = 0;
    const char* zero = Find(Buffer.get(), Buffer.get() + UsableEnd, 0);
    End = zero ? static_cast<std::size_t>(zero - Buffer.get()) : UsableEnd;
    return got != 0;
}

void TXMLTokenizer::NextToken() {
    for (;;) {
        const char* const base = Base; // a refill may move it
        {
            int lines = 0;
            Pos = SkipBlanks(base, Pos, End, lines);
            LineNumber += lines;
        }
        if (Pos == End) {
            // A 0 byte inside the input ends the document like the end of the data does.
            if (End < UsableEnd || !Refill()) {
                TokenStart = TokenEnd = Pos;
                Dirty = false;
                TokenKind = TXMLTokenKind::EndOfData;
                return;
            }
            continue;
        }
        if (base[Pos] != '<') {
            const char* dirty = nullptr;
            const char* lt = ScanTo(base + Pos, base + End, '<', dirty);
            std::size_t last = lt ? static_cast<std::size_t>(lt - base) : End;
            while (IsBlank(base[last - 1]))
                --last;
            TokenStart = Pos;
            TokenEnd = Pos = last;
            Dirty = dirty < base + TokenEnd;
            TokenKind = TXMLTokenKind::Text;
            return;
        }
        // Comments are skipped together with whatever follows them up to the next "<".
        while (End - Pos >= 4 && std::memcmp(base + Pos, "<!--", 4) == 0) {
            const std::string_view body(base + Pos + 4, End - Pos - 4);
            const std::size_t close = body.find("-->");
            const char* next = close == std::string_view::npos
                                   ? nullptr
                                   : Find(body.data() + close + 3, base + End, '<');
            Pos = next ? static_cast<std::size_t>(next - base) : End;
        }
        if (Pos == End) continue;
        const char* dirty = nullptr;
        const char* gt = ScanTo(base + Pos + 1, base + End, '>', dirty);
        TokenStart = Pos;
        TokenEnd = Pos = gt ? static_cast<std::size_t>(gt - base) + 1 : End;
        Dirty = dirty < base + TokenEnd;
        const std::string_view tag = RawToken();
        if (tag.size() > 1 && tag[1] == '?' && StartsWithNoCase(tag, "<?xml"))
            TokenKind = TXMLTokenKind::Declaration;
        else if (tag.size() >= 2 && tag.substr(tag.size() - 2) == "/>")
            TokenKind = TXMLTokenKind::EmptyTag;
        else if (tag.size() >= 2 && tag[1] == '/')
            TokenKind = TXMLTokenKind::EndTag;
        else
            TokenKind = TXMLTokenKind::StartTag;
        return;
    }
}

std::string TXMLTokenizer::TokenText() const {
    return Dirty ? NormaliseTokenText(RawToken()) : std::string(RawToken());
}

std::string NormaliseTokenText(std::string_view raw) {
    if (!NeedsNormalising(raw)) return std::string(raw);
    const bool lineBreaks = raw.find_first_of("\r\n") != std::string_view::npos;
    std::string text =
        lineBreaks ? DeletePairs(DeletePairs(raw, '\r', '\n'), '\n', '\r') : std::string(raw);
    std::string out;
    out.reserve(text.size());
    for (const char c : text)
        if (c != ' ' || out.empty() || out.back() != ' ') out += c;
    return out;
}

std::string DecodeXMLEntities(std::string_view text) {
    std::string out;
    DecodeXMLEntities(text, out);
    return out;
}

void DecodeXMLEntities(std::string_view text, std::string& out) {
    const char* s = text.data();
    const char* const end = s + text.size();
    const char* amp = Find(s, end, '&');
    if (!amp) {
        out.assign(text);
        return;
    }
    // No entity can overlap another or be formed by a replacement, so one pass gives the
    // result of replacing each entity in turn. No replacement is longer than its entity.
    out.resize(text.size());
    char* d = out.data();
    while (amp) {
        std::memcpy(d, s, static_cast<std::size_t>(amp - s));
        d += amp - s;
        s = amp;
        const std::string_view rest(s, static_cast<std::size_t>(end - s));
        std::string_view value = "&";
        std::size_t length = 1;
        const auto match = [&](std::string_view entity, std::string_view replacement) {
            if (rest.substr(0, entity.size()) != entity) return;
            value = replacement;
            length = entity.size();
        };
        if (rest.size() > 1) {
            switch (rest[1]) {
            case '#':
                match("&#x0d;", "\r\n");
                break;
            case 'l':
                match("&lt;", "<");
                break;
            case 'g':
                match("&gt;", ">");
                break;
            case 'q':
                match("&quot;", "\"");
                break;
            case 'a':
                match("&amp;", "&");
                break;
            default:
                break;
            }
        }
        std::memcpy(d, value.data(), value.size());
        d += value.size();
        s += length;
        amp = Find(s, end, '&');
    }
    std::memcpy(d, s, static_cast<std::size_t>(end - s));
    d += end - s;
    out.resize(static_cast<std::size_t>(d - out.data()));
}

std::string EncodeXMLEntities(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        switch (text[i]) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\r':
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                out += "&#x0d;";
                ++i;
            } else {
                out += '\r';
            }
            break;
        default:
            out += text[i];
        }
    }
    return out;
}

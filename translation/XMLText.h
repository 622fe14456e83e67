#pragma once

#include <string_view>

// Text helpers shared by the XML reader and the language catalogue.
inline std::string_view TrimBlanks(std::string_view text) {
    std::size_t first = 0, last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= 32)
        ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= 32)
        --last;
    return text.substr(first, last - first);
}

inline char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

inline bool SameTextNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

// Position of `what` in `text` regardless of case, or npos.
inline std::size_t FindNoCase(std::string_view text, std::string_view what) {
    for (std::size_t i = 0; i + what.size() <= text.size(); ++i)
        if (SameTextNoCase(text.substr(i, what.size()), what)) return i;
    return std::string_view::npos;
}

#include "ProbeSettingsText.h"

#include <charconv>
#include <cstdint>

std::string TrimText(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
    return text.substr(begin, end - begin);
}

std::string IntegerTextOr(const std::string& text, int fallback) {
    // Leading blanks and a sign are accepted, as a typed number would have them.
    std::size_t start = 0;
    while (start < text.size() && text[start] == ' ') ++start;
    if (start < text.size() && text[start] == '+') ++start;
    std::int32_t value = 0;
    const char* first = text.data() + start;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || first == last) value = fallback;
    return std::to_string(value);
}

#include "ProbeSettingsText.h"

#include <charconv>
#include <cstdint>

std::string TrimText(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ')
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ')
        --end;
    return text.substr(begin, end - begin);
}

int IntegerOr(const std::string& text, int fallback) {
    // Leading blanks and a sign are accepted, as a typed number would have them.
    std::size_t start = 0;
    while (start < text.size() && text[start] == ' ')
        ++start;
    if (start < text.size() && text[start] == '+') ++start;
    std::int32_t value = 0;
    const char* first = text.data() + start;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || first == last) return fallback;
    return value;
}

std::string IntegerTextOr(const std::string& text, int fallback) {
    return std::to_string(IntegerOr(text, fallback));
}

bool SplitAtLastColon(const std::string& text, std::string& host, std::string& port) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos) return false;
    port = text.substr(colon + 1);
    host = text.substr(0, colon); // last: `host` may be `text` itself
    return true;
}

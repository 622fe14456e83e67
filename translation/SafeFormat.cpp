#include "DorTranslation.h"

#include "platform/QelError.h"

namespace {
// The formatter knows string arguments only, so no template can reach past its arguments or
// read an argument as another type.
std::string Format(std::string_view templateText, const std::vector<std::string>& args) {
    std::string out;
    out.reserve(templateText.size() + 32);
    std::size_t next = 0;
    for (std::size_t i = 0; i < templateText.size(); ++i) {
        const char c = templateText[i];
        if (c != '%') {
            out += c;
            continue;
        }
        const std::size_t start = i++;
        if (i < templateText.size() && templateText[i] == '%') {
            out += '%';
            continue;
        }
        std::size_t index = next;
        if (i < templateText.size() && templateText[i] >= '0' && templateText[i] <= '9') {
            std::size_t position = 0;
            while (i < templateText.size() && templateText[i] >= '0' && templateText[i] <= '9') {
                position = position * 10 + static_cast<std::size_t>(templateText[i++] - '0');
                if (position > args.size()) position = args.size(); // no overflow
            }
            if (i >= templateText.size() || templateText[i] != ':')
                throw EQelError("Invalid format specifier \"" +
                                std::string(templateText.substr(start, i - start + 1)) + "\"");
            ++i;
            index = position;
        }
        if (i >= templateText.size() || (templateText[i] != 's' && templateText[i] != 'S'))
            throw EQelError("Invalid format specifier \"" +
                            std::string(templateText.substr(start, i - start + 1)) + "\"");
        if (index >= args.size())
            throw EQelError("No argument for format specifier \"" +
                            std::string(templateText.substr(start, i - start + 1)) + "\"");
        out += args[index];
        next = index + 1;
    }
    return out;
}
} // namespace

std::string SafeFormat(std::string_view templateText, const std::vector<std::string>& args) {
    try {
        return Format(templateText, args);
    } catch (const std::exception& error) {
        return "(* translation error in \"" + std::string(templateText) + "\": " + error.what() +
               " *)";
    }
}

#include "SystemErrorText.h"

std::string SystemErrorText(ISystem& system, std::uint32_t code) {
    std::string text = system.FormatSystemMessage(code);
    while (!text.empty()) {
        const unsigned char last = static_cast<unsigned char>(text.back());
        if (last > ' ' && last != '.') break;
        text.pop_back();
    }
    return text;
}

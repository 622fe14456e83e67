#include "FakeSystem.h"

#include <cstdio>

std::int32_t TFakeSystem::CreateGuidText(std::string& text) {
    ++GuidsMade;
    if (!Guids.empty()) {
        text = Guids.front();
        Guids.pop_front();
    } else {
        char buffer[40];
        std::snprintf(buffer, sizeof buffer, "{%08X-0000-4000-8000-000000000000}", GuidsMade);
        text = buffer;
    }
    return GuidResult;
}

std::string TFakeSystem::FormatSystemMessage(std::uint32_t code) {
    const auto found = Messages.find(code);
    if (found != Messages.end()) return found->second;
    return "System error " + std::to_string(code) + ".\r\n";
}

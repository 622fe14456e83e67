#include "FakeSystem.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "platform/QelError.h"

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

int TFakeSystem::CompareTextIgnoreCase(const std::string& a, const std::string& b) {
    const auto lower = [](unsigned char c) { return std::tolower(c); };
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        const int diff =
            lower(static_cast<unsigned char>(a[i])) - lower(static_cast<unsigned char>(b[i]));
        if (diff != 0) return diff;
    }
    return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

std::uintptr_t TFakeSystem::CreateNamedMutex(const std::string& name, bool) {
    MutexNames.push_back(name);
    std::pair<std::uintptr_t, std::uint32_t> result{1, 0};
    if (!MutexResults.empty()) {
        result = MutexResults.front();
        MutexResults.pop_front();
    }
    Error = result.second;
    if (result.first) OpenMutexes.insert(result.first);
    return result.first;
}

std::uint32_t TFakeSystem::RegisterMessage(const std::string& name) {
    const auto found = Registered.find(name);
    if (found != Registered.end()) return found->second;
    const std::uint32_t number = 0xC000 + static_cast<std::uint32_t>(Registered.size());
    Registered[name] = number;
    return number;
}

std::vector<std::string> TFakeSystem::HostAddresses() {
    if (AddressLookupFails)
        throw EQelError("The requested name is valid, but no data of the requested type was found");
    return Addresses;
}

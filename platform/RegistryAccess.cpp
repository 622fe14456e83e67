#include "RegistryAccess.h"

#include <array>

TRegKey OpenKeyReadOnly(IRegistry& registry, TRegHandle root, const std::string& path) {
    static constexpr std::array<std::uint32_t, 3> attempts{reg::KeyRead, reg::KeyReadQueryEnumerate,
                                                           reg::KeyQueryValue};
    for (std::uint32_t access : attempts) {
        TRegHandle handle{};
        if (registry.OpenKey(root, path, access, handle) == 0) return TRegKey(registry, handle);
    }
    return {};
}

std::uint32_t OpenOrCreateKey(IRegistry& registry, TRegHandle root, const std::string& path,
                              TRegKey& key) {
    TRegHandle handle{};
    const std::uint32_t error = registry.CreateKey(root, path, reg::KeyAllAccess, handle);
    if (error == 0) key = TRegKey(registry, handle);
    return error;
}

bool ValueExists(IRegistry& registry, const TRegKey& key, const std::string& name) {
    std::uint32_t type = 0;
    return registry.QueryValueType(key.Get(), name, type) == 0;
}

std::string StringFromRegistryData(const std::string& data) {
    return data.substr(0, data.find('\0'));
}

std::string RegistryDataFromString(const std::string& text) {
    std::string data = text;
    data.push_back('\0');
    return data;
}

bool DwordFromRegistryData(const std::string& data, std::uint32_t& value) {
    if (data.size() != 4) return false;
    value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(data[static_cast<std::size_t>(i)]);
    return true;
}

std::string RegistryDataFromDword(std::uint32_t value) {
    std::string data(4, '\0');
    for (std::size_t i = 0; i < 4; ++i) data[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return data;
}

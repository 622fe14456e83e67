#include "FakeRegistry.h"

#include "platform/RegistryAccess.h"

#include <algorithm>
#include <cctype>

namespace {
constexpr std::uint32_t ErrorFileNotFound = 2;
constexpr std::uint32_t ErrorAccessDenied = 5;
constexpr std::uint32_t ErrorInvalidHandle = 6;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}
} // namespace

std::string TFakeRegistry::Normalise(const std::string& path) {
    std::string result = Lower(path);
    while (!result.empty() && result.front() == '\\')
        result.erase(result.begin());
    while (!result.empty() && result.back() == '\\')
        result.pop_back();
    return result;
}

void TFakeRegistry::PutKey(const std::string& path) {
    // Parents exist whenever a child does.
    const std::string key = Normalise(path);
    for (std::size_t pos = key.find('\\'); pos != std::string::npos; pos = key.find('\\', pos + 1))
        Keys[key.substr(0, pos)];
    Keys[key];
}

void TFakeRegistry::Put(const std::string& path, const std::string& name, std::uint32_t type,
                        const std::string& data) {
    PutKey(path);
    Keys[Normalise(path)].Values[Lower(name)] = {name, TValue{type, data}};
}

void TFakeRegistry::PutString(const std::string& path, const std::string& name,
                              const std::string& text, std::uint32_t type) {
    Put(path, name, type, RegistryDataFromString(text));
}

void TFakeRegistry::PutDword(const std::string& path, const std::string& name,
                             std::uint32_t value) {
    Put(path, name, reg::RegDword, RegistryDataFromDword(value));
}

bool TFakeRegistry::HasKey(const std::string& path) const {
    return Keys.count(Normalise(path)) != 0;
}

std::optional<TFakeRegistry::TValue> TFakeRegistry::Get(const std::string& path,
                                                        const std::string& name) const {
    const auto key = Keys.find(Normalise(path));
    if (key == Keys.end()) return std::nullopt;
    const auto value = key->second.Values.find(Lower(name));
    if (value == key->second.Values.end()) return std::nullopt;
    return value->second.second;
}

std::vector<std::string> TFakeRegistry::ValueNames(const std::string& path) const {
    std::vector<std::string> names;
    const auto key = Keys.find(Normalise(path));
    if (key != Keys.end())
        for (const auto& [lower, entry] : key->second.Values)
            names.push_back(entry.first);
    return names;
}

std::uint32_t TFakeRegistry::OpenKey(TRegHandle root, const std::string& path, std::uint32_t access,
                                     TRegHandle& key) {
    OpenAttempts.push_back(access);
    if (root != reg::HKeyLocalMachine) return ErrorInvalidHandle;
    if (RefusedAccess.count(access)) return ErrorAccessDenied;
    if (!HasKey(path)) return ErrorFileNotFound;
    key = NextHandle++;
    Handles[key] = Normalise(path);
    return 0;
}

std::uint32_t TFakeRegistry::CreateKey(TRegHandle root, const std::string& path,
                                       std::uint32_t access, TRegHandle& key) {
    OpenAttempts.push_back(access);
    if (root != reg::HKeyLocalMachine) return ErrorInvalidHandle;
    if (CreateError != 0) return CreateError;
    PutKey(path);
    key = NextHandle++;
    Handles[key] = Normalise(path);
    return 0;
}

const TFakeRegistry::TValue* TFakeRegistry::Find(TRegHandle key, const std::string& name,
                                                 std::uint32_t& error) const {
    const auto handle = Handles.find(key);
    if (handle == Handles.end()) {
        error = ErrorInvalidHandle;
        return nullptr;
    }
    const auto& values = Keys.at(handle->second).Values;
    const auto value = values.find(Lower(name));
    if (value == values.end()) {
        error = ErrorFileNotFound;
        return nullptr;
    }
    error = 0;
    return &value->second.second;
}

std::uint32_t TFakeRegistry::QueryValueType(TRegHandle key, const std::string& name,
                                            std::uint32_t& type) {
    std::uint32_t error = 0;
    if (const TValue* value = Find(key, name, error)) type = value->Type;
    return error;
}

std::uint32_t TFakeRegistry::QueryValue(TRegHandle key, const std::string& name,
                                        std::uint32_t& type, std::string& data) {
    std::uint32_t error = 0;
    const TValue* value = Find(key, name, error);
    if (!value) return error;
    if (const auto fault = ReadErrors.find(name); fault != ReadErrors.end()) return fault->second;
    type = value->Type;
    data = value->Data;
    return 0;
}

std::uint32_t TFakeRegistry::SetValue(TRegHandle key, const std::string& name, std::uint32_t type,
                                      const std::string& data) {
    const auto handle = Handles.find(key);
    if (handle == Handles.end()) return ErrorInvalidHandle;
    if (const auto fault = WriteErrors.find(name); fault != WriteErrors.end()) return fault->second;
    Written.push_back(name);
    Keys[handle->second].Values[Lower(name)] = {name, TValue{type, data}};
    return 0;
}

void TFakeRegistry::CloseKey(TRegHandle key) {
    Handles.erase(key);
}

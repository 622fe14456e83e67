// Platform code only: the registry over the ANSI Win32 calls.
#include "Win32Registry.h"

#include "Win32Api.h"

namespace {
HKEY AsKey(TRegHandle handle) {
    return reinterpret_cast<HKEY>(handle);
}

// A leading backslash means "from the root key"; the registry itself refuses it (error 161).
const char* RelativePath(const std::string& path) {
    std::size_t start = 0;
    while (start < path.size() && path[start] == '\\')
        ++start;
    return path.c_str() + start;
}
} // namespace

std::uint32_t TWin32Registry::OpenKey(TRegHandle root, const std::string& path,
                                      std::uint32_t access, TRegHandle& key) {
    HKEY result = nullptr;
    const LSTATUS status = RegOpenKeyExA(AsKey(root), RelativePath(path), 0, access, &result);
    if (status == ERROR_SUCCESS) key = reinterpret_cast<TRegHandle>(result);
    return static_cast<std::uint32_t>(status);
}

std::uint32_t TWin32Registry::CreateKey(TRegHandle root, const std::string& path,
                                        std::uint32_t access, TRegHandle& key) {
    HKEY result = nullptr;
    const LSTATUS status =
        RegCreateKeyExA(AsKey(root), RelativePath(path), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        access, nullptr, &result, nullptr);
    if (status == ERROR_SUCCESS) key = reinterpret_cast<TRegHandle>(result);
    return static_cast<std::uint32_t>(status);
}

std::uint32_t TWin32Registry::QueryValueType(TRegHandle key, const std::string& name,
                                             std::uint32_t& type) {
    DWORD valueType = 0;
    const LSTATUS status =
        RegQueryValueExA(AsKey(key), name.c_str(), nullptr, &valueType, nullptr, nullptr);
    if (status == ERROR_SUCCESS) type = valueType;
    return static_cast<std::uint32_t>(status);
}

std::uint32_t TWin32Registry::QueryValue(TRegHandle key, const std::string& name,
                                         std::uint32_t& type, std::string& data) {
    // The value may grow between the size query and the read: ask again until it fits.
    DWORD size = 0;
    DWORD valueType = 0;
    LSTATUS status =
        RegQueryValueExA(AsKey(key), name.c_str(), nullptr, &valueType, nullptr, &size);
    std::string buffer;
    while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        buffer.assign(size, '\0');
        DWORD got = size;
        status = RegQueryValueExA(AsKey(key), name.c_str(), nullptr, &valueType,
                                  reinterpret_cast<BYTE*>(buffer.data()), &got);
        if (status == ERROR_SUCCESS) {
            buffer.resize(got);
            type = valueType;
            data = std::move(buffer);
            return 0;
        }
        if (status == ERROR_MORE_DATA) size = got > size ? got : size * 2 + 16;
    }
    return static_cast<std::uint32_t>(status);
}

std::uint32_t TWin32Registry::SetValue(TRegHandle key, const std::string& name, std::uint32_t type,
                                       const std::string& data) {
    return static_cast<std::uint32_t>(RegSetValueExA(AsKey(key), name.c_str(), 0, type,
                                                     reinterpret_cast<const BYTE*>(data.data()),
                                                     static_cast<DWORD>(data.size())));
}

void TWin32Registry::CloseKey(TRegHandle key) {
    RegCloseKey(AsKey(key));
}

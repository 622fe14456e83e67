#pragma once

#include "UniqueHandle.h"

#include <cstdint>
#include <string>

// A registry key as the platform hands it out; root keys are handles too.
using TRegHandle = std::uintptr_t;

namespace reg {
inline constexpr TRegHandle HKeyLocalMachine = 0x80000002;

inline constexpr std::uint32_t RegSz = 1;
inline constexpr std::uint32_t RegExpandSz = 2;
inline constexpr std::uint32_t RegBinary = 3;
inline constexpr std::uint32_t RegDword = 4;

inline constexpr std::uint32_t KeyRead = 131097;
inline constexpr std::uint32_t KeyReadQueryEnumerate = 131081;
inline constexpr std::uint32_t KeyQueryValue = 1;
inline constexpr std::uint32_t KeyAllAccess = 983103;
} // namespace reg

// The registry calls the tool makes, in the platform's own numbers: every operation returns the
// platform's error code (0 for success).
class IRegistry {
public:
    virtual ~IRegistry() = default;

    // An absolute path ("\software\...") is taken from the root key.
    virtual std::uint32_t OpenKey(TRegHandle root, const std::string& path, std::uint32_t access,
                                  TRegHandle& key) = 0;
    // Opens the key, creating it and any missing parents: non-volatile, default security.
    virtual std::uint32_t CreateKey(TRegHandle root, const std::string& path, std::uint32_t access,
                                    TRegHandle& key) = 0;
    // The value's type and size without its data.
    virtual std::uint32_t QueryValueType(TRegHandle key, const std::string& name,
                                         std::uint32_t& type) = 0;
    // The value's raw bytes, exactly as stored.
    virtual std::uint32_t QueryValue(TRegHandle key, const std::string& name, std::uint32_t& type,
                                     std::string& data) = 0;
    virtual std::uint32_t SetValue(TRegHandle key, const std::string& name, std::uint32_t type,
                                   const std::string& data) = 0;
    virtual void CloseKey(TRegHandle key) = 0;
};

using TRegKey = TUniqueHandle<IRegistry, TRegHandle, &IRegistry::CloseKey>;

// Platform code only: the registry over the ANSI Win32 calls.
#pragma once

#include "platform/Registry.h"

class TWin32Registry : public IRegistry {
public:
    std::uint32_t OpenKey(TRegHandle root, const std::string& path, std::uint32_t access,
                          TRegHandle& key) override;
    std::uint32_t CreateKey(TRegHandle root, const std::string& path, std::uint32_t access,
                            TRegHandle& key) override;
    std::uint32_t QueryValueType(TRegHandle key, const std::string& name,
                                 std::uint32_t& type) override;
    std::uint32_t QueryValue(TRegHandle key, const std::string& name, std::uint32_t& type,
                             std::string& data) override;
    std::uint32_t SetValue(TRegHandle key, const std::string& name, std::uint32_t type,
                           const std::string& data) override;
    void CloseKey(TRegHandle key) override;
};

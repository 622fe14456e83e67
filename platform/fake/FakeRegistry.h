#pragma once

#include "platform/Registry.h"

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

// The registry in memory: names compare without regard to case, as on the platform.
// Faults are set per value name or per access mask; every open and close is recorded.
class TFakeRegistry : public IRegistry {
public:
    struct TValue {
        std::uint32_t Type = 0;
        std::string Data;
    };

    // Setting up and inspecting; paths are relative to HKEY_LOCAL_MACHINE.
    void PutKey(const std::string& path);
    void Put(const std::string& path, const std::string& name, std::uint32_t type,
             const std::string& data);
    void PutString(const std::string& path, const std::string& name, const std::string& text,
                   std::uint32_t type = 1);
    void PutDword(const std::string& path, const std::string& name, std::uint32_t value);
    bool HasKey(const std::string& path) const;
    std::optional<TValue> Get(const std::string& path, const std::string& name) const;
    std::vector<std::string> ValueNames(const std::string& path) const;

    // Faults.
    std::map<std::string, std::uint32_t> ReadErrors;  // value name -> error code of the read
    std::map<std::string, std::uint32_t> WriteErrors; // value name -> error code of the write
    std::set<std::uint32_t> RefusedAccess;            // open with this mask fails (5)
    std::uint32_t CreateError = 0;                    // CreateKey fails with this code

    // What happened.
    std::vector<std::uint32_t> OpenAttempts; // access masks, in order
    std::vector<std::string> Written;        // value names, in order
    int OpenKeys() const { return static_cast<int>(Handles.size()); }

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

private:
    struct TKey {
        std::map<std::string, std::pair<std::string, TValue>> Values; // lower name -> (name, value)
    };
    std::map<std::string, TKey> Keys; // normalised path -> key
    std::map<TRegHandle, std::string> Handles;
    TRegHandle NextHandle = 0x1000;

    static std::string Normalise(const std::string& path);
    const TValue* Find(TRegHandle key, const std::string& name, std::uint32_t& error) const;
};

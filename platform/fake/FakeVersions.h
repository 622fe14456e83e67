#pragma once

#include "platform/Versions.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>

class TFakeVersions : public IVersions {
public:
    // path -> the four parts of its file version
    std::map<std::string, std::array<std::uint16_t, 4>> Files;

    bool FixedFileVersion(const std::string& path, std::uint32_t& versionMs,
                          std::uint32_t& versionLs) override {
        const auto found = Files.find(path);
        if (found == Files.end()) return false;
        const auto& v = found->second;
        versionMs = (std::uint32_t{v[0]} << 16) | v[1];
        versionLs = (std::uint32_t{v[2]} << 16) | v[3];
        return true;
    }
};

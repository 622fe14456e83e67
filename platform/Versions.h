#pragma once

#include <cstdint>
#include <string>

class IVersions {
public:
    virtual ~IVersions() = default;

    // The fixed file version of an executable's version resource (dwFileVersionMS and
    // dwFileVersionLS); false when the file has none or it cannot be read.
    virtual bool FixedFileVersion(const std::string& path, std::uint32_t& versionMs,
                                  std::uint32_t& versionLs) = 0;
};

// Platform code only: version resources of executables.
#pragma once

#include "platform/Versions.h"

class TWin32Versions : public IVersions {
public:
    bool FixedFileVersion(const std::string& path, std::uint32_t& versionMs,
                          std::uint32_t& versionLs) override;
};

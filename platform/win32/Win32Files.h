// Platform code only: file queries and reads.
#pragma once

#include "platform/Files.h"

class TWin32Files : public IFiles {
public:
    bool FileExists(const std::string& path) override;
    bool DirectoryExists(const std::string& path) override;
    std::uint32_t ReadFileHead(const std::string& path, std::uint32_t shareMode,
                               std::uint64_t limit, std::string& data) override;
    bool CreateDirectories(const std::string& path) override;
    std::vector<std::string> ListDirectory(const std::string& directory,
                                           const std::string& pattern) override;
    std::uint32_t WriteWholeFile(const std::string& path, const std::string& data) override;
};

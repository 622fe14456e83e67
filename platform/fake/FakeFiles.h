#pragma once

#include "platform/Files.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

// Files in memory; paths compare without regard to case, as on the platform.
class TFakeFiles : public IFiles {
public:
    void PutFile(const std::string& path, const std::string& content);
    void PutDirectory(const std::string& path);
    // Another process holds the file open, granting the others only `grantedShare`.
    void HoldOpen(const std::string& path, std::uint32_t grantedShare);

    std::set<std::string> CreateRefused; // CreateDirectories fails for these paths

    bool FileExists(const std::string& path) override;
    bool DirectoryExists(const std::string& path) override;
    std::uint32_t ReadFileHead(const std::string& path, std::uint32_t shareMode,
                               std::uint64_t limit, std::string& data) override;
    bool CreateDirectories(const std::string& path) override;
    std::vector<std::string> ListDirectory(const std::string& directory,
                                           const std::string& pattern) override;
    std::uint32_t WriteWholeFile(const std::string& path, const std::string& data) override;
    // The bytes of a file, empty when it does not exist.
    std::string Content(const std::string& path) const;

private:
    std::vector<std::string> Order; // file paths as put, the enumeration order
    std::map<std::string, std::string> Files;
    std::set<std::string> Directories;
    std::map<std::string, std::uint32_t> Held;
    static std::string Key(const std::string& path);
};

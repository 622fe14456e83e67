#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace files {
inline constexpr std::uint32_t ShareNone = 0;
inline constexpr std::uint32_t ShareRead = 1;
inline constexpr std::uint32_t ShareWrite = 2;
inline constexpr std::uint32_t ShareDelete = 4;
} // namespace files

class IFiles {
public:
    virtual ~IFiles() = default;

    virtual bool FileExists(const std::string& path) = 0;
    virtual bool DirectoryExists(const std::string& path) = 0;
    // Reads at most `limit` bytes from the start of the file, opened for reading with the given
    // share mode; returns the platform's error code of the open or the read.
    virtual std::uint32_t ReadFileHead(const std::string& path, std::uint32_t shareMode,
                                       std::uint64_t limit, std::string& data) = 0;
    // Creates the directory and every missing parent; true when it exists afterwards.
    virtual bool CreateDirectories(const std::string& path) = 0;
    // Names (without folder) of the entries of `directory` matching `pattern` ("*.lng"), in
    // the order the platform enumerates them, "." and ".." left out.
    virtual std::vector<std::string> ListDirectory(const std::string& directory,
                                                   const std::string& pattern) = 0;
    // Creates the file, replacing an existing one, with exactly these bytes; returns the
    // platform's error code.
    virtual std::uint32_t WriteWholeFile(const std::string& path, const std::string& data) = 0;
};

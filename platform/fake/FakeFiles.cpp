#include "FakeFiles.h"

#include <algorithm>
#include <cctype>

namespace {
constexpr std::uint32_t ErrorFileNotFound = 2;
constexpr std::uint32_t ErrorSharingViolation = 32;
constexpr std::uint32_t ErrorAccessDenied = 5;
} // namespace

std::string TFakeFiles::Key(const std::string& path) {
    std::string key = path;
    std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) {
        return c == '/' ? '\\' : static_cast<char>(std::tolower(c));
    });
    while (key.size() > 1 && key.back() == '\\')
        key.pop_back();
    return key;
}

void TFakeFiles::PutFile(const std::string& path, const std::string& content) {
    if (!Files.count(Key(path))) Order.push_back(path);
    Files[Key(path)] = content;
}

void TFakeFiles::PutDirectory(const std::string& path) {
    Directories.insert(Key(path));
}

void TFakeFiles::HoldOpen(const std::string& path, std::uint32_t grantedShare) {
    Held[Key(path)] = grantedShare;
}

bool TFakeFiles::FileExists(const std::string& path) {
    return Files.count(Key(path)) != 0;
}

bool TFakeFiles::DirectoryExists(const std::string& path) {
    return Directories.count(Key(path)) != 0;
}

std::uint32_t TFakeFiles::ReadFileHead(const std::string& path, std::uint32_t shareMode,
                                       std::uint64_t limit, std::string& data) {
    const auto file = Files.find(Key(path));
    if (file == Files.end()) return ErrorFileNotFound;
    // The holder wrote it, so it holds write access: we must share writing, and it must
    // grant us reading.
    if (const auto held = Held.find(Key(path)); held != Held.end())
        if (!(shareMode & files::ShareWrite) || !(held->second & files::ShareRead))
            return ErrorSharingViolation;
    data = file->second.substr(
        0, static_cast<std::size_t>(std::min<std::uint64_t>(limit, file->second.size())));
    return 0;
}

bool TFakeFiles::CreateDirectories(const std::string& path) {
    if (CreateRefused.count(Key(path))) return false;
    // Every parent comes into being with the folder.
    const std::string key = Key(path);
    for (std::size_t pos = key.find('\\'); pos != std::string::npos; pos = key.find('\\', pos + 1))
        if (pos > 2) Directories.insert(key.substr(0, pos));
    Directories.insert(key);
    return true;
}

namespace {
// '*' and '?' wildcards, without regard to case.
bool Matches(const char* pattern, const char* name) {
    if (*pattern == '\0') return *name == '\0';
    if (*pattern == '*') return Matches(pattern + 1, name) || (*name && Matches(pattern, name + 1));
    if (*name == '\0') return false;
    const bool same = *pattern == '?' || std::tolower(static_cast<unsigned char>(*pattern)) ==
                                             std::tolower(static_cast<unsigned char>(*name));
    return same && Matches(pattern + 1, name + 1);
}
} // namespace

std::vector<std::string> TFakeFiles::ListDirectory(const std::string& directory,
                                                   const std::string& pattern) {
    const std::string folder = Key(directory) + "\\";
    std::vector<std::string> names;
    for (const std::string& path : Order) {
        const std::string key = Key(path);
        if (key.compare(0, folder.size(), folder) != 0) continue;
        const std::string name = path.substr(folder.size());
        if (name.find('\\') == std::string::npos && Matches(pattern.c_str(), name.c_str()))
            names.push_back(name);
    }
    return names;
}

std::uint32_t TFakeFiles::WriteWholeFile(const std::string& path, const std::string& data) {
    if (Held.count(Key(path)) != 0) return ErrorSharingViolation;
    if (Directories.count(Key(path)) != 0) return ErrorAccessDenied;
    if (!Files.count(Key(path))) Order.push_back(path);
    Files[Key(path)] = data;
    return 0;
}

std::string TFakeFiles::Content(const std::string& path) const {
    const auto file = Files.find(Key(path));
    return file == Files.end() ? std::string() : file->second;
}

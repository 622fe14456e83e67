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

std::uint32_t TFakeFiles::WriteWholeFile(const std::string& path, const std::string& data) {
    if (Held.count(Key(path)) != 0) return ErrorSharingViolation;
    if (Directories.count(Key(path)) != 0) return ErrorAccessDenied;
    Files[Key(path)] = data;
    return 0;
}

std::string TFakeFiles::Content(const std::string& path) const {
    const auto file = Files.find(Key(path));
    return file == Files.end() ? std::string() : file->second;
}

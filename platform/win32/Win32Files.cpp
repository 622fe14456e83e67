// Platform code only: file queries and reads.
#include "Win32Files.h"

#include "Win32Api.h"

#include <algorithm>
#include <memory>

bool TWin32Files::FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool TWin32Files::DirectoryExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::uint32_t TWin32Files::ReadFileHead(const std::string& path, std::uint32_t shareMode,
                                        std::uint64_t limit, std::string& data) {
    const TFileHandle file = OwnFile(CreateFileA(path.c_str(), GENERIC_READ, shareMode, nullptr,
                                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return GetLastError();
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) return GetLastError();
    std::string buffer(static_cast<std::size_t>(std::min<std::uint64_t>(
                           limit, static_cast<std::uint64_t>(size.QuadPart))),
                       '\0');
    std::size_t filled = 0;
    while (filled < buffer.size()) {
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(buffer.size() - filled, 1u << 20));
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer.data() + filled, chunk, &got, nullptr))
            return GetLastError();
        if (got == 0) break; // the file shrank while we read it
        filled += got;
    }
    buffer.resize(filled);
    data = std::move(buffer);
    return 0;
}

bool TWin32Files::CreateDirectories(const std::string& path) {
    // Each missing level in turn, from the root down; existing ones just fail to be created.
    for (std::size_t pos = path.find_first_of("\\/"); pos != std::string::npos;
         pos = path.find_first_of("\\/", pos + 1))
        if (pos > 0 && path[pos - 1] != ':' && path[pos - 1] != '\\')
            CreateDirectoryA(path.substr(0, pos).c_str(), nullptr);
    CreateDirectoryA(path.c_str(), nullptr);
    return DirectoryExists(path);
}

namespace {
struct TFindClose {
    void operator()(HANDLE handle) const { FindClose(handle); }
};
} // namespace

std::vector<std::string> TWin32Files::ListDirectory(const std::string& directory,
                                                    const std::string& pattern) {
    std::vector<std::string> names;
    std::string query = directory;
    if (!query.empty() && query.back() != '\\') query += '\\';
    query += pattern;
    WIN32_FIND_DATAA entry{};
    const HANDLE raw = FindFirstFileA(query.c_str(), &entry);
    if (raw == INVALID_HANDLE_VALUE) return names;
    const std::unique_ptr<void, TFindClose> search(raw);
    do {
        const std::string name = entry.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search.get(), &entry));
    return names;
}

std::uint32_t TWin32Files::WriteWholeFile(const std::string& path, const std::string& data) {
    const TFileHandle file = OwnFile(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return GetLastError();
    std::size_t written = 0;
    while (written < data.size()) {
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(data.size() - written, 1u << 20));
        DWORD put = 0;
        if (!WriteFile(file.get(), data.data() + written, chunk, &put, nullptr))
            return GetLastError();
        written += put;
    }
    return 0;
}

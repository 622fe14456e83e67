#include "ProbeStandInLog.h"

#include <shlobj.h>

#include <cstdio>

namespace {
using TKey = TWin32Handle<HKEY, ::RegCloseKey>;

const char* const ProbeKey = "software\\Dorvasen\\VELK Network Monitor\\V7\\Probe";

std::string WithBackslash(std::string path) {
    if (path.empty() || path.back() != '\\') path += '\\';
    return path;
}

std::string DefaultDataDir() {
    char folder[MAX_PATH] = {};
    if (SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, folder) != S_OK)
        std::snprintf(folder, sizeof folder, "C:\\ProgramData");
    return WithBackslash(folder) + "Dorvasen\\VELK Network Monitor\\V7\\";
}

// Every folder on the way, each of which may already exist.
void CreateFolders(const std::string& path) {
    for (std::size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
}
} // namespace

std::string ProbeDataDir() {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, ProbeKey, 0, KEY_READ, &raw) != ERROR_SUCCESS)
        return DefaultDataDir();
    const TKey key(raw);
    char value[MAX_PATH] = {};
    DWORD size = sizeof value - 1;
    DWORD type = 0;
    if (RegQueryValueExA(key.get(), "Temppath", nullptr, &type, reinterpret_cast<BYTE*>(value),
                         &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || value[0] == '\0')
        return DefaultDataDir();
    return WithBackslash(value);
}

TProbeStandInLog::TProbeStandInLog(const std::string& dataDir) {
    const std::string folder = dataDir + "Logs (System)\\";
    CreateFolders(folder);
    File =
        OwnFile(CreateFileA((folder + "VELK Probe Log (1).log").c_str(), FILE_APPEND_DATA,
                            FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

void TProbeStandInLog::Write(const std::string& text) {
    if (!File) return;
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u ", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond);
    const std::string line = stamp + text + "\r\n";
    DWORD written = 0;
    WriteFile(File.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

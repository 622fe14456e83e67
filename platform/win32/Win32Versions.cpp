// Platform code only: version resources of executables.
#include "Win32Versions.h"

#include "Win32Api.h"

#include <vector>

bool TWin32Versions::FixedFileVersion(const std::string& path, std::uint32_t& versionMs,
                                      std::uint32_t& versionLs) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return false;
    std::vector<char> buffer(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, buffer.data())) return false;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(buffer.data(), "\\", reinterpret_cast<void**>(&info), &length) || !info ||
        length < sizeof(VS_FIXEDFILEINFO))
        return false;
    versionMs = info->dwFileVersionMS;
    versionLs = info->dwFileVersionLS;
    return true;
}

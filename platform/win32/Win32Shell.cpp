// Platform code only: the shell's special folders.
#include "Win32Shell.h"

#include "Win32Api.h"

#include <shellapi.h>
#include <shlobj.h>

#include <memory>

namespace {
// An item-identifier list goes back through the shell's own allocator.
struct TShellFree {
    void operator()(ITEMIDLIST* list) const {
        IMalloc* allocator = nullptr;
        if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator) {
            allocator->Free(list);
            allocator->Release();
        }
    }
};
} // namespace

bool TWin32Shell::CommonAppDataFolder(std::string& path) {
    ITEMIDLIST* raw = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_COMMON_APPDATA, &raw)) || !raw)
        return false;
    const std::unique_ptr<ITEMIDLIST, TShellFree> list(raw);
    char buffer[MAX_PATH] = {};
    if (!SHGetPathFromIDListA(list.get(), buffer)) return false;
    path = buffer;
    return true;
}

std::intptr_t TWin32Shell::Execute(std::uintptr_t owner, const std::string& verb,
                                   const std::string& file, int showCommand) {
    return reinterpret_cast<std::intptr_t>(ShellExecuteA(
        reinterpret_cast<HWND>(owner), verb.c_str(), file.c_str(), nullptr, nullptr, showCommand));
}

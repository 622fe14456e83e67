// Platform code only: the shell's special folders.
#include "Win32Shell.h"

#include "Win32Api.h"

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

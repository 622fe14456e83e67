// Platform code only: the one gateway to the Win32 API for the whole tool.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0601
#endif

#include <windows.h>

#include "platform/UniqueHandle.h"

#include <memory>

// Owners for raw Win32 handles, one line per kind.
template <typename T, auto Close> struct TWin32Closer {
    void operator()(T handle) const { Close(handle); }
};
template <typename T, auto Close>
using TWin32Handle = std::unique_ptr<std::remove_pointer_t<T>, TWin32Closer<T, Close>>;

using TFileHandle = TWin32Handle<HANDLE, ::CloseHandle>;
using TScHandle = TWin32Handle<SC_HANDLE, ::CloseServiceHandle>;

// CreateFile reports failure as INVALID_HANDLE_VALUE, which must never reach the owner.
inline TFileHandle OwnFile(HANDLE handle) {
    return TFileHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

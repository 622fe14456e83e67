// Platform code only: process and system facts over the Win32 API.
#include "Win32System.h"

#include "Win32Api.h"

#include <winsock2.h>

#include <objbase.h>

#include <memory>

#include "platform/QelError.h"
#include "platform/SystemErrorText.h"

namespace {
struct TTaskMemFree {
    void operator()(wchar_t* text) const { CoTaskMemFree(text); }
};
} // namespace

std::string TWin32System::ModuleFileName() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.assign(path.size() * 2, '\0');
    }
}

std::int32_t TWin32System::CreateGuidText(std::string& text) {
    GUID guid{};
    const HRESULT created = CoCreateGuid(&guid);
    LPOLESTR raw = nullptr;
    const HRESULT converted = StringFromCLSID(guid, &raw);
    if (FAILED(converted)) return converted;
    const std::unique_ptr<wchar_t, TTaskMemFree> wide(raw);
    // The registry form is plain ASCII: braces, hex digits and hyphens.
    text.clear();
    for (const wchar_t* c = wide.get(); *c; ++c)
        text.push_back(static_cast<char>(*c));
    return created;
}

std::uint32_t TWin32System::AnsiCodePage() {
    return GetACP();
}

bool TWin32System::IsLeadByte(unsigned char byte) {
    return IsDBCSLeadByte(byte) != FALSE;
}

std::string TWin32System::FormatSystemMessage(std::uint32_t code) {
    char buffer[1024] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                                            FORMAT_MESSAGE_ARGUMENT_ARRAY,
                                        nullptr, code, 0, buffer, sizeof buffer, nullptr);
    return std::string(buffer, length);
}

int TWin32System::CompareTextIgnoreCase(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(),
                          static_cast<int>(a.size()), b.data(), static_cast<int>(b.size())) -
           CSTR_EQUAL;
}

std::uintptr_t TWin32System::CreateNamedMutex(const std::string& name, bool initialOwner) {
    return reinterpret_cast<std::uintptr_t>(CreateMutexA(nullptr, initialOwner, name.c_str()));
}

std::uint32_t TWin32System::LastError() {
    return GetLastError();
}

void TWin32System::CloseMutex(std::uintptr_t mutex) {
    CloseHandle(reinterpret_cast<HANDLE>(mutex));
}

std::uint32_t TWin32System::RegisterMessage(const std::string& name) {
    return RegisterClipboardFormatA(name.c_str());
}

std::vector<std::string> TWin32System::HostAddresses() {
    static const bool started = [] {
        WSADATA data{};
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    if (!started)
        throw EQelError(SystemErrorText(*this, static_cast<std::uint32_t>(WSAGetLastError())));
    char host[256] = {};
    if (gethostname(host, sizeof host) != 0)
        throw EQelError(SystemErrorText(*this, static_cast<std::uint32_t>(WSAGetLastError())));
    const hostent* entry = gethostbyname(host);
    if (!entry)
        throw EQelError(SystemErrorText(*this, static_cast<std::uint32_t>(WSAGetLastError())));
    std::vector<std::string> addresses;
    if (entry->h_addrtype != AF_INET) return addresses;
    for (char** address = entry->h_addr_list; *address; ++address) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(*address);
        addresses.push_back(std::to_string(bytes[0]) + "." + std::to_string(bytes[1]) + "." +
                            std::to_string(bytes[2]) + "." + std::to_string(bytes[3]));
    }
    return addresses;
}

void TWin32System::Sleep(std::uint32_t milliseconds) {
    ::Sleep(milliseconds);
}

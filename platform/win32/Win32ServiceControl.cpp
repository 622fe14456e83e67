// Platform code only: the service control manager and the restart calls over the Win32 API.
#include "Win32ServiceControl.h"

#include "Win32Api.h"

namespace {
SC_HANDLE AsSc(TServiceHandle handle) {
    return reinterpret_cast<SC_HANDLE>(handle);
}
TServiceHandle FromSc(SC_HANDLE handle) {
    return reinterpret_cast<TServiceHandle>(handle);
}
HANDLE AsToken(TTokenHandle handle) {
    return reinterpret_cast<HANDLE>(handle);
}
} // namespace

TServiceHandle TWin32ServiceControl::OpenSCManagerA(std::uint32_t access) {
    return FromSc(::OpenSCManagerA(nullptr, nullptr, access));
}

TServiceHandle TWin32ServiceControl::OpenServiceA(TServiceHandle manager, const std::string& name,
                                                  std::uint32_t access) {
    return FromSc(::OpenServiceA(AsSc(manager), name.c_str(), access));
}

bool TWin32ServiceControl::StartServiceA(TServiceHandle service) {
    return ::StartServiceA(AsSc(service), 0, nullptr) != FALSE;
}

bool TWin32ServiceControl::ControlService(TServiceHandle service, std::uint32_t control,
                                          std::uint32_t& state) {
    SERVICE_STATUS status{};
    status.dwCurrentState = state;
    const BOOL sent = ::ControlService(AsSc(service), control, &status);
    const DWORD error = GetLastError();
    state = status.dwCurrentState;
    SetLastError(error);
    return sent != FALSE;
}

bool TWin32ServiceControl::QueryServiceStatus(TServiceHandle service, std::uint32_t& state) {
    SERVICE_STATUS status{};
    if (!::QueryServiceStatus(AsSc(service), &status)) return false;
    state = status.dwCurrentState;
    return true;
}

TServiceHandle TWin32ServiceControl::CreateServiceA(TServiceHandle manager, const std::string& name,
                                                    const std::string& displayName,
                                                    std::uint32_t access, std::uint32_t serviceType,
                                                    std::uint32_t startType,
                                                    std::uint32_t errorControl,
                                                    const std::string& binaryPath) {
    return FromSc(::CreateServiceA(AsSc(manager), name.c_str(), displayName.c_str(), access,
                                   serviceType, startType, errorControl, binaryPath.c_str(),
                                   nullptr, nullptr, nullptr, nullptr, nullptr));
}

bool TWin32ServiceControl::DeleteService(TServiceHandle service) {
    return ::DeleteService(AsSc(service)) != FALSE;
}

void TWin32ServiceControl::CloseServiceHandle(TServiceHandle handle) {
    ::CloseServiceHandle(AsSc(handle));
}

std::uint32_t TWin32ServiceControl::LastError() {
    return GetLastError();
}

void TWin32ServiceControl::Sleep(std::uint32_t milliseconds) {
    ::Sleep(milliseconds);
}

std::uint64_t TWin32ServiceControl::Milliseconds() {
    return GetTickCount64();
}

bool TWin32ServiceControl::IsNtFamily() {
    return (GetVersion() & 0x80000000u) == 0;
}

bool TWin32ServiceControl::OpenProcessToken(std::uint32_t access, TTokenHandle& token) {
    HANDLE result = nullptr;
    if (!::OpenProcessToken(GetCurrentProcess(), access, &result)) return false;
    token = reinterpret_cast<TTokenHandle>(result);
    return true;
}

bool TWin32ServiceControl::LookupPrivilegeValueA(const std::string& name, TLuid& luid) {
    LUID result{};
    if (!::LookupPrivilegeValueA(nullptr, name.c_str(), &result)) return false;
    luid = TLuid{result.LowPart, result.HighPart};
    return true;
}

bool TWin32ServiceControl::AdjustTokenPrivileges(TTokenHandle token, const TLuid& luid,
                                                 std::uint32_t attributes) {
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Luid.LowPart = luid.LowPart;
    privileges.Privileges[0].Luid.HighPart = luid.HighPart;
    privileges.Privileges[0].Attributes = attributes;
    return ::AdjustTokenPrivileges(AsToken(token), FALSE, &privileges, 0, nullptr, nullptr) !=
           FALSE;
}

void TWin32ServiceControl::CloseHandle(TTokenHandle token) {
    ::CloseHandle(AsToken(token));
}

bool TWin32ServiceControl::ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) {
    return ::ExitWindowsEx(flags, reason) != FALSE;
}

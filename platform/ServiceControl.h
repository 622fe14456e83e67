#pragma once

#include "UniqueHandle.h"

#include <cstdint>
#include <string>

// A service control manager or service handle as the platform hands it out; 0 is no handle.
using TServiceHandle = std::uintptr_t;
// A process access token; 0 is no token.
using TTokenHandle = std::uintptr_t;

// A locally unique identifier, as the platform names a privilege.
struct TLuid {
    std::uint32_t LowPart = 0;
    std::int32_t HighPart = 0;
};

namespace svc {
inline constexpr std::uint32_t GenericRead = 0x80000000;
inline constexpr std::uint32_t GenericWrite = 0x40000000;
inline constexpr std::uint32_t GenericExecute = 0x20000000;
inline constexpr std::uint32_t GenericAll = 0x10000000;
inline constexpr std::uint32_t Delete = 0x00010000;
inline constexpr std::uint32_t StandardRightsRequired = 0x000F0000;

inline constexpr std::uint32_t ScManagerCreateService = 0x0002;
inline constexpr std::uint32_t ScManagerAllAccess = 0x000F003F;

inline constexpr std::uint32_t ServiceQueryConfig = 0x0001;
inline constexpr std::uint32_t ServiceQueryStatus = 0x0004;
inline constexpr std::uint32_t ServiceStart = 0x0010;
inline constexpr std::uint32_t ServiceStop = 0x0020;
inline constexpr std::uint32_t ServiceAllAccess = 0x000F01FF;

inline constexpr std::uint32_t ServiceWin32OwnProcess = 0x00000010;
inline constexpr std::uint32_t ServiceAutoStart = 0x00000002;
inline constexpr std::uint32_t ServiceErrorNormal = 0x00000001;

inline constexpr std::uint32_t ServiceControlStop = 1;

inline constexpr std::uint32_t ServiceStopped = 1;
inline constexpr std::uint32_t ServiceStartPending = 2;
inline constexpr std::uint32_t ServiceStopPending = 3;
inline constexpr std::uint32_t ServiceRunning = 4;
inline constexpr std::uint32_t ServicePaused = 7;

inline constexpr std::uint32_t ErrorAccessDenied = 5;
inline constexpr std::uint32_t ErrorServiceAlreadyRunning = 1056;
inline constexpr std::uint32_t ErrorServiceDoesNotExist = 1060;
inline constexpr std::uint32_t ErrorServiceNotActive = 1062;
inline constexpr std::uint32_t ErrorServiceMarkedForDelete = 1072;
inline constexpr std::uint32_t ErrorServiceExists = 1073;
inline constexpr std::uint32_t ErrorNotAllAssigned = 1300;

inline constexpr std::uint32_t TokenAdjustPrivileges = 0x0020;
inline constexpr std::uint32_t SePrivilegeEnabled = 0x00000002;
inline constexpr const char* SeShutdownName = "SeShutdownPrivilege";
inline constexpr std::uint32_t EwxReboot = 0x00000002;
inline constexpr std::uint32_t ShtdnReasonMajorApplication = 0x00040000;
} // namespace svc

// The service control manager of the local computer and the calls around it, in the platform's
// own numbers. Failures are reported as the platform reports them: a null handle or false, with
// the reason in LastError.
class IServiceControl {
public:
    virtual ~IServiceControl() = default;

    // The active database of the local computer.
    virtual TServiceHandle OpenSCManagerA(std::uint32_t access) = 0;
    virtual TServiceHandle OpenServiceA(TServiceHandle manager, const std::string& name,
                                        std::uint32_t access) = 0;
    // Without arguments.
    virtual bool StartServiceA(TServiceHandle service) = 0;
    // `state` is the status record's current state: filled when the service reports one, left
    // as it was otherwise.
    virtual bool ControlService(TServiceHandle service, std::uint32_t control,
                                std::uint32_t& state) = 0;
    virtual bool QueryServiceStatus(TServiceHandle service, std::uint32_t& state) = 0;
    // No load-order group, tag, dependencies, account (LocalSystem) or password.
    virtual TServiceHandle CreateServiceA(TServiceHandle manager, const std::string& name,
                                          const std::string& displayName, std::uint32_t access,
                                          std::uint32_t serviceType, std::uint32_t startType,
                                          std::uint32_t errorControl,
                                          const std::string& binaryPath) = 0;
    virtual bool DeleteService(TServiceHandle service) = 0;
    virtual void CloseServiceHandle(TServiceHandle handle) = 0;

    virtual std::uint32_t LastError() = 0;
    virtual void Sleep(std::uint32_t milliseconds) = 0;
    // Milliseconds since some fixed moment; does not wrap.
    virtual std::uint64_t Milliseconds() = 0;

    // Restarting the computer.
    virtual bool IsNtFamily() = 0;
    // The token of the own process.
    virtual bool OpenProcessToken(std::uint32_t access, TTokenHandle& token) = 0;
    // On the local computer.
    virtual bool LookupPrivilegeValueA(const std::string& name, TLuid& luid) = 0;
    // One privilege with these attributes; no previous state.
    virtual bool AdjustTokenPrivileges(TTokenHandle token, const TLuid& luid,
                                       std::uint32_t attributes) = 0;
    virtual void CloseHandle(TTokenHandle token) = 0;
    virtual bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) = 0;
};

using TServiceObject =
    TUniqueHandle<IServiceControl, TServiceHandle, &IServiceControl::CloseServiceHandle>;
using TTokenObject = TUniqueHandle<IServiceControl, TTokenHandle, &IServiceControl::CloseHandle>;

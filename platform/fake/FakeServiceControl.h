#pragma once

#include "platform/ServiceControl.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// A service control manager in memory with a virtual clock: Sleep advances the clock, and each
// service moves through its scripted states as the clock passes. Handles are checked against
// the rights they were opened with, as the platform does. Every call is recorded in order.
class TFakeServiceControl : public IServiceControl {
public:
    // A state that a service reports from `After` milliseconds after the start or stop request.
    struct TChange {
        std::uint64_t After = 0;
        std::uint32_t State = 0;
    };
    struct TService {
        std::uint32_t State = svc::ServiceStopped;
        std::vector<TChange> OnStart{{0, svc::ServiceStartPending}, {1500, svc::ServiceRunning}};
        std::vector<TChange> OnStop{{0, svc::ServiceStopPending}, {1500, svc::ServiceStopped}};
        bool MarkedForDelete = false;
        // As registered.
        std::string DisplayName;
        std::string BinaryPath;
        std::uint32_t ServiceType = svc::ServiceWin32OwnProcess;
        std::uint32_t StartType = svc::ServiceAutoStart;
        std::uint32_t ErrorControl = svc::ServiceErrorNormal;
    };

    std::map<std::string, TService> Services; // by key name

    // Faults: the named call ("OpenService", "QueryServiceStatus", ...) fails with this code.
    std::map<std::string, std::uint32_t> Faults;
    // ... or only from its n-th call on (counted from 1).
    std::map<std::string, int> FaultsFromCall;
    bool NtFamily = true;
    // What the platform leaves in the last error after AdjustTokenPrivileges has succeeded.
    std::uint32_t AdjustLastError = 0;

    std::uint64_t Clock = 0;
    // "OpenSCManager 0x80000000", "OpenService Name 0x20000004", "Sleep 100", ...
    std::vector<std::string> Calls;
    int BadCloses = 0; // closes of a handle that was not open
    int OpenHandles() const { return static_cast<int>(Handles.size()); }
    // Moves the service through these states from now on, as a start or stop request does.
    void Script(const std::string& name, const std::vector<TChange>& changes);

    TServiceHandle OpenSCManagerA(std::uint32_t access) override;
    TServiceHandle OpenServiceA(TServiceHandle manager, const std::string& name,
                                std::uint32_t access) override;
    bool StartServiceA(TServiceHandle service) override;
    bool ControlService(TServiceHandle service, std::uint32_t control,
                        std::uint32_t& state) override;
    bool QueryServiceStatus(TServiceHandle service, std::uint32_t& state) override;
    TServiceHandle CreateServiceA(TServiceHandle manager, const std::string& name,
                                  const std::string& displayName, std::uint32_t access,
                                  std::uint32_t serviceType, std::uint32_t startType,
                                  std::uint32_t errorControl,
                                  const std::string& binaryPath) override;
    bool DeleteService(TServiceHandle service) override;
    void CloseServiceHandle(TServiceHandle handle) override;

    std::uint32_t LastError() override { return Error; }
    void Sleep(std::uint32_t milliseconds) override;
    std::uint64_t Milliseconds() override { return Clock; }

    bool IsNtFamily() override { return NtFamily; }
    bool OpenProcessToken(std::uint32_t access, TTokenHandle& token) override;
    bool LookupPrivilegeValueA(const std::string& name, TLuid& luid) override;
    bool AdjustTokenPrivileges(TTokenHandle token, const TLuid& luid,
                               std::uint32_t attributes) override;
    void CloseHandle(TTokenHandle token) override;
    bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) override;

private:
    enum class TKind { Manager, Service, Token };
    struct THandle {
        TKind Kind = TKind::Manager;
        std::string Service;
        std::uint32_t Rights = 0; // generic rights mapped to specific ones
    };
    struct TPending {
        std::uint64_t At = 0;
        std::uint32_t State = 0;
    };
    std::map<std::uintptr_t, THandle> Handles;
    std::map<std::string, std::vector<TPending>> Pending;
    std::map<std::string, int> CallCounts;
    std::uintptr_t NextHandle = 0x100;
    std::uint32_t Error = 0;

    void Record(const std::string& call);
    bool Fail(std::uint32_t code); // false, with the error set
    bool Faulted(const std::string& call);
    const THandle* Find(TServiceHandle handle, TKind kind, std::uint32_t right);
    TServiceHandle Issue(THandle handle);
    void Advance();
    void RemoveIfDeleted(const std::string& name);
};

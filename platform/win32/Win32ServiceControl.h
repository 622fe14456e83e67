// Platform code only: the service control manager and the restart calls over the Win32 API.
#pragma once

#include "platform/ServiceControl.h"

class TWin32ServiceControl : public IServiceControl {
public:
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

    std::uint32_t LastError() override;
    void Sleep(std::uint32_t milliseconds) override;
    std::uint64_t Milliseconds() override;

    bool IsNtFamily() override;
    bool OpenProcessToken(std::uint32_t access, TTokenHandle& token) override;
    bool LookupPrivilegeValueA(const std::string& name, TLuid& luid) override;
    bool AdjustTokenPrivileges(TTokenHandle token, const TLuid& luid,
                               std::uint32_t attributes) override;
    void CloseHandle(TTokenHandle token) override;
    bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) override;
};

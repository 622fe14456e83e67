#include "DorServices.h"
#include "ServiceFrame.h"
#include "platform/RegistryAccess.h"

namespace {
// Unquoted, a path with blanks lets the service control manager try "C:\Program.exe" first.
std::string QuotedBinaryPath(const std::string& path) {
    if (path.find(' ') == std::string::npos || path.front() == '"') return path;
    return '"' + path + '"';
}

void WriteDescription(const std::string& serviceName, const std::string& description) {
    IRegistry& registry = *Platform().Registry;
    TRegKey key;
    if (OpenOrCreateKey(registry, reg::HKeyLocalMachine,
                        "System\\CurrentControlSet\\Services\\" + serviceName, key) != 0)
        return;
    if (registry.SetValue(key.Get(), "Description", reg::RegSz,
                          RegistryDataFromString(description)) != 0)
        throw EQelError("Failed to set data for 'Description'");
}
} // namespace

bool InstallService(const std::string& binaryPath, const std::string& serviceName,
                    const std::string& displayName, const std::string& description) {
    IServiceControl& scm = *Platform().ServiceControl;
    const TServiceObject manager =
        OwnServiceHandle(scm, scm.OpenSCManagerA(svc::ScManagerCreateService));
    if (!manager) return false;
    const TServiceObject service = OwnServiceHandle(
        scm, scm.CreateServiceA(manager.Get(), serviceName, displayName, svc::ServiceAllAccess,
                                svc::ServiceWin32OwnProcess, svc::ServiceAutoStart,
                                svc::ServiceErrorNormal, QuotedBinaryPath(binaryPath)));
    // Why the manager refused is not reported: the caller only learns that it did.
    if (!service) return false;
    if (!description.empty()) WriteDescription(serviceName, description);
    return true;
}

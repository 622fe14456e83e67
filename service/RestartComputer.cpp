#include "DorServices.h"
#include "ServiceFrame.h"

namespace {
// Without the shutdown privilege the restart request is refused on the NT family.
bool EnableShutdownPrivilege(IServiceControl& scm) {
    TTokenHandle raw = 0;
    if (!scm.OpenProcessToken(svc::TokenAdjustPrivileges, raw)) return false;
    const TTokenObject token(scm, raw);
    TLuid luid;
    if (!scm.LookupPrivilegeValueA(svc::SeShutdownName, luid)) return false;
    // Success with a privilege that was not assigned is reported only through the last error.
    const bool adjusted = scm.AdjustTokenPrivileges(token.Get(), luid, svc::SePrivilegeEnabled);
    return adjusted && scm.LastError() == 0;
}
} // namespace

bool RestartComputer() {
    IServiceControl& scm = *Platform().ServiceControl;
    if (scm.IsNtFamily() && !EnableShutdownPrivilege(scm)) return false;
    return scm.ExitWindowsEx(svc::EwxReboot, svc::ShtdnReasonMajorApplication);
}

#include "DorServices.h"
#include "ServiceFrame.h"

namespace {
constexpr std::uint64_t WaitLimitMs = 300000;
constexpr std::uint32_t WaitAccess = svc::GenericExecute | svc::ServiceQueryStatus;

std::string StartAndWait(IServiceControl& scm, TServiceHandle service) {
    if (!scm.StartServiceA(service)) return ServiceErrorText(scm.LastError());
    const std::uint64_t start = scm.Milliseconds();
    for (;;) {
        // Even a service that runs at once costs one pause.
        PauseBetweenPolls(scm);
        std::uint32_t state = 0;
        if (!scm.QueryServiceStatus(service, state)) return ServiceErrorText(scm.LastError());
        if (scm.Milliseconds() - start > WaitLimitMs) return "Timeout while starting.";
        // A service that stopped again is the caller's to find out.
        if (state == svc::ServiceRunning || state == svc::ServiceStopped) return {};
    }
}

std::string StopAndWait(IServiceControl& scm, TServiceHandle service) {
    const std::uint64_t start = scm.Milliseconds();
    for (;;) {
        std::uint32_t state = 0;
        if (!scm.QueryServiceStatus(service, state)) return ServiceErrorText(scm.LastError());
        // Sent again on every poll that still finds it running; a refused control leaves the
        // queried state in place.
        if (state == svc::ServiceRunning)
            scm.ControlService(service, svc::ServiceControlStop, state);
        PauseBetweenPolls(scm);
        if (scm.Milliseconds() - start > WaitLimitMs) return "Timeout while stopping.";
        if (state == svc::ServiceStopped) return {};
    }
}
} // namespace

void StartServiceAndWait(const std::string& serviceName) {
    RunInServiceFrame(serviceName, svc::GenericRead, WaitAccess, StartAndWait);
}

void StopServiceAndWait(const std::string& serviceName) {
    RunInServiceFrame(serviceName, svc::GenericRead, WaitAccess, StopAndWait);
}

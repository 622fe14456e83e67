#include "DorServices.h"
#include "ServiceFrame.h"

std::function<void()> ServiceWaitCallback;

namespace {
std::string Delete(IServiceControl& scm, TServiceHandle service) {
    if (!scm.DeleteService(service)) return ServiceErrorText(scm.LastError());
    return {};
}

std::string Nothing(IServiceControl&, TServiceHandle) {
    return {};
}
} // namespace

bool IsServiceRunning(const std::string& serviceName) {
    bool running = false;
    RunInServiceFrame(serviceName, svc::GenericRead, svc::ServiceQueryStatus,
                      [&](IServiceControl& scm, TServiceHandle service) -> std::string {
                          std::uint32_t state = 0;
                          if (!scm.QueryServiceStatus(service, state))
                              return ServiceErrorText(scm.LastError());
                          running = state == svc::ServiceRunning;
                          return {};
                      });
    return running;
}

bool ServiceExists(const std::string& serviceName) {
    return RunInServiceFrame(serviceName, svc::GenericRead, svc::GenericRead, Nothing,
                             svc::ErrorServiceDoesNotExist);
}

bool UninstallService(const std::string& serviceName) {
    RunInServiceFrame(serviceName, svc::GenericAll,
                      svc::GenericExecute | svc::StandardRightsRequired, Delete);
    return true;
}

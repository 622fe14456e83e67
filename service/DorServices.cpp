#include "DorServices.h"
#include "ServiceFrame.h"

std::function<void()> ServiceWaitCallback;

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
    IServiceControl& scm = *Platform().ServiceControl;
    std::string error;
    bool exists = false;
    {
        const TServiceObject manager = OwnServiceHandle(scm, scm.OpenSCManagerA(svc::GenericRead));
        if (!manager) {
            error = ServiceErrorText(scm.LastError());
        } else {
            const TServiceObject service = OwnServiceHandle(
                scm, scm.OpenServiceA(manager.Get(), serviceName, svc::GenericRead));
            exists = static_cast<bool>(service);
            if (!exists) {
                const std::uint32_t code = scm.LastError();
                if (code != svc::ErrorServiceDoesNotExist) error = ServiceErrorText(code);
            }
        }
    }
    if (!error.empty()) throw EQelError(error);
    return exists;
}

bool UninstallService(const std::string& serviceName) {
    RunInServiceFrame(serviceName, svc::GenericAll,
                      svc::GenericExecute | svc::StandardRightsRequired,
                      [](IServiceControl& scm, TServiceHandle service) -> std::string {
                          if (!scm.DeleteService(service)) return ServiceErrorText(scm.LastError());
                          return {};
                      });
    return true;
}

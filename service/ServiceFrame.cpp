#include "ServiceFrame.h"

#include "DorServices.h"
#include "platform/SystemErrorText.h"

std::string ServiceErrorText(std::uint32_t code) {
    std::string text = SystemErrorText(*Platform().System, code);
    if (text.empty()) text = "System error " + std::to_string(code);
    return text;
}

void PauseBetweenPolls(IServiceControl& scm) {
    if (ServiceWaitCallback) {
        ServiceWaitCallback();
        scm.Sleep(100);
    } else {
        scm.Sleep(1000);
    }
}

bool RunInServiceFrame(const std::string& serviceName, std::uint32_t managerAccess,
                       std::uint32_t serviceAccess, const TServiceStep& step,
                       std::optional<std::uint32_t> tolerated) {
    IServiceControl& scm = *Platform().ServiceControl;
    std::string error;
    bool opened = false;
    {
        const TServiceObject manager = OwnServiceHandle(scm, scm.OpenSCManagerA(managerAccess));
        if (!manager) {
            error = ServiceErrorText(scm.LastError());
        } else {
            const TServiceObject service =
                OwnServiceHandle(scm, scm.OpenServiceA(manager.Get(), serviceName, serviceAccess));
            opened = static_cast<bool>(service);
            if (opened) {
                error = step(scm, service.Get());
            } else {
                const std::uint32_t code = scm.LastError();
                if (code != tolerated) error = ServiceErrorText(code);
            }
        }
    }
    if (!error.empty()) throw EQelError(error);
    return opened;
}

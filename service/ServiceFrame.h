#pragma once

#include "platform/Platform.h"
#include "platform/QelError.h"

#include <cstdint>
#include <string>

// The frame that every service operation but install and restart runs in.

// The system's text for an error code, trimmed; never empty, so that a failure can never pass
// for success.
std::string ServiceErrorText(std::uint32_t code);

// A null handle stays unowned: there is nothing to close.
inline TServiceObject OwnServiceHandle(IServiceControl& scm, TServiceHandle handle) {
    return handle ? TServiceObject(scm, handle) : TServiceObject();
}

// Opens the service control manager and the service with the operation's access and runs
// `step(scm, service)`, which returns an error text (empty for none). Raises the first error only
// once both handles are closed, the service's first.
template <typename Step>
void RunInServiceFrame(const std::string& serviceName, std::uint32_t managerAccess,
                       std::uint32_t serviceAccess, Step step) {
    IServiceControl& scm = *Platform().ServiceControl;
    std::string error;
    {
        const TServiceObject manager = OwnServiceHandle(scm, scm.OpenSCManagerA(managerAccess));
        if (!manager) {
            error = ServiceErrorText(scm.LastError());
        } else {
            const TServiceObject service =
                OwnServiceHandle(scm, scm.OpenServiceA(manager.Get(), serviceName, serviceAccess));
            error = service ? step(scm, service.Get()) : ServiceErrorText(scm.LastError());
        }
    }
    if (!error.empty()) throw EQelError(error);
}

// The pause between two polls of a wait.
void PauseBetweenPolls(IServiceControl& scm);

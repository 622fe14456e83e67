#pragma once

#include "platform/Platform.h"
#include "platform/QelError.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// The frame that every service operation but install and restart runs in.

// The system's text for an error code, trimmed; never empty, so that a failure can never pass
// for success.
std::string ServiceErrorText(std::uint32_t code);

// A null handle stays unowned: there is nothing to close.
inline TServiceObject OwnServiceHandle(IServiceControl& scm, TServiceHandle handle) {
    return handle ? TServiceObject(scm, handle) : TServiceObject();
}

// The step of an operation: runs on the open service and returns an error text, empty for none.
using TServiceStep = std::function<std::string(IServiceControl& scm, TServiceHandle service)>;

// Opens the service control manager and the service with the operation's access and runs the
// step. Raises the first error only once both handles are closed, the service's first. A service
// that cannot be opened for the `tolerated` reason gives false instead of an error.
bool RunInServiceFrame(const std::string& serviceName, std::uint32_t managerAccess,
                       std::uint32_t serviceAccess, const TServiceStep& step,
                       std::optional<std::uint32_t> tolerated = std::nullopt);

// The pause between two polls of a wait.
void PauseBetweenPolls(IServiceControl& scm);

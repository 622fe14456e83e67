#pragma once

#include <functional>
#include <string>

// The probe service's control primitives over the platform's service control manager. Each call
// opens its own handles and releases them before it returns or raises; failures raise EQelError
// with the system's text for the error.

// Called on every poll of the two waits, so that a user interface stays live; while it is set
// the waits poll every 100 ms instead of every 1000 ms.
extern std::function<void()> ServiceWaitCallback;

// Starts the service and waits up to 300 seconds until it runs or has stopped again.
void StartServiceAndWait(const std::string& serviceName);
// Sends the stop control while the service runs and waits up to 300 seconds until it has stopped.
void StopServiceAndWait(const std::string& serviceName);
// An own-process service, started automatically, running as LocalSystem. False when the service
// control manager refuses; raises only when the description cannot be written.
bool InstallService(const std::string& binaryPath, const std::string& serviceName,
                    const std::string& displayName, const std::string& description);
// Marks the service for deletion; it goes once it has stopped and its last handle is closed.
bool UninstallService(const std::string& serviceName);
bool IsServiceRunning(const std::string& serviceName);
// False only when the service control manager does not know the name.
bool ServiceExists(const std::string& serviceName);
// Asks for a restart that running applications may still refuse; never raises.
bool RestartComputer();

// A stand-in for the probe service: a real service of its own process that reaches RUNNING when
// started, logs every second while it runs and reaches STOPPED when told to stop. A test knob
// in its own registry key makes it misbehave on purpose.
#include "ProbeStandInLog.h"

#include <mutex>

namespace {
using TKey = TWin32Handle<HKEY, ::RegCloseKey>;
using TEvent = TWin32Handle<HANDLE, ::CloseHandle>;

enum class TBehaviour { Normal, StartSlowly, ExitAtOnce, IgnoreStop };

TBehaviour ReadBehaviour() {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "software\\Dorvasen\\VELK Test\\Probe Stand-in", 0,
                      KEY_READ, &raw) != ERROR_SUCCESS)
        return TBehaviour::Normal;
    const TKey key(raw);
    char value[64] = {};
    DWORD size = sizeof value - 1;
    if (RegQueryValueExA(key.get(), "TestBehaviour", nullptr, nullptr,
                         reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS)
        return TBehaviour::Normal;
    const std::string text = value;
    if (text == "StartSlowly") return TBehaviour::StartSlowly;
    if (text == "ExitAtOnce") return TBehaviour::ExitAtOnce;
    if (text == "IgnoreStop") return TBehaviour::IgnoreStop;
    return TBehaviour::Normal;
}

std::mutex StatusLock;
SERVICE_STATUS_HANDLE StatusHandle = nullptr;
SERVICE_STATUS Status{};
TEvent StopRequested;
TBehaviour Behaviour = TBehaviour::Normal;

void Report(DWORD state, DWORD waitHint = 0) {
    const std::lock_guard<std::mutex> lock(StatusLock);
    const bool pending = state == SERVICE_START_PENDING || state == SERVICE_STOP_PENDING;
    Status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    Status.dwCurrentState = state;
    Status.dwControlsAccepted =
        state == SERVICE_RUNNING || state == SERVICE_STOP_PENDING ? SERVICE_ACCEPT_STOP : 0;
    Status.dwWin32ExitCode = NO_ERROR;
    Status.dwCheckPoint = pending ? Status.dwCheckPoint + 1 : 0;
    Status.dwWaitHint = waitHint;
    SetServiceStatus(StatusHandle, &Status);
}

DWORD WINAPI Control(DWORD control, DWORD, LPVOID, LPVOID) {
    switch (control) {
    case SERVICE_CONTROL_STOP:
    case SERVICE_CONTROL_SHUTDOWN:
        // Wine refuses every further control once one stop has been delivered (1061): a stand-in
        // that ignores it ends only with its process.
        if (Behaviour == TBehaviour::IgnoreStop) return NO_ERROR;
        Report(SERVICE_STOP_PENDING, 3000);
        SetEvent(StopRequested.get());
        return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE:
        return NO_ERROR;
    default:
        return ERROR_CALL_NOT_IMPLEMENTED;
    }
}

void WINAPI ServiceMain(DWORD argc, LPSTR* argv) {
    StatusHandle = RegisterServiceCtrlHandlerExA(argc > 0 ? argv[0] : "", Control, nullptr);
    if (!StatusHandle) return;
    Report(SERVICE_START_PENDING, 3000);
    Behaviour = ReadBehaviour();
    if (Behaviour == TBehaviour::StartSlowly) {
        for (int second = 0; second < 3; ++second) {
            Sleep(1000);
            Report(SERVICE_START_PENDING, 3000);
        }
    }
    if (Behaviour == TBehaviour::ExitAtOnce) {
        Report(SERVICE_STOPPED);
        return;
    }
    // The probe reads its settings once, at start: a restart applies changed settings.
    TProbeStandInLog log(ProbeDataDir());
    log.Write("VELK Probe started");
    Report(SERVICE_RUNNING);
    while (WaitForSingleObject(StopRequested.get(), 1000) == WAIT_TIMEOUT)
        log.Write("VELK Probe running");
    log.Write("VELK Probe stopped");
    Report(SERVICE_STOPPED);
}
} // namespace

int main() {
    StopRequested.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    // An own-process service: the dispatcher ignores the name.
    char name[] = "";
    SERVICE_TABLE_ENTRYA table[] = {{name, ServiceMain}, {nullptr, nullptr}};
    return StartServiceCtrlDispatcherA(table) ? 0 : static_cast<int>(GetLastError());
}

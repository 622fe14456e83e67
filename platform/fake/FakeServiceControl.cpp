#include "FakeServiceControl.h"

#include <cstdio>

namespace {
constexpr std::uint32_t ErrorInvalidHandle = 6;
constexpr std::uint32_t ErrorInvalidServiceControl = 1052;
constexpr std::uint32_t ErrorServiceCannotAcceptControl = 1061;
constexpr std::uint32_t ErrorNoSuchPrivilege = 1313;
constexpr TLuid ShutdownLuid{0x13, 0};

std::string Hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
    return text;
}

// The platform's generic mappings for the two kinds of object.
std::uint32_t ManagerRights(std::uint32_t access) {
    std::uint32_t rights = (access & 0x0FFFFFFF) | 0x0001; // every open may connect
    if (access & svc::GenericRead) rights |= 0x00020014;
    if (access & svc::GenericWrite) rights |= 0x00020022;
    if (access & svc::GenericExecute) rights |= 0x00020009;
    if (access & svc::GenericAll) rights |= svc::ScManagerAllAccess;
    return rights;
}

std::uint32_t ServiceRights(std::uint32_t access) {
    std::uint32_t rights = access & 0x0FFFFFFF;
    if (access & svc::GenericRead) rights |= 0x0002008D;
    if (access & svc::GenericWrite) rights |= 0x00020002;
    if (access & svc::GenericExecute) rights |= 0x00020170;
    if (access & svc::GenericAll) rights |= svc::ServiceAllAccess;
    return rights;
}
} // namespace

void TFakeServiceControl::Record(const std::string& call) {
    Calls.push_back(call);
}

bool TFakeServiceControl::Fail(std::uint32_t code) {
    Error = code;
    return false;
}

bool TFakeServiceControl::Faulted(const std::string& call) {
    const int count = ++CallCounts[call];
    const auto fault = Faults.find(call);
    if (fault == Faults.end()) return false;
    const auto from = FaultsFromCall.find(call);
    if (from != FaultsFromCall.end() && count < from->second) return false;
    Error = fault->second;
    return true;
}

const TFakeServiceControl::THandle* TFakeServiceControl::Find(TServiceHandle handle, TKind kind,
                                                              std::uint32_t right) {
    const auto found = Handles.find(handle);
    if (found == Handles.end() || found->second.Kind != kind) {
        Error = ErrorInvalidHandle;
        return nullptr;
    }
    if ((found->second.Rights & right) != right) {
        Error = svc::ErrorAccessDenied;
        return nullptr;
    }
    return &found->second;
}

TServiceHandle TFakeServiceControl::Issue(THandle handle) {
    const TServiceHandle value = NextHandle;
    NextHandle += 4;
    Handles[value] = std::move(handle);
    Error = 0;
    return value;
}

void TFakeServiceControl::Script(const std::string& name, const std::vector<TChange>& changes) {
    std::vector<TPending>& pending = Pending[name];
    pending.clear();
    for (const TChange& change : changes)
        pending.push_back({Clock + change.After, change.State});
    Advance();
}

void TFakeServiceControl::Advance() {
    for (auto& [name, pending] : Pending) {
        const auto service = Services.find(name);
        while (!pending.empty() && pending.front().At <= Clock) {
            if (service != Services.end()) service->second.State = pending.front().State;
            pending.erase(pending.begin());
        }
    }
    std::vector<std::string> names;
    for (const auto& [name, service] : Services)
        names.push_back(name);
    for (const std::string& name : names)
        RemoveIfDeleted(name);
}

// A service marked for deletion goes once it has stopped and its last handle is closed.
void TFakeServiceControl::RemoveIfDeleted(const std::string& name) {
    const auto service = Services.find(name);
    if (service == Services.end() || !service->second.MarkedForDelete ||
        service->second.State != svc::ServiceStopped)
        return;
    for (const auto& [value, handle] : Handles)
        if (handle.Kind == TKind::Service && handle.Service == name) return;
    Services.erase(service);
    Pending.erase(name);
}

TServiceHandle TFakeServiceControl::OpenSCManagerA(std::uint32_t access) {
    Record("OpenSCManager " + Hex(access));
    if (Faulted("OpenSCManager")) return 0;
    return Issue({TKind::Manager, {}, ManagerRights(access)});
}

TServiceHandle TFakeServiceControl::OpenServiceA(TServiceHandle manager, const std::string& name,
                                                 std::uint32_t access) {
    Record("OpenService " + name + " " + Hex(access));
    if (Faulted("OpenService") || !Find(manager, TKind::Manager, 0)) return 0;
    if (!Services.count(name)) {
        Error = svc::ErrorServiceDoesNotExist;
        return 0;
    }
    return Issue({TKind::Service, name, ServiceRights(access)});
}

bool TFakeServiceControl::StartServiceA(TServiceHandle service) {
    const THandle* handle = Find(service, TKind::Service, svc::ServiceStart);
    Record("StartService" + (handle ? " " + handle->Service : std::string()));
    if (!handle) return false;
    const std::string name = handle->Service;
    if (Faulted("StartService")) return false;
    Advance();
    TService& entry = Services.at(name);
    if (entry.MarkedForDelete) return Fail(svc::ErrorServiceMarkedForDelete);
    if (entry.State != svc::ServiceStopped) return Fail(svc::ErrorServiceAlreadyRunning);
    Script(name, entry.OnStart);
    Error = 0;
    return true;
}

bool TFakeServiceControl::ControlService(TServiceHandle service, std::uint32_t control,
                                         std::uint32_t& state) {
    const THandle* handle = Find(service, TKind::Service, svc::ServiceStop);
    Record("ControlService" + (handle ? " " + handle->Service : std::string()) + " " +
           std::to_string(control));
    if (!handle) return false;
    const std::string name = handle->Service;
    if (Faulted("ControlService")) return false;
    if (control != svc::ServiceControlStop) return Fail(ErrorInvalidServiceControl);
    Advance();
    TService& entry = Services.at(name);
    if (entry.State == svc::ServiceStopped) return Fail(svc::ErrorServiceNotActive);
    if (entry.State != svc::ServiceRunning && entry.State != svc::ServicePaused) {
        state = entry.State;
        return Fail(ErrorServiceCannotAcceptControl);
    }
    Script(name, entry.OnStop);
    state = entry.State;
    Error = 0;
    return true;
}

bool TFakeServiceControl::QueryServiceStatus(TServiceHandle service, std::uint32_t& state) {
    const THandle* handle = Find(service, TKind::Service, svc::ServiceQueryStatus);
    Record("QueryServiceStatus" + (handle ? " " + handle->Service : std::string()));
    if (!handle) return false;
    const std::string name = handle->Service;
    if (Faulted("QueryServiceStatus")) return false;
    Advance();
    state = Services.at(name).State;
    Error = 0;
    return true;
}

TServiceHandle TFakeServiceControl::CreateServiceA(TServiceHandle manager, const std::string& name,
                                                   const std::string& displayName,
                                                   std::uint32_t access, std::uint32_t serviceType,
                                                   std::uint32_t startType,
                                                   std::uint32_t errorControl,
                                                   const std::string& binaryPath) {
    Record("CreateService " + name + " " + Hex(access));
    if (Faulted("CreateService") || !Find(manager, TKind::Manager, svc::ScManagerCreateService))
        return 0;
    if (const auto existing = Services.find(name); existing != Services.end()) {
        Error = existing->second.MarkedForDelete ? svc::ErrorServiceMarkedForDelete
                                                 : svc::ErrorServiceExists;
        return 0;
    }
    TService& entry = Services[name];
    entry.DisplayName = displayName;
    entry.BinaryPath = binaryPath;
    entry.ServiceType = serviceType;
    entry.StartType = startType;
    entry.ErrorControl = errorControl;
    return Issue({TKind::Service, name, ServiceRights(access)});
}

bool TFakeServiceControl::DeleteService(TServiceHandle service) {
    const THandle* handle = Find(service, TKind::Service, svc::Delete);
    Record("DeleteService" + (handle ? " " + handle->Service : std::string()));
    if (!handle) return false;
    const std::string name = handle->Service;
    if (Faulted("DeleteService")) return false;
    TService& entry = Services.at(name);
    if (entry.MarkedForDelete) return Fail(svc::ErrorServiceMarkedForDelete);
    entry.MarkedForDelete = true;
    Error = 0;
    return true;
}

void TFakeServiceControl::CloseServiceHandle(TServiceHandle value) {
    const auto handle = Handles.find(value);
    if (handle == Handles.end() || handle->second.Kind == TKind::Token) {
        Record("CloseServiceHandle ?");
        ++BadCloses;
        Error = ErrorInvalidHandle;
        return;
    }
    const std::string name = handle->second.Service;
    Record("CloseServiceHandle " + (name.empty() ? std::string("SCM") : name));
    Handles.erase(handle);
    RemoveIfDeleted(name);
    Error = 0;
}

void TFakeServiceControl::Sleep(std::uint32_t milliseconds) {
    Record("Sleep " + std::to_string(milliseconds));
    Clock += milliseconds;
    Advance();
}

bool TFakeServiceControl::OpenProcessToken(std::uint32_t access, TTokenHandle& token) {
    Record("OpenProcessToken " + Hex(access));
    if (Faulted("OpenProcessToken")) return false;
    token = Issue({TKind::Token, {}, access});
    return true;
}

bool TFakeServiceControl::LookupPrivilegeValueA(const std::string& name, TLuid& luid) {
    Record("LookupPrivilegeValue " + name);
    if (Faulted("LookupPrivilegeValue")) return false;
    if (name != svc::SeShutdownName) return Fail(ErrorNoSuchPrivilege);
    luid = ShutdownLuid;
    Error = 0;
    return true;
}

bool TFakeServiceControl::AdjustTokenPrivileges(TTokenHandle token, const TLuid& luid,
                                                std::uint32_t attributes) {
    Record("AdjustTokenPrivileges " + std::to_string(attributes));
    if (Faulted("AdjustTokenPrivileges") || !Find(token, TKind::Token, svc::TokenAdjustPrivileges))
        return false;
    const bool known =
        luid.LowPart == ShutdownLuid.LowPart && luid.HighPart == ShutdownLuid.HighPart;
    Error = known ? AdjustLastError : svc::ErrorNotAllAssigned;
    return true;
}

void TFakeServiceControl::CloseHandle(TTokenHandle token) {
    const auto handle = Handles.find(token);
    if (handle == Handles.end() || handle->second.Kind != TKind::Token) {
        Record("CloseHandle ?");
        ++BadCloses;
        Error = ErrorInvalidHandle;
        return;
    }
    Record("CloseHandle token");
    Handles.erase(handle);
    Error = 0;
}

bool TFakeServiceControl::ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) {
    Record("ExitWindows " + Hex(flags) + " " + Hex(reason));
    if (Faulted("ExitWindows")) return false;
    Error = 0;
    return true;
}

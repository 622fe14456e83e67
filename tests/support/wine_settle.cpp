// Waits until the service control manager accepts start requests. Right after services.exe
// starts it holds its database locked (1055) while automatic services start, and a brand-new
// prefix may still answer 1053 while Wine loads.
#include "platform/win32/Win32Api.h"

#include <cstdio>

int main() {
    for (int attempt = 0; attempt < 600; ++attempt) {
        const TScHandle manager(OpenSCManagerA(nullptr, nullptr, GENERIC_READ));
        const TScHandle service(manager ? OpenServiceA(manager.get(), "RpcSs", SERVICE_START)
                                        : nullptr);
        DWORD error = service ? 0 : GetLastError();
        if (service && !StartServiceA(service.get(), 0, nullptr)) error = GetLastError();
        if (error != ERROR_SERVICE_DATABASE_LOCKED && error != ERROR_SERVICE_REQUEST_TIMEOUT)
            return 0;
        Sleep(100);
    }
    std::fprintf(stderr, "service control manager still locked\n");
    return 1;
}

// Program entry: wires the real platform to the window and runs it. Reads no command line.
#include "MainFormLayout.h"
#include "VELKProbeAdminMain.h"
#include "environment/QelGlobals.h"
#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Form.h"
#include "platform/win32/Win32Platform.h"

#include <exception>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    TWin32Platform platform;
    SetPlatform(platform.Get());
    try {
        InitGlobals();
        const std::unique_ptr<IForm> form = CreateWin32Form(MainFormLayout());
        TMainForm window(*form);
        window.Run();
    } catch (const std::exception& error) {
        // The one error boundary of the program.
        MessageBoxA(nullptr, error.what(), platform.Gui.ApplicationTitle().c_str(),
                    MB_OK | MB_ICONERROR);
        return 1;
    }
    return 0;
}

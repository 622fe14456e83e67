#pragma once

#include "Files.h"
#include "Gui.h"
#include "Registry.h"
#include "ServiceControl.h"
#include "Shell.h"
#include "System.h"
#include "Versions.h"

// The platform services a subsystem reaches. The program entry installs the real ones; tests
// install fakes.
struct TPlatform {
    IRegistry* Registry = nullptr;
    ISystem* System = nullptr;
    IShell* Shell = nullptr;
    IFiles* Files = nullptr;
    IServiceControl* ServiceControl = nullptr;
    IGui* Gui = nullptr;
    IVersions* Versions = nullptr;
};

// The process-wide set, for the few places that are global by nature.
TPlatform& Platform();
void SetPlatform(const TPlatform& platform);

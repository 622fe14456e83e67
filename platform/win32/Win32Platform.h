// Platform code only: the real platform services, bundled for the program entry and the tests.
#pragma once

#include "Win32Files.h"
#include "Win32Gui.h"
#include "Win32Registry.h"
#include "Win32ServiceControl.h"
#include "Win32Shell.h"
#include "Win32System.h"
#include "Win32Versions.h"
#include "platform/Platform.h"

struct TWin32Platform {
    TWin32Registry Registry;
    TWin32System System;
    TWin32Shell Shell;
    TWin32Files Files;
    TWin32ServiceControl ServiceControl;
    TWin32Gui Gui;
    TWin32Versions Versions;

    TPlatform Get() {
        return TPlatform{&Registry, &System, &Shell, &Files, &ServiceControl, &Gui, &Versions};
    }
};

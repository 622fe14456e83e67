#pragma once

#include "FakeFiles.h"
#include "FakeRegistry.h"
#include "FakeServiceControl.h"
#include "FakeShell.h"
#include "FakeSystem.h"
#include "FakeVersions.h"
#include "HeadlessGui.h"
#include "platform/Platform.h"

// Every fake, installed as the process-wide platform for as long as it lives.
struct TFakePlatform {
    TFakeRegistry Registry;
    TFakeSystem System;
    TFakeShell Shell;
    TFakeFiles Files;
    TFakeServiceControl ServiceControl;
    THeadlessGui Gui;
    TFakeVersions Versions;

    TFakePlatform() : Previous(Platform()) { SetPlatform(Get()); }
    ~TFakePlatform() { SetPlatform(Previous); }
    TFakePlatform(const TFakePlatform&) = delete;
    TFakePlatform& operator=(const TFakePlatform&) = delete;

    TPlatform Get() {
        return TPlatform{&Registry, &System, &Shell, &Files, &ServiceControl, &Gui, &Versions};
    }

private:
    TPlatform Previous;
};

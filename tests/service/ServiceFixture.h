#pragma once

#include "platform/QelError.h"
#include "platform/fake/FakePlatform.h"
#include "service/DorServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

// One known service in a fake service control manager; every test ends with no handle open and
// none closed twice.
class ServiceFixture : public ::testing::Test {
protected:
    TFakePlatform Fake;
    TFakeServiceControl& Scm = Fake.ServiceControl;
    const std::string Name = "VelkTestSvc";

    void SetUp() override {
        Scm.Services[Name];
        Fake.System.Messages[5] = "Access is denied.\r\n";
        Fake.System.Messages[1056] = "An instance of the service is already running.\r\n";
        Fake.System.Messages[1060] =
            "The specified service does not exist as an installed service.\r\n";
        Fake.System.Messages[1072] = "The specified service has been marked for deletion.\r\n";
        ServiceWaitCallback = nullptr;
    }
    void TearDown() override {
        ServiceWaitCallback = nullptr;
        EXPECT_EQ(Scm.OpenHandles(), 0) << "a handle was left open";
        EXPECT_EQ(Scm.BadCloses, 0) << "a handle was closed that was not open";
    }

    // Records each call of the callback among the platform calls.
    void SetRecordingCallback() {
        ServiceWaitCallback = [this] { Scm.Calls.push_back("callback"); };
    }

    // The raised error's text; empty when nothing was raised.
    static std::string ErrorOf(const std::function<void()>& action) {
        try {
            action();
        } catch (const EQelError& error) {
            return error.Message();
        }
        return {};
    }

    int CountCalls(const std::string& prefix) const {
        return static_cast<int>(
            std::count_if(Scm.Calls.begin(), Scm.Calls.end(),
                          [&](const std::string& call) { return call.rfind(prefix, 0) == 0; }));
    }
};

#include "ServiceFixture.h"

#include <gmock/gmock.h>

using ::testing::ElementsAreArray;

using TRestartComputerTest = ServiceFixture;

namespace {
const std::string OpenToken = "OpenProcessToken 0x00000020";
const std::string Lookup = "LookupPrivilegeValue SeShutdownPrivilege";
const std::string Adjust = "AdjustTokenPrivileges 2";
const std::string CloseToken = "CloseHandle token";
const std::string Reboot = "ExitWindows 0x00000002 0x00040000";
} // namespace

TEST_F(TRestartComputerTest, RestartsOnlyWithTheShutdownPrivilegeEnabled) {
    const struct {
        const char* Case;
        std::function<void(TFakeServiceControl&)> Arrange;
        bool Result;
        std::vector<std::string> Calls;
    } cases[] = {
        {"accepted", [](auto&) {}, true, {OpenToken, Lookup, Adjust, CloseToken, Reboot}},
        {"not the NT family", [](auto& scm) { scm.NtFamily = false; }, true, {Reboot}},
        {"token refused",
         [](auto& scm) { scm.Faults["OpenProcessToken"] = 5; },
         false,
         {OpenToken}},
        {"unknown privilege",
         [](auto& scm) { scm.Faults["LookupPrivilegeValue"] = 1313; },
         false,
         {OpenToken, Lookup, CloseToken}},
        {"adjust failed",
         [](auto& scm) { scm.Faults["AdjustTokenPrivileges"] = 5; },
         false,
         {OpenToken, Lookup, Adjust, CloseToken}},
        {"privilege not held",
         [](auto& scm) { scm.AdjustLastError = svc::ErrorNotAllAssigned; },
         false,
         {OpenToken, Lookup, Adjust, CloseToken}},
        {"restart refused",
         [](auto& scm) { scm.Faults["ExitWindows"] = 1290; },
         false,
         {OpenToken, Lookup, Adjust, CloseToken, Reboot}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Case);
        TFakePlatform fake;
        c.Arrange(fake.ServiceControl);
        EXPECT_EQ(RestartComputer(), c.Result);
        EXPECT_THAT(fake.ServiceControl.Calls, ElementsAreArray(c.Calls));
        EXPECT_EQ(fake.ServiceControl.OpenHandles(), 0);
    }
}

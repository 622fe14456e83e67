#include "ServiceFixture.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {
const std::string DescriptionKey = "System\\CurrentControlSet\\Services\\VelkTestSvc";
const std::string ProbePath = "C:\\Program Files\\VELK Network Monitor\\VELK Probe.exe";
} // namespace

using TDorServicesTest = ServiceFixture;

TEST_F(TDorServicesTest, EachOperationOpensWithItsOwnAccessAndClosesServiceFirst) {
    const struct {
        const char* Operation;
        std::function<void()> Run;
        std::vector<std::string> Calls;
    } cases[] = {
        {"IsServiceRunning",
         [&] { IsServiceRunning(Name); },
         {"OpenSCManager 0x80000000", "OpenService VelkTestSvc 0x00000004",
          "QueryServiceStatus VelkTestSvc", "CloseServiceHandle VelkTestSvc",
          "CloseServiceHandle SCM"}},
        {"ServiceExists",
         [&] { ServiceExists(Name); },
         {"OpenSCManager 0x80000000", "OpenService VelkTestSvc 0x80000000",
          "CloseServiceHandle VelkTestSvc", "CloseServiceHandle SCM"}},
        {"UninstallService",
         [&] { UninstallService(Name); },
         {"OpenSCManager 0x10000000", "OpenService VelkTestSvc 0x200F0000",
          "DeleteService VelkTestSvc", "CloseServiceHandle VelkTestSvc", "CloseServiceHandle SCM"}},
        {"InstallService",
         [&] { InstallService(ProbePath, "VelkOtherSvc", "Other", ""); },
         {"OpenSCManager 0x00000002", "CreateService VelkOtherSvc 0x000F01FF",
          "CloseServiceHandle VelkOtherSvc", "CloseServiceHandle SCM"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Operation);
        Scm.Calls.clear();
        c.Run();
        EXPECT_THAT(Scm.Calls, ElementsAreArray(c.Calls));
    }
}

TEST_F(TDorServicesTest, EachFailingStepRaisesItsSystemTextOnceTheOpenHandlesAreClosed) {
    const struct {
        const char* Operation;
        std::function<void()> Run;
        const char* Call;
        std::uint32_t State;
        int FromCall;
    } cases[] = {
        {"start", [&] { StartServiceAndWait(Name); }, "OpenSCManager", svc::ServiceStopped, 1},
        {"start", [&] { StartServiceAndWait(Name); }, "OpenService", svc::ServiceStopped, 1},
        {"start", [&] { StartServiceAndWait(Name); }, "StartService", svc::ServiceStopped, 1},
        {"start", [&] { StartServiceAndWait(Name); }, "QueryServiceStatus", svc::ServiceStopped, 1},
        {"stop", [&] { StopServiceAndWait(Name); }, "OpenService", svc::ServiceRunning, 1},
        {"stop", [&] { StopServiceAndWait(Name); }, "QueryServiceStatus", svc::ServiceRunning, 1},
        {"stop", [&] { StopServiceAndWait(Name); }, "QueryServiceStatus", svc::ServiceRunning, 2},
        {"uninstall", [&] { UninstallService(Name); }, "OpenSCManager", svc::ServiceStopped, 1},
        {"uninstall", [&] { UninstallService(Name); }, "DeleteService", svc::ServiceStopped, 1},
        {"running", [&] { IsServiceRunning(Name); }, "OpenService", svc::ServiceRunning, 1},
        {"running", [&] { IsServiceRunning(Name); }, "QueryServiceStatus", svc::ServiceRunning, 1},
        {"exists", [&] { ServiceExists(Name); }, "OpenSCManager", svc::ServiceStopped, 1},
        {"exists", [&] { ServiceExists(Name); }, "OpenService", svc::ServiceStopped, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Operation) + " " + c.Call + " from call " +
                     std::to_string(c.FromCall));
        Scm.Calls.clear();
        Scm.Faults = {{c.Call, 5}};
        Scm.FaultsFromCall = {{c.Call, c.FromCall}};
        Scm.Services[Name] = {};
        Scm.Services[Name].State = c.State;
        Scm.Services[Name].OnStart = {{0, svc::ServiceStartPending}};
        Scm.Services[Name].OnStop = {{0, svc::ServiceStopPending}};
        EXPECT_EQ(ErrorOf(c.Run), "Access is denied");
        EXPECT_EQ(Scm.OpenHandles(), 0);
        // After the failing call only the closes of what was opened, the service's first.
        const auto failed =
            std::find_if(Scm.Calls.rbegin(), Scm.Calls.rend(),
                         [&](const std::string& call) { return call.rfind(c.Call, 0) == 0; });
        ASSERT_NE(failed, Scm.Calls.rend());
        const std::vector<std::string> after(failed.base(), Scm.Calls.end());
        std::vector<std::string> closes;
        if (std::string(c.Call) != "OpenSCManager" && std::string(c.Call) != "OpenService")
            closes.push_back("CloseServiceHandle VelkTestSvc");
        if (std::string(c.Call) != "OpenSCManager") closes.push_back("CloseServiceHandle SCM");
        EXPECT_THAT(after, ElementsAreArray(closes));
    }
}

TEST_F(TDorServicesTest, TheSystemTextIsTrimmedAndNeverEmpty) {
    const struct {
        std::string Raw;
        std::string Raised;
    } cases[] = {
        {"The service did not respond to the start or control request in a timely fashion.\r\n",
         "The service did not respond to the start or control request in a timely fashion"},
        {"Ends in blanks and dots. . \t\r\n", "Ends in blanks and dots"},
        // A code without a text must still fail the operation.
        {"", "System error 1053"},
    };
    for (const auto& c : cases) {
        Fake.System.Messages[1053] = c.Raw;
        Scm.Faults = {{"StartService", 1053}};
        EXPECT_EQ(ErrorOf([&] { StartServiceAndWait(Name); }), c.Raised);
    }
}

TEST_F(TDorServicesTest, OnlyARunningServiceCountsAsRunning) {
    const struct {
        std::uint32_t State;
        bool Running;
    } cases[] = {{svc::ServiceStopped, false},
                 {svc::ServiceStartPending, false},
                 {svc::ServiceStopPending, false},
                 {svc::ServiceRunning, true},
                 {svc::ServicePaused, false}};
    for (const auto& c : cases) {
        Scm.Services[Name].State = c.State;
        EXPECT_EQ(IsServiceRunning(Name), c.Running) << c.State;
    }
}

TEST_F(TDorServicesTest, ServiceExistsIsFalseOnlyForAnUnknownName) {
    EXPECT_TRUE(ServiceExists(Name));
    EXPECT_FALSE(ServiceExists("VelkUnknownSvc"));
    Scm.Faults = {{"OpenService", 5}};
    EXPECT_EQ(ErrorOf([&] { ServiceExists(Name); }), "Access is denied");
    Scm.Faults = {{"OpenSCManager", 1060}};
    EXPECT_EQ(ErrorOf([&] { ServiceExists(Name); }),
              "The specified service does not exist as an installed service");
}

TEST_F(TDorServicesTest, InstallRegistersAnAutoStartOwnProcessServiceWithAQuotedPath) {
    const struct {
        std::string Path;
        std::string Registered;
    } cases[] = {
        {ProbePath, '"' + ProbePath + '"'},
        {'"' + ProbePath + '"', '"' + ProbePath + '"'},
        {"C:\\Probe\\Probe.exe", "C:\\Probe\\Probe.exe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Path);
        Scm.Services.erase("VelkNewSvc");
        EXPECT_TRUE(InstallService(c.Path, "VelkNewSvc", "VELK New Service", "Collects data"));
        const TFakeServiceControl::TService& created = Scm.Services.at("VelkNewSvc");
        EXPECT_EQ(created.BinaryPath, c.Registered);
        EXPECT_EQ(created.DisplayName, "VELK New Service");
        EXPECT_EQ(created.ServiceType, svc::ServiceWin32OwnProcess);
        EXPECT_EQ(created.StartType, svc::ServiceAutoStart);
        EXPECT_EQ(created.ErrorControl, svc::ServiceErrorNormal);
    }
}

TEST_F(TDorServicesTest, InstallWritesTheDescriptionAsAString) {
    Scm.Services.erase(Name);
    EXPECT_TRUE(InstallService(ProbePath, Name, "VELK Test", "Collects data for VELK"));
    const auto value = Fake.Registry.Get(DescriptionKey, "Description");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->Type, reg::RegSz);
    EXPECT_EQ(value->Data, std::string("Collects data for VELK") + '\0');
    EXPECT_EQ(Fake.Registry.OpenKeys(), 0);
}

TEST_F(TDorServicesTest, InstallReportsRefusalsOnlyThroughItsResult) {
    const struct {
        const char* Case;
        const char* Fault;
        bool KeepExisting;
    } cases[] = {
        {"name exists", "", true},
        {"manager refused", "OpenSCManager", false},
        {"create refused", "CreateService", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Case);
        Scm.Faults.clear();
        if (*c.Fault) Scm.Faults[c.Fault] = 5;
        if (!c.KeepExisting) Scm.Services.erase(Name);
        bool installed = true;
        EXPECT_EQ(ErrorOf([&] { installed = InstallService(ProbePath, Name, "VELK Test", "d"); }),
                  "");
        EXPECT_FALSE(installed);
        EXPECT_TRUE(Fake.Registry.Written.empty());
    }
}

TEST_F(TDorServicesTest, InstallWithAnEmptyDescriptionLeavesTheRegistryAlone) {
    Scm.Services.erase(Name);
    EXPECT_TRUE(InstallService(ProbePath, Name, "VELK Test", ""));
    EXPECT_FALSE(Fake.Registry.HasKey(DescriptionKey));
    EXPECT_TRUE(Fake.Registry.OpenAttempts.empty());
}

TEST_F(TDorServicesTest, DescriptionFailures) {
    Scm.Services.erase(Name);
    // A key that cannot be opened is skipped silently.
    Fake.Registry.CreateError = 5;
    EXPECT_TRUE(InstallService(ProbePath, Name, "VELK Test", "d"));

    // A write that fails raises, and the service stays installed.
    Scm.Services.erase(Name);
    Fake.Registry.CreateError = 0;
    Fake.Registry.WriteErrors["Description"] = 5;
    EXPECT_EQ(ErrorOf([&] { InstallService(ProbePath, Name, "VELK Test", "d"); }),
              "Failed to set data for 'Description'");
    EXPECT_TRUE(Scm.Services.count(Name));
    EXPECT_EQ(Fake.Registry.OpenKeys(), 0);
}

TEST_F(TDorServicesTest, ARemovalCompletesOnlyWhenTheLastHandleIsClosed) {
    {
        const TServiceObject manager(Scm, Scm.OpenSCManagerA(svc::GenericRead));
        const TServiceObject held(Scm, Scm.OpenServiceA(manager.Get(), Name, svc::GenericRead));
        EXPECT_TRUE(UninstallService(Name));
        EXPECT_TRUE(ServiceExists(Name));
        EXPECT_EQ(ErrorOf([&] { UninstallService(Name); }),
                  "The specified service has been marked for deletion");
    }
    EXPECT_FALSE(ServiceExists(Name));
}

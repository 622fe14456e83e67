#include "ServiceFixture.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

using TWaitsTest = ServiceFixture;

TEST_F(TWaitsTest, StartPausesBeforeItsFirstQuery) {
    const struct {
        bool WithCallback;
        std::vector<std::string> Pause;
    } cases[] = {{false, {"Sleep 1000"}}, {true, {"callback", "Sleep 100"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.WithCallback);
        Scm.Calls.clear();
        Scm.Services[Name] = {};
        Scm.Services[Name].OnStart = {{0, svc::ServiceRunning}};
        if (c.WithCallback) SetRecordingCallback();
        StartServiceAndWait(Name);
        std::vector<std::string> expected{"OpenSCManager 0x80000000",
                                          "OpenService VelkTestSvc 0x20000004",
                                          "StartService VelkTestSvc"};
        expected.insert(expected.end(), c.Pause.begin(), c.Pause.end());
        expected.insert(expected.end(),
                        {"QueryServiceStatus VelkTestSvc", "CloseServiceHandle VelkTestSvc",
                         "CloseServiceHandle SCM"});
        EXPECT_THAT(Scm.Calls, ElementsAreArray(expected));
    }
}

TEST_F(TWaitsTest, StartTimesOutOnlyWhenMoreThan300SecondsHavePassed) {
    const struct {
        std::uint64_t RunningAfter;
        std::string Error;
        std::uint64_t EndsAt;
    } cases[] = {
        {299000, "", 299000},
        {300000, "", 300000},
        {300001, "Timeout while starting.", 301000},
        {1000000, "Timeout while starting.", 301000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.RunningAfter);
        Scm.Clock = 0;
        Scm.Services[Name] = {};
        Scm.Services[Name].OnStart = {{0, svc::ServiceStartPending},
                                      {c.RunningAfter, svc::ServiceRunning}};
        EXPECT_EQ(ErrorOf([&] { StartServiceAndWait(Name); }), c.Error);
        EXPECT_EQ(Scm.Clock, c.EndsAt);
    }
}

TEST_F(TWaitsTest, StartEndsWithoutErrorWhenTheServiceStopsAgain) {
    Scm.Services[Name].OnStart = {{0, svc::ServiceStartPending}, {2500, svc::ServiceStopped}};
    SetRecordingCallback();
    StartServiceAndWait(Name);
    EXPECT_EQ(Scm.Clock, 2500u);
    EXPECT_FALSE(IsServiceRunning(Name));
}

TEST_F(TWaitsTest, StartOfARunningServiceRaisesTheSystemTextWithoutWaiting) {
    Scm.Services[Name].State = svc::ServiceRunning;
    EXPECT_EQ(ErrorOf([&] { StartServiceAndWait(Name); }),
              "An instance of the service is already running");
    EXPECT_EQ(CountCalls("Sleep"), 0);
}

TEST_F(TWaitsTest, AnErrorFromTheCallbackPassesThroughAfterTheHandlesAreClosed) {
    ServiceWaitCallback = [] { throw EQelError("interrupted"); };
    EXPECT_EQ(ErrorOf([&] { StartServiceAndWait(Name); }), "interrupted");
    EXPECT_EQ(ErrorOf([&] { StopServiceAndWait(Name); }), "interrupted");
    // TearDown checks that no handle stayed open.
}

TEST_F(TWaitsTest, StopSendsTheControlWhileRunningAndPausesAfterEachQuery) {
    Scm.Services[Name].State = svc::ServiceRunning;
    Scm.Services[Name].OnStop = {{0, svc::ServiceStopPending}, {50, svc::ServiceStopped}};
    SetRecordingCallback();
    StopServiceAndWait(Name);
    EXPECT_THAT(Scm.Calls,
                ElementsAre("OpenSCManager 0x80000000", "OpenService VelkTestSvc 0x20000004",
                            "QueryServiceStatus VelkTestSvc", "ControlService VelkTestSvc 1",
                            "callback", "Sleep 100", "QueryServiceStatus VelkTestSvc", "callback",
                            "Sleep 100", "CloseServiceHandle VelkTestSvc",
                            "CloseServiceHandle SCM"));
}

TEST_F(TWaitsTest, StopOfAStoppedServiceSendsNoControlAndPausesOnce) {
    StopServiceAndWait(Name);
    EXPECT_THAT(Scm.Calls,
                ElementsAre("OpenSCManager 0x80000000", "OpenService VelkTestSvc 0x20000004",
                            "QueryServiceStatus VelkTestSvc", "Sleep 1000",
                            "CloseServiceHandle VelkTestSvc", "CloseServiceHandle SCM"));
}

TEST_F(TWaitsTest, StopWaitsForAStartingServiceAndStopsItOnceItRuns) {
    Scm.Services[Name].State = svc::ServiceStartPending;
    Scm.Script(Name, {{2500, svc::ServiceRunning}});
    StopServiceAndWait(Name);
    EXPECT_EQ(CountCalls("ControlService"), 1);
    EXPECT_EQ(Scm.Services[Name].State, svc::ServiceStopped);
}

TEST_F(TWaitsTest, StopTimesOutForServicesThatDoNotStop) {
    const struct {
        const char* Case;
        std::uint32_t State;
        std::vector<TFakeServiceControl::TChange> OnStop;
        int Controls;
    } cases[] = {
        // A paused service is never sent the control.
        {"paused", svc::ServicePaused, {{0, svc::ServiceStopped}}, 0},
        // One that ignores it is sent it again on every poll.
        {"ignores the control", svc::ServiceRunning, {}, 301},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Case);
        Scm.Calls.clear();
        Scm.Clock = 0;
        Scm.Services[Name] = {};
        Scm.Services[Name].State = c.State;
        Scm.Services[Name].OnStop = c.OnStop;
        EXPECT_EQ(ErrorOf([&] { StopServiceAndWait(Name); }), "Timeout while stopping.");
        EXPECT_EQ(CountCalls("ControlService"), c.Controls);
        EXPECT_EQ(Scm.Clock, 301000u);
    }
}

TEST_F(TWaitsTest, ARefusedStopControlKeepsTheQueriedState) {
    Scm.Services[Name].State = svc::ServiceRunning;
    Scm.Script(Name, {{2500, svc::ServiceStopped}});
    Scm.Faults["ControlService"] = 1061;
    StopServiceAndWait(Name);
    EXPECT_EQ(CountCalls("ControlService"), 3);
    EXPECT_EQ(Scm.Clock, 4000u);
}

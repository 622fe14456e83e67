#include "service/QelAdminTools.h"
#include "environment/QelGlobals.h"
#include "platform/fake/FakePlatform.h"
#include "platform/fake/FakeServiceControl.h"
#include "service/DorServices.h"
#include "translation/QelLanguage.h"

#include <gtest/gtest.h>

namespace {
const std::string Name = "VELK7ProbeService";
const std::string Display = "VELK 7 Probe Service";
const std::string Exe = "C:\\Program Files\\VELK Network Monitor\\VELK Probe.exe";
const std::string Description = "This service is required for collecting data for VELK 7";

class AdminTool : public ::testing::Test {
public:
    TFakePlatform Platform;
    TFakeServiceControl& Scm = Platform.ServiceControl;
    THeadlessGui& Gui = Platform.Gui;
    std::unique_ptr<TQelAdminTool> Tool;

    // Also called between the cases of a table: each case starts with a clean record.
    void SetUp() override {
        Gui.Events.clear();
        Gui.Shown.clear();
        Gui.Unexpected.clear();
        Scm = TFakeServiceControl();
        Platform.System.Messages[1056] = "An instance of the service is already running.\r\n";
        Platform.System.Messages[1060] =
            "The specified service does not exist as an installed service.\r\n";
        InitCommonStrings();
        Gui.Clock = [this] { return Scm.Clock; };
        Tool = std::make_unique<TQelAdminTool>(0);
    }
    void TearDown() override {
        Tool.reset();
        EXPECT_TRUE(Gui.Unexpected.empty()) << ::testing::PrintToString(Gui.Unexpected);
        EXPECT_EQ(Gui.PendingBoxes(), 0u);
        EXPECT_EQ(Scm.OpenHandles(), 0);
    }
    void Installed(std::uint32_t state) {
        Scm.Services[Name].State = state;
        Scm.Services[Name].DisplayName = Display;
    }
    std::vector<std::string> ProgressEvents() const {
        std::vector<std::string> events;
        for (const std::string& event : Gui.Events)
            if (event.rfind("progress", 0) == 0 && event.rfind("progress position", 0) != 0)
                events.push_back(event);
        return events;
    }
};
} // namespace

TEST_F(AdminTool, TheWaitsKeepTheUserInterfaceLive) {
    Installed(svc::ServiceStopped);
    ASSERT_TRUE(ServiceWaitCallback);
    EXPECT_TRUE(Tool->StartProbeService(Display, Name));
    EXPECT_GT(Gui.EventsProcessed, 10); // every 100 ms of a 1.5 s start, and the closing pauses
    Tool.reset();
    EXPECT_FALSE(ServiceWaitCallback) << "a destroyed tool must not stay the wait's callback";
}

TEST_F(AdminTool, DefaultTextsAreTheEnglishOnesWithoutACatalogue) {
    EXPECT_EQ(Tool->LocalProbeDefaultName, "Local Probe on 127.0.0.1");
    EXPECT_EQ(Tool->RemoteProbeDefaultName, "Probe on %s:ip");
    EXPECT_EQ(Tool->AutoAddressText, "auto");
}

TEST_F(AdminTool, InstallCreatesTheServiceOrNamesItsKeyName) {
    EXPECT_TRUE(Tool->InstallProbeService(Exe, Name, Display, Description));
    ASSERT_TRUE(Scm.Services.count(Name));
    EXPECT_EQ(Scm.Services[Name].BinaryPath, "\"" + Exe + "\"");

    Gui.ExpectMessage("The VELK7ProbeService could not be installed. Please re-run the "
                      "installation program.");
    EXPECT_FALSE(Tool->InstallProbeService(Exe, Name, Display, Description));
}

TEST_F(AdminTool, StartShowsTheProgressWindowOnceAndConfirmsTheServiceRuns) {
    Installed(svc::ServiceStopped);
    EXPECT_TRUE(Tool->StartProbeService(Display, Name));
    EXPECT_EQ(ProgressEvents(),
              (std::vector<std::string>{
                  "progress show Trying to start service VELK 7 Probe Service", "progress close"}));
}

TEST_F(AdminTool, StartFailuresAreShownAfterTheProgressWindowHasClosed) {
    const struct {
        const char* Case;
        std::function<void(AdminTool&)> Arrange;
        std::string Message;
    } cases[] = {
        {"stops again at once",
         [](AdminTool& t) {
             t.Installed(svc::ServiceStopped);
             t.Scm.Services[Name].OnStart = {{0, svc::ServiceStartPending},
                                             {300, svc::ServiceStopped}};
         },
         "VELK 7 Probe Service could not be started"},
        {"already running",
         [](AdminTool& t) {
             t.Installed(svc::ServiceRunning);
             t.Scm.Faults["StartService"] = 1056;
         },
         "VELK 7 Probe Service could not be started: An instance of the service is already "
         "running"},
        {"never leaves start pending",
         [](AdminTool& t) {
             t.Installed(svc::ServiceStopped);
             t.Scm.Services[Name].OnStart = {{0, svc::ServiceStartPending}};
         },
         "VELK 7 Probe Service could not be started: Timeout while starting."},
        {"not installed", [](AdminTool&) {},
         "VELK 7 Probe Service could not be started: The specified service does not exist as an "
         "installed service"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Case);
        TearDown();
        SetUp();
        c.Arrange(*this);
        Gui.ExpectMessage(c.Message);
        EXPECT_FALSE(Tool->StartProbeService(Display, Name));
        const auto events = ProgressEvents();
        ASSERT_FALSE(events.empty());
        EXPECT_EQ(std::count(events.begin(), events.end(), "progress close"), 1);
        EXPECT_EQ(Gui.Events.back(), "timer released") << "the message comes after the close";
        Scm.Services.erase(Name);
    }
}

TEST_F(AdminTool, TheBarRisesOnceASecondHoldsAtTheMaximumAndSettlesBeforeClosing) {
    Installed(svc::ServiceStopped);
    // Running after 299 s: the longest start that still counts.
    Scm.Services[Name].OnStart = {{0, svc::ServiceStartPending}, {299000, svc::ServiceRunning}};
    EXPECT_TRUE(Tool->StartProbeService(Display, Name));
    std::vector<int> positions;
    int ticks = 0;
    for (const std::string& event : Gui.Events) {
        if (event.rfind("progress position ", 0) == 0)
            positions.push_back(std::stoi(event.substr(18)));
        ticks += event == "timer tick";
    }
    // Every tick raised the bar but the one that held it at the maximum.
    EXPECT_EQ(static_cast<std::size_t>(ticks), positions.size() - 2 + 1);
    ASSERT_GE(positions.size(), 295u);
    // From 10 one step per tick; 300 is held for one tick, then the position counts on.
    for (std::size_t i = 0; i + 2 < positions.size(); ++i)
        EXPECT_EQ(positions[i], 11 + static_cast<int>(i)) << i;
    EXPECT_GT(positions[positions.size() - 3], 300);
    const std::vector<int> closing(positions.end() - 2, positions.end());
    EXPECT_EQ(closing, (std::vector<int>{99, 98}));
}

TEST_F(AdminTool, StopTimeoutKeepsTheServiceRunning) {
    Installed(svc::ServiceRunning);
    Scm.Services[Name].OnStop = {{0, svc::ServiceStopPending}};
    Gui.ExpectMessage("VELK 7 Probe Service could not be stopped: Timeout while stopping.");
    EXPECT_FALSE(Tool->StopProbeService(Display, Name));
    EXPECT_EQ(ProgressEvents(),
              (std::vector<std::string>{"progress show Trying to stop service VELK 7 Probe Service",
                                        "progress close"}));
}

TEST_F(AdminTool, StopSucceeds) {
    Installed(svc::ServiceRunning);
    EXPECT_TRUE(Tool->StopProbeService(Display, Name));
    EXPECT_EQ(Scm.Services[Name].State, svc::ServiceStopped);
}

TEST_F(AdminTool, RemovingAServiceBelievedStoppedAsksNothing) {
    Installed(svc::ServiceStopped);
    EXPECT_TRUE(Tool->UninstallProbeService(Display, Name, false));
    EXPECT_TRUE(Gui.Shown.empty());
    EXPECT_TRUE(ProgressEvents().empty());
}

TEST_F(AdminTool, RemovalAfterAFailedStopOffersARestart) {
    for (const bool restart : {false, true}) {
        SCOPED_TRACE(restart ? "Yes" : "No");
        TearDown();
        SetUp();
        Installed(svc::ServiceRunning);
        Scm.Services[Name].OnStop = {{0, svc::ServiceStopPending}};
        const std::string stopError =
            "VELK 7 Probe Service could not be stopped: Timeout while stopping.";
        Gui.ExpectMessage(stopError);
        Gui.ExpectQuestion(stopError +
                               "\n\rVELK 7 Probe Service flagged for deinstallation.\n\rYou must "
                               "restart your computer in order to finish the deinstallation\n\r\n\r"
                               "Do you want to restart your computer now?",
                           restart);
        EXPECT_TRUE(Tool->UninstallProbeService(Display, Name, true));
        const bool exited =
            std::count_if(Scm.Calls.begin(), Scm.Calls.end(), [](const std::string& call) {
                return call.rfind("ExitWindows", 0) == 0;
            }) > 0;
        EXPECT_EQ(exited, restart);
        ASSERT_FALSE(Gui.Shown.empty());
        EXPECT_EQ(Gui.Shown.back().Caption, "Attention!");
        Scm.Services.erase(Name);
    }
}

TEST_F(AdminTool, RemovalThatFailsShowsTheSystemTextAndNoQuestion) {
    Gui.ExpectMessage("The specified service does not exist as an installed service");
    EXPECT_FALSE(Tool->UninstallProbeService(Display, Name, false));
}

TEST_F(AdminTool, CheckDataPathDecisions) {
    const std::string Old = "C:\\ProgramData\\Dorvasen\\VELK Network Monitor\\V7\\";
    const struct {
        const char* Case;
        std::string NewPath;
        std::vector<std::pair<std::string, bool>> Questions; // text, answer
        std::string Message;
        bool Adopt;
    } cases[] = {
        {"same path", Old, {}, "", true},
        {"blanks only",
         "   ",
         {},
         "An empty string is invalid as a path. Reverting to " + Old,
         false},
        {"existing directory without trailing separator", "D:\\Existing", {}, "", true},
        {"existing directory with blanks around", "  D:\\Existing\t", {}, "", true},
        {"missing, create it",
         "D:\\New\\Data",
         {{"The specified path D:\\New\\Data does not exist. Do you wish to create it?", true}},
         "",
         true},
        {"missing, creation fails",
         "D:\\Refused",
         {{"The specified path D:\\Refused does not exist. Do you wish to create it?", true}},
         "D:\\Refused could not be created. Reverting to " + Old,
         false},
        {"missing, No then No adopts",
         "D:\\Later",
         {{"The specified path D:\\Later does not exist. Do you wish to create it?", false},
          {"Do you wish to use the old path " + Old + " instead?", false}},
         "",
         true},
        {"missing, No then Yes keeps",
         "D:\\Later",
         {{"The specified path D:\\Later does not exist. Do you wish to create it?", false},
          {"Do you wish to use the old path " + Old + " instead?", true}},
         "",
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Case);
        TearDown();
        SetUp();
        Platform.Files.PutDirectory("D:\\Existing");
        Platform.Files.CreateRefused.insert("d:\\refused");
        for (const auto& [text, answer] : c.Questions)
            Gui.ExpectQuestion(text, answer);
        if (!c.Message.empty()) Gui.ExpectMessage(c.Message);
        EXPECT_EQ(CheckDataPath(Old, c.NewPath), c.Adopt);
    }
    EXPECT_TRUE(Platform.Files.DirectoryExists("D:\\New\\Data")) << "created with its parents";
    EXPECT_TRUE(Platform.Files.DirectoryExists("D:\\New"));
}

TEST_F(AdminTool, LanguageFilesAreListedByDisplayName) {
    const std::string dir = "C:\\Program Files\\VELK Network Monitor\\language\\";
    Platform.System.ModulePath = "C:\\Program Files\\VELK Network Monitor\\VELKProbeAdmin.exe";
    InitGlobals();
    Platform.Files.PutFile(dir + "English.lng",
                           "<?xml?>\r\n<language name=\"English\" charset=\"x\">");
    Platform.Files.PutFile(dir + "Deutsch.lng", "<language name=\"Deutsch\">");
    Platform.Files.PutFile(dir + "British.lng", "<language name=\"english\">"); // same name, later
    Platform.Files.PutFile(dir + "Klingon.LNG", "<language>no display name</language>");
    Platform.Files.PutFile(dir + "Cut.lng", "<language name=\"Unterminated");
    Platform.Files.PutFile(dir + "Locked.lng", "<language name=\"Locked\">");
    Platform.Files.HoldOpen(dir + "Locked.lng", files::ShareRead | files::ShareWrite);
    Platform.Files.PutFile(dir + "readme.txt", "name=\"Text\"");
    Platform.Files.PutFile(dir + "Late.lng", std::string(600, ' ') + "name=\"Too late\"");
    Tool->ListLanguageFiles();

    std::vector<std::pair<std::string, std::string>> listed;
    for (std::size_t i = 0; i < Tool->LanguageFiles.Count(); ++i)
        listed.emplace_back(Tool->LanguageFiles.Name(i), Tool->LanguageFiles.File(i).FileName);
    EXPECT_EQ(listed, (std::vector<std::pair<std::string, std::string>>{
                          {"Deutsch", "Deutsch.lng"},
                          {"English", "English.lng"},
                          {"Klingon", "Klingon.LNG"},
                          {"Late", "Late.lng"},
                          {"Locked", "Locked.lng"}, // unreadable: listed under its file name
                          {"Unterminated\r\n", "Cut.lng"},
                      }));

    Tool->ListLanguageFiles(); // anew, not appended
    EXPECT_EQ(Tool->LanguageFiles.Count(), listed.size());
}

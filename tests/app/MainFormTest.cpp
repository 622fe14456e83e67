#include "app/LogFile.h"
#include "app/MainFormLayout.h"
#include "app/VELKProbeAdminMain.h"
#include "environment/QelGlobals.h"
#include "platform/RegistryAccess.h"
#include "platform/fake/FakePlatform.h"
#include "platform/fake/HeadlessForm.h"

#include <gtest/gtest.h>

#include <functional>

namespace {
const std::string Probe = "software\\Dorvasen\\VELK Network Monitor\\V7\\Probe";
const std::string Dir = "C:\\Program Files\\VELK Network Monitor\\";
const std::string DefaultRemoteName = "Probe on 192.168.0.5";
const std::string LocalName = "Local Probe on 127.0.0.1";
const std::string Service = "VELK7ProbeService";

// The real window logic on the headless form, with every platform service faked.
struct TWindowFixture {
    TFakePlatform Platform;
    THeadlessGui& Gui = Platform.Gui;
    TFakeServiceControl& Scm = Platform.ServiceControl;
    std::unique_ptr<THeadlessForm> Form;
    std::unique_ptr<TMainForm> Main;

    TWindowFixture() {
        Platform.System.ModulePath = Dir + "VELKProbeAdmin.exe";
        Platform.Files.PutFile(Dir + "VELK Probe.exe", "MZ");
        Platform.Files.PutDirectory("C:\\ProgramData\\Dorvasen\\VELK Network Monitor\\V7");
        InitGlobals();
    }
    void Check() {
        Main.reset();
        EXPECT_TRUE(Gui.Unexpected.empty()) << ::testing::PrintToString(Gui.Unexpected);
        EXPECT_EQ(Gui.PendingBoxes(), 0u);
    }
    void Str(const std::string& name, const std::string& value) {
        Platform.Registry.PutString(Probe, name, value);
    }
    void Dword(const std::string& name, std::uint32_t value) {
        Platform.Registry.PutDword(Probe, name, value);
    }
    void ServiceState(std::uint32_t state) { Scm.Services[Service].State = state; }
    void Start() {
        Form = std::make_unique<THeadlessForm>(MainFormLayout());
        Main = std::make_unique<TMainForm>(*Form);
        Main->Run();
    }
    std::string Text(const std::string& control) const { return Form->Text(control); }
};

class MainForm : public ::testing::Test, public TWindowFixture {
protected:
    void TearDown() override { Check(); }
};
} // namespace

TEST_F(MainForm, ShowsStoredSettings) {
    const struct {
        const char* Case;
        std::function<void(TWindowFixture&)> Store;
        std::string Server;
        int Port;
        std::string Name;
        bool Remote;
    } cases[] = {
        {"colon in the server wins over ServerPort",
         [](TWindowFixture& t) {
             t.Str("Server", "10.0.0.5:8080");
             t.Str("ServerPort", "9999");
             t.Dword("IsLocalProbe", 0);
             t.Str("Name", "North");
         },
         "10.0.0.5", 8080, "North", true},
        {"non-numeric port",
         [](TWindowFixture& t) {
             t.Str("Server", "core");
             t.Str("ServerPort", "http");
             t.Dword("IsLocalProbe", 0);
             t.Str("Name", "North");
         },
         "core", 23560, "North", true},
        {"empty name in local mode gets the remote default name",
         [](TWindowFixture& t) {
             t.Dword("IsLocalProbe", 1);
             t.Str("ServerPort", "23560");
         },
         "127.0.0.1", 23560, DefaultRemoteName, false},
        {"remote mode with 127.0.0.1 empties the server field",
         [](TWindowFixture& t) {
             t.Dword("IsLocalProbe", 0);
             t.Str("Server", "127.0.0.1");
             t.Str("ServerPort", "1");
             t.Str("Name", "n");
         },
         "", 1, "n", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Case);
        TWindowFixture fixture;
        c.Store(fixture);
        fixture.Start();
        EXPECT_EQ(fixture.Text("ServerEdit"), c.Server);
        EXPECT_EQ(fixture.Form->Value("PortEdit"), c.Port);
        EXPECT_EQ(fixture.Text("NameEdit"), c.Name);
        EXPECT_EQ(fixture.Form->Checked("RemoteRadioButton"), c.Remote);
        EXPECT_EQ(fixture.Form->Checked("LocalRadioButton"), !c.Remote);
        EXPECT_EQ(fixture.Form->ActivePage(), "ProbeControlTabSheet");
        if (c.Server.empty()) {
            EXPECT_EQ(fixture.Form->Focused(), "ServerEdit");
        }
        fixture.Check();
    }
}

TEST_F(MainForm, ShowsFieldsAndAddresses) {
    Dword("Password", 4294967295u);
    Str("LocalIP", "10.9.9.9"); // not one of this computer's
    Str("GId", "{G}");
    Str("Temppath", "D:\\Probe");
    Dword("ReconnectTime", 45);
    Start();
    EXPECT_EQ(Main->AccessKeyPlaceholder, "4294967295");
    EXPECT_EQ(Text("PasswordEdit"), "4294967295");
    EXPECT_EQ(Text("Password2Edit"), "");
    EXPECT_EQ(Form->Items("LocalIPComboBox"),
              (std::vector<std::string>{"auto", "192.168.0.5", "10.0.0.7"}));
    EXPECT_EQ(Form->ItemIndex("LocalIPComboBox"), 0);
    EXPECT_EQ(Text("ProbeGIDEdit"), "{G}");
    EXPECT_TRUE(Form->ReadOnly("ProbeGIDEdit"));
    EXPECT_EQ(Text("DataPathEdit"), "D:\\Probe\\");
    EXPECT_EQ(Text("ReconnectTimeEdit"), "45");
    EXPECT_EQ(Gui.ApplicationTitle(), "VELK 7 Probe Administration Tool");
    EXPECT_EQ(Form->Caption(""), "VELK Network Monitor - Probe Administration Tool");
    EXPECT_EQ(Form->Caption("PasswordEdit.EditLabel"), "Access key:");
    EXPECT_EQ(Form->Caption("OkButton"), "Ok");
    EXPECT_EQ(Text("VersionMemo").rfind("VELK Network Monitor V7\r\r", 0), 0u);
    EXPECT_EQ(Main->ServiceExePath, Dir + "VELK Probe.exe");
    EXPECT_TRUE(Main->ServiceExeFound);
}

TEST_F(MainForm, NoAddressGivesTheNoAddressText) {
    Platform.System.Addresses.clear();
    Start();
    EXPECT_EQ(Form->Items("LocalIPComboBox"), std::vector<std::string>{"auto"});
    EXPECT_EQ(Text("NameEdit"), "Probe on No local IP address available");
}

TEST_F(MainForm, LanguageDropDown) {
    const std::string lang = Dir + "language\\";
    const struct {
        const char* Case;
        std::vector<std::pair<std::string, std::string>> Files; // file, display name
        std::string Setting;
        std::vector<std::string> Items;
        int Selected;
    } cases[] = {
        {"empty list", {}, "English.lng", {"English"}, -1},
        {"match",
         {{"English.lng", "English"}, {"Deutsch.lng", "Deutsch"}},
         "Deutsch.lng",
         {"Deutsch", "English"},
         0},
        {"case differs", {{"English.lng", "English"}}, "english.lng", {"English"}, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Case);
        TWindowFixture fixture;
        for (const auto& [file, name] : c.Files)
            fixture.Platform.Files.PutFile(lang + file, "<language name=\"" + name + "\">");
        fixture.Str("LanguageFile", c.Setting);
        fixture.Start();
        EXPECT_EQ(fixture.Form->Items("LanguageComboBox"), c.Items);
        EXPECT_EQ(fixture.Form->ItemIndex("LanguageComboBox"), c.Selected);
        fixture.Check();
    }
}

TEST_F(MainForm, ConnectionModeSwitchesDefaultNames) {
    Dword("IsLocalProbe", 1);
    Start();
    ASSERT_EQ(Text("NameEdit"), DefaultRemoteName);
    Form->Click("LocalRadioButton"); // already checked: nothing runs
    EXPECT_EQ(Text("NameEdit"), DefaultRemoteName);
    Form->Click("RemoteRadioButton");
    EXPECT_EQ(Text("ServerEdit"), "");
    EXPECT_EQ(Form->Focused(), "ServerEdit");
    Form->Click("LocalRadioButton");
    EXPECT_EQ(Text("NameEdit"), LocalName);
    Form->Type("ServerEdit", "127.0.0.1 ");
    Form->Click("RemoteRadioButton");
    EXPECT_EQ(Text("ServerEdit"), "127.0.0.1 ") << "only the exact text is emptied";
    EXPECT_EQ(Text("NameEdit"), DefaultRemoteName);
    Form->Type("NameEdit", "Typed");
    Form->Click("LocalRadioButton");
    EXPECT_EQ(Text("NameEdit"), "Typed");
}

TEST_F(MainForm, GidWarningUnlocksTheField) {
    Start();
    const std::string warning =
        "Changing the GID is a very sensitive action which can cause serious problems with "
        "existing VELK configurations.\n\rIt is necessary ONLY when you want to substitute a "
        "probe from a different computer.\n\rIn this case you have to copy the GID from the old "
        "probe to the new probe.\n\r\n\rDo you really want to edit the GID?";
    Gui.ExpectQuestion(warning, false);
    Form->Click("ProbeGIDButton");
    EXPECT_TRUE(Form->ReadOnly("ProbeGIDEdit"));
    Gui.ExpectQuestion(warning, true);
    Form->Click("ProbeGIDButton");
    EXPECT_FALSE(Form->ReadOnly("ProbeGIDEdit"));
    EXPECT_EQ(Gui.Shown.back().Caption, "Attention!");
}

TEST_F(MainForm, IdleUpdateFollowsFlagsAndFields) {
    const struct {
        bool Installed, Running, Remote, KeyChanged;
    } cases[] = {
        {false, false, false, false},
        {true, false, true, false},
        {true, true, true, true},
        {false, true, false, true},
    };
    for (const auto& c : cases) {
        TWindowFixture fixture;
        fixture.Start();
        fixture.Main->ServiceInstalled = c.Installed;
        fixture.Main->ServiceRunning = c.Running;
        if (c.Remote) fixture.Form->Click("RemoteRadioButton");
        if (c.KeyChanged) fixture.Form->Type("PasswordEdit", "new key");
        fixture.Form->Idle();
        const THeadlessForm& f = *fixture.Form;
        EXPECT_EQ(f.Enabled("UninstallButton"), c.Installed);
        EXPECT_EQ(f.Enabled("InstallButton"), !c.Installed);
        EXPECT_EQ(f.Enabled("StartButton"), c.Installed && !c.Running);
        EXPECT_EQ(f.Enabled("StopButton"), c.Running);
        EXPECT_EQ(f.Enabled("ServerEdit"), c.Remote);
        EXPECT_EQ(f.Enabled("PasswordEdit"), c.Remote);
        EXPECT_EQ(f.Enabled("Password2Edit"), c.Remote && c.KeyChanged);
        EXPECT_TRUE(f.Enabled("PortEdit"));
        EXPECT_FALSE(f.Visible("NotFoundLabel"));
        fixture.Check();
    }
}

TEST_F(MainForm, MissingServiceExecutableShowsTheNotice) {
    Platform.Files = TFakeFiles();
    Start();
    EXPECT_FALSE(Main->ServiceExeFound);
    EXPECT_TRUE(Form->Visible("NotFoundLabel"));
}

TEST_F(MainForm, OkChecksStopAtTheFirstFailure) {
    const struct {
        const char* Case;
        std::function<void(TWindowFixture&)> Edit;
        std::string Message, Page, Focus;
    } cases[] = {
        {"access key differs from confirmation",
         [](TWindowFixture& t) {
             t.Form->Click("RemoteRadioButton");
             t.Form->Type("ServerEdit", "core");
             t.Form->Type("PasswordEdit", "a");
             t.Form->Type("Password2Edit", "b");
         },
         "Password and confirmation do not match. Please re-enter!", "ProbeControlTabSheet",
         "PasswordEdit"},
        {"unlocked GID empty",
         [](TWindowFixture& t) {
             t.Form->SetReadOnly("ProbeGIDEdit", false);
             t.Form->Type("ProbeGIDEdit", "");
         },
         "Please enter a GID.", "ProbeControlTabSheet", "ProbeGIDEdit"},
        {"remote without server",
         [](TWindowFixture& t) {
             t.Form->Click("RemoteRadioButton");
             t.Form->Type("ServerEdit", "");
         },
         "Please enter a server to connect the probe to.", "ProbeControlTabSheet", "ServerEdit"},
        {"remote with 127.0.0.10",
         [](TWindowFixture& t) {
             t.Form->Click("RemoteRadioButton");
             t.Form->Type("ServerEdit", "127.0.0.10");
         },
         "You have entered 127.0.0.1 as IP for a Remote Core connection. Please enter a "
         "different IP.",
         "ProbeControlTabSheet", "ServerEdit"},
        {"empty name", [](TWindowFixture& t) { t.Form->Type("NameEdit", ""); },
         "Please enter a name for the probe.", "ProbeControlTabSheet", "NameEdit"},
        {"empty data path",
         [](TWindowFixture& t) {
             t.Form->SetActivePage("AboutTabSheet");
             t.Form->Type("DataPathEdit", "");
         },
         "Please enter a path for data storage.", "FilesTabSheet", "DataPathEdit"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Case);
        TWindowFixture fixture;
        fixture.Start();
        c.Edit(fixture);
        fixture.Gui.ExpectMessage(c.Message);
        fixture.Form->Click("OkButton");
        EXPECT_EQ(fixture.Form->ActivePage(), c.Page);
        EXPECT_EQ(fixture.Form->Focused(), c.Focus);
        EXPECT_FALSE(fixture.Form->Closed);
        EXPECT_TRUE(fixture.Platform.Registry.Written.empty()) << "nothing is saved";
        fixture.Check();
    }
}

TEST_F(MainForm, OkSavesAndOffersToInstallAndStart) {
    Start();
    Form->Type("NameEdit", "  ");
    Form->Type("ReconnectTimeEdit", "abc");
    Form->Select("LocalIPComboBox", 2);
    Gui.ExpectQuestion("The VELK 7 Probe Service is not installed. Do you wish to install it?",
                       true);
    Gui.ExpectQuestion("The VELK 7 Probe Service is not running. Do you wish to start it?", true);
    Form->Click("OkButton");
    EXPECT_TRUE(Form->Closed);
    EXPECT_EQ(Platform.Registry.ValueNames(Probe).size(), 11u);
    const auto value = [&](const std::string& name) {
        return StringFromRegistryData(Platform.Registry.Get(Probe, name)->Data);
    };
    EXPECT_EQ(value("Name"), "  ");
    EXPECT_EQ(value("LocalIP"), "10.0.0.7");
    EXPECT_EQ(Platform.Registry.Get(Probe, "ReconnectTime")->Data, RegistryDataFromDword(300));
    EXPECT_TRUE(Main->ServiceInstalled);
    EXPECT_TRUE(Main->ServiceRunning);
    EXPECT_EQ(Scm.Services[Service].BinaryPath, "\"" + Dir + "VELK Probe.exe\"");
}

TEST_F(MainForm, OkOnARunningServiceAsksToRestart) {
    ServiceState(svc::ServiceRunning);
    Start();
    ASSERT_TRUE(Main->ServiceRunning);
    Gui.ExpectQuestion(
        "You must restart the VELK 7 Probe Service for the changes to take effect.Restart now?",
        false);
    Form->Click("OkButton");
    EXPECT_TRUE(Form->Closed);
}

TEST_F(MainForm, AFailedSaveKeepsTheWindowOpenAndAsksNothing) {
    Platform.Registry.WriteErrors["Name"] = 5;
    Start();
    Gui.ExpectMessage("Failed to set data for 'Name'");
    Form->Click("OkButton");
    EXPECT_FALSE(Form->Closed);
}

TEST_F(MainForm, SecondInstanceIsRefused) {
    for (const std::uint32_t error : {183u, 5u}) {
        TWindowFixture fixture;
        fixture.Platform.System.MutexResults = {{0, error}, {0, error}};
        fixture.Gui.ExpectMessage("VELK 7 Probe Administration Tool is already running. Please "
                                  "use the existing instance.");
        fixture.Start();
        EXPECT_TRUE(fixture.Form->Closed);
        EXPECT_EQ(fixture.Platform.System.Sleeps, std::vector<std::uint32_t>{5000});
        fixture.Check();
    }
}

TEST_F(MainForm, RegisteredCloseMessageClosesLikeCancel) {
    Start();
    EXPECT_EQ(Platform.System.MutexNames, std::vector<std::string>{"Global\\VELK7-ProbeAdmin"});
    EXPECT_TRUE(Platform.System.Sleeps.empty());
    Form->SendRegisteredMessage(Main->CloseMessageId);
    EXPECT_TRUE(Form->Closed);
    EXPECT_TRUE(Platform.Registry.Written.empty());
}

TEST_F(MainForm, LogFileIsShownOrReportedMissing) {
    Start();
    const std::string log = "D:\\Data\\\\Logs (System)\\VELK Probe Log (1).log";
    Form->Type("DataPathEdit", "D:\\Data\\");
    Gui.ExpectMessage("Logfile " + log + " not found");
    Form->Click("OpenLogFileButton");
    EXPECT_EQ(ProbeLogFileName("C:\\Data"), "C:\\Data\\Logs (System)\\VELK Probe Log (1).log");
    EXPECT_EQ(ProbeLogFileName(""), "\\Logs (System)\\VELK Probe Log (1).log");

    for (const std::string& content : {std::string("one\ntwo\n"), std::string("one\rtwo\r")}) {
        Platform.Files.PutFile(log, content);
        // The running service holds the log open for writing.
        Platform.Files.HoldOpen(log, files::ShareRead);
        Form->Click("OpenLogFileButton");
        EXPECT_EQ(Text("LogMemo"), "one\r\ntwo\r\n");
    }
}

TEST_F(MainForm, FolderButtonsUseTheDataPath) {
    Start();
    Form->Type("DataPathEdit", "C:\\Typed");
    Form->Click("Button10"); // cancelled
    EXPECT_EQ(Form->LastFolderPrompt, "C:\\Typed");
    EXPECT_EQ(Text("DataPathEdit"), "C:\\Typed");
    Form->FolderChoice = "C:\\Temp";
    Form->Click("Button10");
    EXPECT_EQ(Text("DataPathEdit"), "C:\\Temp\\");

    Form->Click("OpenLogDirButton");
    ASSERT_EQ(Platform.Shell.Executed.size(), 1u);
    EXPECT_EQ(Platform.Shell.Executed[0].Verb, "explore");
    EXPECT_EQ(Platform.Shell.Executed[0].File, "C:\\Temp\\");
    EXPECT_EQ(Platform.Shell.Executed[0].ShowCommand, 1);
    Platform.Shell.ExecuteResult = 2;
    Gui.ExpectMessage("Folder name invalid");
    Form->Click("OpenLogDirButton");
}

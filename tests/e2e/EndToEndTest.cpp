// Whole administrator sessions: the real tool, started as installed, driven through its window
// by the UI driver, with the real registry, service control manager and stand-in service.
#include "UiDriver.h"
#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Platform.h"
#include "service/DorServices.h"
#include "tests/win32/WineCommand.h"

#include <gtest/gtest.h>

#include <string>

namespace {
const std::string InstallDir = "C:\\Program Files\\VELK Network Monitor\\";
const std::string Service = "VELK7ProbeService";
const std::string ProbeKey = "HKLM\\software\\Dorvasen\\VELK Network Monitor\\V7\\Probe";

std::string ProductDir() {
    return WindowsPath(VELK_PRODUCT_DIR_UNIX);
}

// Lays the product out as its installation does.
void Install() {
    CreateDirectoryA(InstallDir.c_str(), nullptr);
    CreateDirectoryA((InstallDir + "language").c_str(), nullptr);
    for (const char* file :
         {"VELKProbeAdmin.exe", "VELK Probe.exe", "VELK Server.exe", "VELKServerAdmin.exe",
          "VELKImport.exe", "language\\English.lng", "language\\Deutsch.lng"})
        ASSERT_TRUE(CopyFileA((ProductDir() + file).c_str(), (InstallDir + file).c_str(), FALSE))
            << file;
}

class TTool {
public:
    TTool() {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        std::string command = "\"" + InstallDir + "VELKProbeAdmin.exe\"";
        if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           InstallDir.c_str(), &startup, &info)) {
            Process.reset(info.hProcess);
            Thread.reset(info.hThread);
        }
    }
    ~TTool() {
        if (Process && WaitForSingleObject(Process.get(), 0) == WAIT_TIMEOUT) {
            TerminateProcess(Process.get(), 1);
            WaitForSingleObject(Process.get(), 5000);
        }
    }
    TTool(const TTool&) = delete;
    TTool& operator=(const TTool&) = delete;

    bool Ended(unsigned timeoutMs = 20000) const {
        return WaitForSingleObject(Process.get(), timeoutMs) == WAIT_OBJECT_0;
    }

private:
    TFileHandle Process;
    TFileHandle Thread;
};

class EndToEnd : public ::testing::Test {
protected:
    TWin32Platform Real;
    TPlatform Previous = Platform();

    void SetUp() override {
        SetPlatform(Real.Get());
        ServiceWaitCallback = [] {};
        Install();
        Clean();
    }
    void TearDown() override {
        Clean();
        ServiceWaitCallback = nullptr;
        SetPlatform(Previous);
    }
    static void Clean() {
        if (ServiceExists(Service)) {
            try {
                StopServiceAndWait(Service);
            } catch (const std::exception&) {
            }
            UninstallService(Service);
            for (int i = 0; i < 100 && ServiceExists(Service); ++i)
                Sleep(100);
        }
        RunCommand("reg delete \"HKLM\\software\\Dorvasen\" /f");
    }
    static std::string Query(const std::string& value) {
        return RunCommand("reg query \"" + ProbeKey + "\" /v " + value);
    }
};
} // namespace

TEST_F(EndToEnd, FirstStartShowsDefaultsAndOkInstallsAndStartsTheService) {
    TTool tool;
    TUiDriver driver;
    ASSERT_TRUE(driver.Attach());
    driver.Settle();
    EXPECT_EQ(driver.Text("ServerEdit"), "127.0.0.1");
    EXPECT_EQ(driver.Text("PortEdit"), "23560");
    EXPECT_TRUE(driver.Checked("LocalRadioButton"));
    EXPECT_FALSE(driver.Enabled("ServerEdit"));
    EXPECT_EQ(driver.Text("NameEdit").rfind("Probe on ", 0), 0u);
    EXPECT_EQ(driver.Text("DataPathEdit"), "C:\\ProgramData\\Dorvasen\\VELK Network Monitor\\V7\\");
    EXPECT_EQ(driver.Text("ProbeGIDEdit").size(), 38u);
    EXPECT_EQ(driver.Text("LocalIPComboBox"), "auto");
    EXPECT_FALSE(driver.Visible("NotFoundLabel"));
    EXPECT_NE(driver.StateJson().find("\"name\": \"LanguageComboBox\""), std::string::npos);

    driver.Click("OkButton");
    const auto install = driver.Answer(IDYES);
    EXPECT_EQ(install.Caption, "Attention!");
    EXPECT_EQ(install.Text,
              "The VELK 7 Probe Service is not installed. Do you wish to install it?");
    const auto start = driver.Answer(IDYES);
    EXPECT_EQ(start.Text, "The VELK 7 Probe Service is not running. Do you wish to start it?");
    EXPECT_TRUE(tool.Ended());

    for (const char* value : {"Id", "GId", "IsLocalProbe", "LocalIP", "Server", "ServerPort",
                              "Password", "Name", "ReconnectTime", "Temppath", "LanguageFile"})
        EXPECT_NE(Query(value).find(value), std::string::npos) << value;
    EXPECT_NE(Query("Server").find("127.0.0.1"), std::string::npos);
    EXPECT_TRUE(IsServiceRunning(Service));
    // This Wine's sc has no "qc"; the registration is in the registry.
    const std::string config = RunCommand(
        "reg query \"HKLM\\System\\CurrentControlSet\\Services\\" + Service + "\" /v ImagePath");
    EXPECT_NE(config.find("\"" + InstallDir + "VELK Probe.exe\""), std::string::npos) << config;
}

TEST_F(EndToEnd, ChangedSettingsRestartTheRunningService) {
    ASSERT_TRUE(InstallService(InstallDir + "VELK Probe.exe", Service, "VELK 7 Probe Service",
                               "Probe service for the restart test"));
    StartServiceAndWait(Service);
    ASSERT_TRUE(IsServiceRunning(Service));
    TTool tool;
    TUiDriver driver;
    ASSERT_TRUE(driver.Attach());
    driver.Settle();
    EXPECT_FALSE(driver.Enabled("StartButton"));
    EXPECT_TRUE(driver.Enabled("StopButton"));
    driver.SetText("NameEdit", "Probe West");
    driver.Click("OkButton");
    const auto restart = driver.Answer(IDYES);
    EXPECT_EQ(restart.Text, "You must restart the VELK 7 Probe Service for the changes to take "
                            "effect.Restart now?");
    EXPECT_TRUE(tool.Ended(60000));
    EXPECT_NE(Query("Name").find("Probe West"), std::string::npos);
    EXPECT_TRUE(IsServiceRunning(Service));
}

TEST_F(EndToEnd, RemoteModeRefuses127001AndStaysOpen) {
    TTool tool;
    TUiDriver driver;
    ASSERT_TRUE(driver.Attach());
    driver.Click("RemoteRadioButton");
    driver.Settle();
    EXPECT_TRUE(driver.Enabled("ServerEdit"));
    EXPECT_EQ(driver.Text("ServerEdit"), "");
    driver.SetText("ServerEdit", "127.0.0.1");
    driver.Click("OkButton");
    const auto box = driver.Answer(IDOK);
    EXPECT_EQ(box.Text, "You have entered 127.0.0.1 as IP for a Remote Core connection. Please "
                        "enter a different IP.");
    EXPECT_FALSE(tool.Ended(500));
    EXPECT_EQ(Query("Server").find("REG_SZ"), std::string::npos) << "nothing was saved";
    driver.Click("CancelButton");
    EXPECT_TRUE(tool.Ended());
}

TEST_F(EndToEnd, ASecondInstanceIsRefusedAndTheCloseMessageEndsTheFirst) {
    TTool first;
    TUiDriver driver;
    ASSERT_TRUE(driver.Attach());
    {
        TTool second;
        const auto box = driver.Answer(IDOK);
        EXPECT_EQ(box.Text, "VELK 7 Probe Administration Tool is already running. Please use "
                            "the existing instance.");
        EXPECT_TRUE(second.Ended());
    }
    EXPECT_FALSE(first.Ended(200));
    driver.SendCloseMessage();
    EXPECT_TRUE(first.Ended());
}

TEST_F(EndToEnd, GermanAfterChoosingDeutsch) {
    {
        TTool tool;
        TUiDriver driver;
        ASSERT_TRUE(driver.Attach());
        const auto items = driver.Items("LanguageComboBox");
        int deutsch = -1;
        for (std::size_t i = 0; i < items.size(); ++i)
            if (items[i] == "Deutsch") deutsch = static_cast<int>(i);
        ASSERT_GE(deutsch, 0);
        driver.Select("LanguageComboBox", deutsch);
        driver.Click("OkButton");
        driver.Answer(IDNO); // install question
        EXPECT_TRUE(tool.Ended());
    }
    EXPECT_NE(Query("LanguageFile").find("Deutsch.lng"), std::string::npos);
    TTool tool;
    TUiDriver driver;
    ASSERT_TRUE(driver.Attach());
    EXPECT_EQ(driver.Text("CancelButton"), "Abbrechen");
    driver.Click("CancelButton");
    EXPECT_TRUE(tool.Ended());
}

TEST_F(EndToEnd, TheLiveLogIsShownWhileTheServiceRuns) {
    ASSERT_TRUE(InstallService("\"" + InstallDir + "VELK Probe.exe\"", Service,
                               "VELK 7 Probe Service", "Probe service for the log test"));
    StartServiceAndWait(Service);
    Sleep(2500); // a few lines
    TTool tool;
    TUiDriver driver;
    ASSERT_TRUE(driver.Attach());
    driver.ShowPage("FilesTabSheet");
    driver.Click("OpenLogFileButton");
    driver.Settle();
    const std::string log = driver.Text("LogMemo");
    EXPECT_FALSE(log.empty());
    EXPECT_NE(log.find("\r\n"), std::string::npos);
    driver.Click("CancelButton");
    EXPECT_TRUE(tool.Ended());
}

#include "BoxAnswerer.h"
#include "WineCommand.h"
#include "environment/QelGlobals.h"
#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Platform.h"
#include "service/DorServices.h"
#include "service/QelAdminTools.h"
#include "translation/QelLanguage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {
const std::string Name = "VelkTestAdminService";
const std::string Display = "VELK Test Admin Service";
const char* const StandInKey = "software\\Dorvasen\\VELK Test\\Probe Stand-in";
const std::string Title = "VELK Admin Tool Test";

std::string ProductDir() {
    return WindowsPath(VELK_PRODUCT_DIR_UNIX);
}

void SetBehaviour(const char* behaviour) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, StandInKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "TestBehaviour", 0, REG_SZ, reinterpret_cast<const BYTE*>(behaviour),
                   static_cast<DWORD>(std::strlen(behaviour) + 1));
    RegCloseKey(key);
}

// The workflows with the real service control manager, the stand-in service and the real
// message boxes and progress window.
class RealAdminTool : public ::testing::Test {
protected:
    TWin32Platform Real;
    TPlatform Previous = Platform();
    std::unique_ptr<TQelAdminTool> Tool;

    void SetUp() override {
        SetPlatform(Real.Get());
        Real.Gui.SetApplicationTitle(Title);
        InitGlobals();
        InitCommonStrings();
        ASSERT_FALSE(ServiceExists(Name)) << "another test left the service behind";
        Tool = std::make_unique<TQelAdminTool>(0);
    }
    void TearDown() override {
        if (ServiceExists(Name)) {
            try {
                StopServiceAndWait(Name);
            } catch (const std::exception&) {
            }
            UninstallService(Name);
        }
        Tool.reset();
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "software\\Dorvasen");
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, "software\\Dorvasen");
        SetPlatform(Previous);
    }
};
} // namespace

TEST_F(RealAdminTool, InstallStartStopRemove) {
    const std::string exe = ProductDir() + "VELK Probe.exe";
    ASSERT_TRUE(Tool->InstallProbeService(exe, Name, Display, "Stand-in for the workflow tests"));
    EXPECT_TRUE(ServiceExists(Name));
    {
        TBoxAnswerer answerer(Title, IDOK);
        EXPECT_FALSE(Tool->InstallProbeService(exe, Name, Display, "again"));
        EXPECT_EQ(answerer.Texts(),
                  std::vector<std::string>{"The VelkTestAdminService could not be installed. "
                                           "Please re-run the installation program."});
    }
    EXPECT_TRUE(Tool->StartProbeService(Display, Name));
    EXPECT_TRUE(IsServiceRunning(Name));
    EXPECT_FALSE(FindWindowA(nullptr, ("Trying to start service " + Display).c_str()))
        << "the progress window is gone";
    EXPECT_TRUE(Tool->StopProbeService(Display, Name));
    EXPECT_FALSE(IsServiceRunning(Name));
    EXPECT_TRUE(Tool->UninstallProbeService(Display, Name, false));
    for (int i = 0; i < 50 && ServiceExists(Name); ++i)
        Sleep(100);
    EXPECT_FALSE(ServiceExists(Name));
}

TEST_F(RealAdminTool, AServiceThatExitsAtOnceCouldNotBeStarted) {
    SetBehaviour("ExitAtOnce");
    ASSERT_TRUE(Tool->InstallProbeService(ProductDir() + "VELK Probe.exe", Name, Display, "x"));
    TBoxAnswerer answerer(Title, IDOK);
    EXPECT_FALSE(Tool->StartProbeService(Display, Name));
    EXPECT_EQ(answerer.Texts(), std::vector<std::string>{Display + " could not be started"});
    EXPECT_FALSE(IsServiceRunning(Name));
}

TEST_F(RealAdminTool, LanguageFilesOfARealFolder) {
    Tool->ListLanguageFiles();
    std::vector<std::pair<std::string, std::string>> listed;
    for (std::size_t i = 0; i < Tool->LanguageFiles.Count(); ++i)
        listed.emplace_back(Tool->LanguageFiles.Name(i), Tool->LanguageFiles.File(i).FileName);
    EXPECT_EQ(listed, (std::vector<std::pair<std::string, std::string>>{
                          {"Deutsch", "Deutsch.lng"}, {"English", "English.lng"}}));

    // A file another process holds without sharing is listed under its file name.
    const std::string held = LanguageDir + "Held.lng";
    {
        const TFileHandle file =
            OwnFile(CreateFileA(held.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file);
        Tool->ListLanguageFiles();
        ASSERT_EQ(Tool->LanguageFiles.Count(), 3u);
        EXPECT_EQ(Tool->LanguageFiles.Name(2), "Held");
        EXPECT_EQ(Tool->LanguageFiles.File(2).FileName, "Held.lng");
    }
    DeleteFileA(held.c_str());
}

#include "WineCommand.h"
#include "platform/QelError.h"
#include "platform/SystemErrorText.h"
#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Platform.h"
#include "service/DorServices.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {
const std::string Name = "VelkTestProbeService";
const std::string DisplayName = "VELK Test Probe Service";
const std::string Description = "Stand-in probe for the service tests";
const char* const StandInKey = "software\\Dorvasen\\VELK Test\\Probe Stand-in";
const char* const ProbeKey = "software\\Dorvasen\\VELK Network Monitor\\V7\\Probe";

// The stand-in in the build tree, as the prefix's drive Z: sees it.
std::string StandInPath() {
    return WindowsPath(VELK_PROBE_STANDIN);
}

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EQelError& error) {
        return error.Message();
    }
    return {};
}

// Polls for up to ten seconds: Wine's services settle at their own pace.
bool Eventually(const std::function<bool()>& condition) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (condition()) return true;
        Sleep(100);
    }
    return condition();
}

bool KeyExists(const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void SetString(const char* path, const char* name, const std::string& value) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

std::string GetString(const std::string& path, const char* name) {
    char value[512] = {};
    DWORD size = sizeof value - 1;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, path.c_str(), name, RRF_RT_REG_SZ, nullptr, value,
                     &size) != ERROR_SUCCESS)
        return "<none>";
    return value;
}

long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The service's registration, as the service control manager reports it.
struct TConfig {
    DWORD Type = 0;
    DWORD StartType = 0;
    std::string BinaryPath;
    std::string Account;
    std::string DisplayName;
};

TConfig QueryConfig(const std::string& name) {
    TConfig config;
    const TScHandle manager(OpenSCManagerA(nullptr, nullptr, GENERIC_READ));
    const TScHandle service(
        manager ? OpenServiceA(manager.get(), name.c_str(), SERVICE_QUERY_CONFIG) : nullptr);
    if (!service) return config;
    DWORD needed = 0;
    QueryServiceConfigA(service.get(), nullptr, 0, &needed);
    std::vector<char> buffer(needed);
    auto* raw = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data());
    if (!QueryServiceConfigA(service.get(), raw, needed, &needed)) return config;
    config.Type = raw->dwServiceType;
    config.StartType = raw->dwStartType;
    config.BinaryPath = raw->lpBinaryPathName ? raw->lpBinaryPathName : "";
    config.Account = raw->lpServiceStartName ? raw->lpServiceStartName : "";
    config.DisplayName = raw->lpDisplayName ? raw->lpDisplayName : "";
    return config;
}

// The stand-in under a service name of the tests' own, against the prefix's real service control
// manager. The tests own HKLM\software\Dorvasen in their prefix: absent before and after.
class RealServiceControl : public ::testing::Test {
protected:
    TWin32Platform Real;
    TPlatform Previous = Platform();
    std::string DataDir;
    std::string LogFile;

    void SetUp() override {
        SetPlatform(Real.Get());
        ServiceWaitCallback = [] {}; // polls every 100 ms
        ASSERT_FALSE(KeyExists("software\\Dorvasen")) << "another test left the key behind";
        ASSERT_FALSE(ServiceExists(Name)) << "another test left the service behind";
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        DataDir = std::string(temp) + "VELK Service Test\\";
        LogFile = DataDir + "Logs (System)\\VELK Probe Log (1).log";
        SetString(ProbeKey, "Temppath", DataDir);
    }

    void TearDown() override {
        if (ServiceExists(Name)) {
            ErrorOf([] { StopServiceAndWait(Name); });
            ErrorOf([] { UninstallService(Name); });
            EXPECT_TRUE(Eventually([] { return !ServiceExists(Name); }));
        }
        DeleteFileA(LogFile.c_str());
        RemoveDirectoryA((DataDir + "Logs (System)").c_str());
        RemoveDirectoryA(DataDir.c_str());
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "software\\Dorvasen");
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, "software\\Dorvasen");
        EXPECT_FALSE(KeyExists("software\\Dorvasen"));
        ServiceWaitCallback = nullptr;
        SetPlatform(Previous);
    }

    static void Install() {
        ASSERT_TRUE(InstallService(StandInPath(), Name, DisplayName, Description));
    }
};
} // namespace

TEST_F(RealServiceControl, InstallRegistersAQuotedAutoStartOwnProcessLocalSystemService) {
    Install();
    const TConfig config = QueryConfig(Name);
    EXPECT_EQ(config.BinaryPath, '"' + StandInPath() + '"');
    EXPECT_EQ(config.Type, static_cast<DWORD>(SERVICE_WIN32_OWN_PROCESS));
    EXPECT_EQ(config.StartType, static_cast<DWORD>(SERVICE_AUTO_START));
    EXPECT_EQ(config.Account, "LocalSystem");
    EXPECT_EQ(config.DisplayName, DisplayName);
    EXPECT_EQ(GetString("System\\CurrentControlSet\\Services\\" + Name, "Description"),
              Description);
    bool again = true;
    EXPECT_EQ(ErrorOf([&] { again = InstallService(StandInPath(), Name, DisplayName, ""); }), "");
    EXPECT_FALSE(again) << "a second service of the same name";
}

TEST_F(RealServiceControl, StartLogStopAndRemove) {
    Install();
    EXPECT_FALSE(IsServiceRunning(Name));
    StartServiceAndWait(Name);
    EXPECT_TRUE(IsServiceRunning(Name));

    const long long first = FileSize(LogFile);
    EXPECT_GT(first, 0) << LogFile;
    EXPECT_TRUE(Eventually([&] { return FileSize(LogFile) > first; })) << "the log does not grow";
    // Held open for writing: a reader must share write access to get in.
    const TFileHandle exclusive = OwnFile(CreateFileA(
        LogFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(exclusive);
    const TFileHandle shared =
        OwnFile(CreateFileA(LogFile.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(shared);

    EXPECT_EQ(ErrorOf([] { StartServiceAndWait(Name); }),
              SystemErrorText(Real.System, ERROR_SERVICE_ALREADY_RUNNING));
    EXPECT_TRUE(IsServiceRunning(Name));

    StopServiceAndWait(Name);
    EXPECT_FALSE(IsServiceRunning(Name));
    EXPECT_EQ(ErrorOf([] { StopServiceAndWait(Name); }), "");

    EXPECT_TRUE(UninstallService(Name));
    EXPECT_TRUE(Eventually([] { return !ServiceExists(Name); }));
}

TEST_F(RealServiceControl, RemovingTwiceBeforeTheFirstRemovalCompletes) {
    Install();
    {
        // An open handle keeps the marked service in the database.
        const TScHandle manager(OpenSCManagerA(nullptr, nullptr, GENERIC_READ));
        const TScHandle held(OpenServiceA(manager.get(), Name.c_str(), SERVICE_QUERY_STATUS));
        ASSERT_TRUE(held);
        EXPECT_TRUE(UninstallService(Name));
        EXPECT_EQ(ErrorOf([] { UninstallService(Name); }),
                  SystemErrorText(Real.System, ERROR_SERVICE_MARKED_FOR_DELETE));
    }
    EXPECT_TRUE(Eventually([] { return !ServiceExists(Name); }));
}

TEST_F(RealServiceControl, AnUnknownServiceDoesNotExist) {
    EXPECT_FALSE(ServiceExists("VelkNoSuchService"));
    const std::string unknown = SystemErrorText(Real.System, ERROR_SERVICE_DOES_NOT_EXIST);
    EXPECT_EQ(ErrorOf([] { IsServiceRunning("VelkNoSuchService"); }), unknown);
    EXPECT_EQ(ErrorOf([] { StartServiceAndWait("VelkNoSuchService"); }), unknown);
}

TEST_F(RealServiceControl, StartEndsWithTheStandInsOwnOutcome) {
    const struct {
        const char* Behaviour;
        bool Running;
    } cases[] = {{"ExitAtOnce", false}, {"StartSlowly", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Behaviour);
        SetString(StandInKey, "TestBehaviour", c.Behaviour);
        Install();
        EXPECT_EQ(ErrorOf([] { StartServiceAndWait(Name); }), "");
        EXPECT_EQ(IsServiceRunning(Name), c.Running);
        ErrorOf([] { StopServiceAndWait(Name); });
        EXPECT_TRUE(UninstallService(Name));
        EXPECT_TRUE(Eventually([] { return !ServiceExists(Name); }));
    }
}

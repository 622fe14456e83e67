#include "WineCommand.h"
#include "environment/QelGlobals.h"
#include "platform/QelError.h"
#include "platform/RegistryAccess.h"
#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Platform.h"
#include "settings/QelOptionsProbe.h"

#include <gtest/gtest.h>

namespace {
const std::string ProbeKey = "HKLM\\software\\Dorvasen\\VELK Network Monitor\\V7\\Probe";
const std::string CoreKey = "HKLM\\software\\Dorvasen\\VELK Network Monitor\\V7\\Server\\Core";

void RegAdd(const std::string& key, const std::string& name, const std::string& type,
            const std::string& data) {
    const std::string output = RunCommand("reg add \"" + key + "\" /v " + name + " /t " + type +
                                          " /d \"" + data + "\" /f");
    ASSERT_NE(output.find("success"), std::string::npos) << output;
}

// The tests own HKLM\software\Dorvasen in their prefix: it is absent before and after each.
class RealRegistry : public ::testing::Test {
protected:
    TWin32Platform Real;
    TPlatform Previous = Platform();

    void SetUp() override {
        SetPlatform(Real.Get());
        ASSERT_FALSE(KeyExists("software\\Dorvasen")) << "another test left the key behind";
    }
    void TearDown() override {
        RunCommand("reg delete \"HKLM\\software\\Dorvasen\" /f");
        EXPECT_FALSE(KeyExists("software\\Dorvasen"));
        SetPlatform(Previous);
    }
    static bool KeyExists(const std::string& path) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }
};
} // namespace

TEST_F(RealRegistry, LoadsValuesWrittenByRegExe) {
    RegAdd(ProbeKey, "Server", "REG_SZ", "core.example.net");
    RegAdd(ProbeKey, "ServerPort", "REG_SZ", "9000");
    RegAdd(ProbeKey, "IsLocalProbe", "REG_DWORD", "0");
    RegAdd(ProbeKey, "Id", "REG_DWORD", "17");
    RegAdd(ProbeKey, "Password", "REG_DWORD", "4294967295");
    RegAdd(ProbeKey, "Name", "REG_SZ", "Probe North");
    RegAdd(ProbeKey, "Temppath", "REG_EXPAND_SZ", "%VELK_NOT_SET%\\Probe");
    RegAdd(ProbeKey, "GId", "REG_SZ", "-1");
    TQelOptionsProbe options;
    options.Load();
    EXPECT_EQ(options.Server, "core.example.net");
    EXPECT_EQ(options.ServerPort, "9000");
    EXPECT_FALSE(options.IsLocalProbe);
    EXPECT_EQ(options.Id, 17);
    EXPECT_EQ(options.PasswordHash, 4294967295u);
    EXPECT_EQ(options.Name, "Probe North");
    EXPECT_EQ(options.DataPath, "%VELK_NOT_SET%\\Probe\\"); // not expanded
    EXPECT_EQ(options.LanguageFile, "English.lng");
    // A new GID in registry form: braces, upper-case hex, 38 characters.
    ASSERT_EQ(options.GId.size(), 38u);
    EXPECT_EQ(options.GId.front(), '{');
    EXPECT_EQ(options.GId.back(), '}');
    EXPECT_EQ(options.GId.find_first_of("abcdef"), std::string::npos);
    EXPECT_EQ(RunCommand("reg query \"" + ProbeKey + "\" /v GId").find(options.GId),
              std::string::npos)
        << "Load must not write the new GID";
}

TEST_F(RealRegistry, EmptyTemppathAndCoreDatapath) {
    RegAdd(ProbeKey, "Temppath", "REG_SZ", "");
    TQelOptionsProbe options;
    options.Load();
    EXPECT_EQ(options.DataPath, "\\");

    RegAdd(CoreKey, "Datapath", "REG_SZ", "D:\\Core Data");
    options.Load();
    EXPECT_EQ(options.DataPath, "D:\\Core Data\\");
}

TEST_F(RealRegistry, AStringWhereADwordBelongsFailsLoad) {
    RegAdd(ProbeKey, "ReconnectTime", "REG_SZ", "60");
    TQelOptionsProbe options;
    try {
        options.Load();
        FAIL() << "no error";
    } catch (const EQelError& error) {
        EXPECT_EQ(error.Message(), "Invalid data type for 'ReconnectTime'");
    }
}

TEST_F(RealRegistry, SaveIsReadBackByRegQueryAndLeavesOtherValues) {
    RegAdd(ProbeKey, "ServiceOwnSetting", "REG_SZ", "untouched");
    TQelOptionsProbe options;
    options.Load();
    options.SetName("Probe West");
    options.SetServer("10.0.0.5");
    options.SetServerPort("8080");
    options.SetIsLocalProbe(false);
    options.SetPassword("abc");
    options.SetDataPath("C:\\Probe Data");
    options.SetGId("{00000000-1111-2222-3333-444444444444}");
    options.Save();

    const std::string output = RunCommand("reg query \"" + ProbeKey + "\"");
    for (const char* line :
         {"Name\tREG_SZ\tProbe West", "Server\tREG_SZ\t10.0.0.5", "ServerPort\tREG_SZ\t8080",
          "IsLocalProbe\tREG_DWORD\t0x0", "Password\tREG_DWORD\t0x1b226",
          "Temppath\tREG_SZ\tC:\\Probe Data\\", "LanguageFile\tREG_SZ\tEnglish.lng",
          "Id\tREG_DWORD\t0xffffffff", "ReconnectTime\tREG_DWORD\t0x12c",
          "LocalIP\tREG_SZ\t0.0.0.0", "GId\tREG_SZ\t{00000000-1111-2222-3333-444444444444}",
          "ServiceOwnSetting\tREG_SZ\tuntouched"}) {
        std::string expected = line;
        for (char& c : expected)
            if (c == '\t') c = ' ';
        std::string flat = output;
        for (char& c : flat)
            if (c == '\t') c = ' ';
        // reg.exe aligns columns with runs of blanks: compare word by word.
        std::string squeezed;
        for (char c : flat)
            if (!(c == ' ' && !squeezed.empty() && squeezed.back() == ' ')) squeezed += c;
        EXPECT_NE(squeezed.find(expected), std::string::npos) << line << "\n" << output;
    }
}

TEST_F(RealRegistry, StringsWithoutTerminatingNulOrLargeAreReadSafely) {
    HKEY raw = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "software\\Dorvasen\\Test", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &raw, nullptr),
              ERROR_SUCCESS);
    const std::string big(200000, 'q');
    RegSetValueExA(raw, "NoNul", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 3);
    RegSetValueExA(raw, "Empty", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 0);
    RegSetValueExA(raw, "Big", 0, REG_SZ, reinterpret_cast<const BYTE*>(big.c_str()),
                   static_cast<DWORD>(big.size() + 1));
    RegCloseKey(raw);

    const TRegKey key =
        OpenKeyReadOnly(Real.Registry, reg::HKeyLocalMachine, "\\software\\Dorvasen\\Test");
    ASSERT_TRUE(key);
    const struct {
        const char* Name;
        std::string Text;
    } cases[] = {{"NoNul", "abc"}, {"Empty", ""}, {"Big", big}};
    for (const auto& c : cases) {
        std::uint32_t type = 0;
        std::string data;
        ASSERT_EQ(Real.Registry.QueryValue(key.Get(), c.Name, type, data), 0u) << c.Name;
        EXPECT_EQ(type, reg::RegSz);
        EXPECT_EQ(StringFromRegistryData(data), c.Text) << c.Name;
    }
}

TEST_F(RealRegistry, LeadingBackslashMeansFromTheRootKey) {
    TRegKey key;
    ASSERT_EQ(
        OpenOrCreateKey(Real.Registry, reg::HKeyLocalMachine, "\\software\\Dorvasen\\Rooted", key),
        0u);
    EXPECT_TRUE(KeyExists("software\\Dorvasen\\Rooted"));
}

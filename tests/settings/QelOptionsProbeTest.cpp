#include "platform/QelError.h"
#include "platform/RegistryAccess.h"
#include "platform/fake/FakePlatform.h"
#include "settings/QelOptionsProbe.h"

#include <gtest/gtest.h>

#include <functional>

namespace {
const std::string Probe = "software\\Dorvasen\\VELK Network Monitor\\V7\\Probe";
const std::string Core = "software\\Dorvasen\\VELK Network Monitor\\V7\\Server\\Core";
const std::string DefaultData = "C:\\ProgramData\\Dorvasen\\VELK Network Monitor\\V7\\";
const std::string NewGid = "{0A1B2C3D-0000-4000-8000-00000000ABCD}";

struct TFields {
    std::string Server = "127.0.0.1";
    std::string ServerPort = "23560";
    bool IsLocalProbe = true;
    std::string LocalIP = "0.0.0.0";
    std::string LanguageFile = "English.lng";
    std::string DataPath = DefaultData;
    std::string GId = NewGid;
};

void ExpectFields(const TQelOptionsProbe& options, const TFields& expected, const char* layout) {
    SCOPED_TRACE(layout);
    EXPECT_EQ(options.Server, expected.Server);
    EXPECT_EQ(options.ServerPort, expected.ServerPort);
    EXPECT_EQ(options.IsLocalProbe, expected.IsLocalProbe);
    EXPECT_EQ(options.LocalIP, expected.LocalIP);
    EXPECT_EQ(options.LanguageFile, expected.LanguageFile);
    EXPECT_EQ(options.DataPath, expected.DataPath);
    EXPECT_EQ(options.GId, expected.GId);
}

struct TStore {
    TFakePlatform Platform;
    TStore() { Platform.System.Guids.push_back(NewGid); }
    void Str(const std::string& name, const std::string& text, const std::string& key = Probe) {
        Platform.Registry.PutString(key, name, text);
    }
    void Dword(const std::string& name, std::uint32_t value) {
        Platform.Registry.PutDword(Probe, name, value);
    }
};

class OptionsProbe : public ::testing::Test, public TStore {};
} // namespace

TEST_F(OptionsProbe, ConstructionGivesTheDefaultsAndReadsNothing) {
    const TQelOptionsProbe options;
    EXPECT_EQ(options.Id, -1);
    EXPECT_EQ(options.PasswordHash, 0u);
    EXPECT_EQ(options.Name, "");
    EXPECT_EQ(options.ReconnectTime, 300);
    TFields defaults;
    defaults.LanguageFile = "";
    defaults.GId = "-1";
    ExpectFields(options, defaults, "constructed");
    EXPECT_TRUE(Platform.Registry.OpenAttempts.empty());
}

TEST_F(OptionsProbe, LoadsLayoutsIntoFields) {
    const struct {
        const char* Layout;
        std::function<void(TStore&)> Store;
        std::function<void(TFields&)> Expect;
    } cases[] = {
        {"no probe key, no core key", [](TStore&) {},
         [](TFields& f) { f.LanguageFile = ""; }},
        {"probe key without values",
         [](TStore& t) { t.Platform.Registry.PutKey(Probe); }, [](TFields&) {}},
        {"current layout, remote",
         [](TStore& t) {
             t.Str("Server", "core.example.net");
             t.Str("ServerPort", "9000");
             t.Dword("IsLocalProbe", 0);
             t.Str("LocalIP", "10.1.2.3");
             t.Str("LanguageFile", "Deutsch.lng");
             t.Str("GId", "{11111111-2222-3333-4444-555555555555}");
         },
         [](TFields& f) {
             f.Server = "core.example.net";
             f.ServerPort = "9000";
             f.IsLocalProbe = false;
             f.LocalIP = "10.1.2.3";
             f.LanguageFile = "Deutsch.lng";
             f.GId = "{11111111-2222-3333-4444-555555555555}";
         }},
        {"IsLocalProbe any non-zero is true",
         [](TStore& t) {
             t.Dword("IsLocalProbe", 7);
             t.Str("ServerPort", "1");
         },
         [](TFields& f) { f.ServerPort = "1"; }},
        {"older layout, local with port, stored ServerPort overridden",
         [](TStore& t) {
             t.Str("Server", "127.0.0.1:9000");
             t.Str("ServerPort", "23560");
         },
         [](TFields& f) { f.ServerPort = "9000"; }},
        {"older layout, local, leading zeros and a non-numeric port",
         [](TStore& t) { t.Str("Server", "127.0.0.1:0080"); },
         [](TFields& f) { f.ServerPort = "80"; }},
        {"older layout, local, port not a number",
         [](TStore& t) { t.Str("Server", "127.0.0.1:http"); }, [](TFields&) {}},
        {"older layout, remote",
         [](TStore& t) {
             t.Str("Server", "10.0.0.5:8080");
             t.Str("LocalIP", "0.0.0.0");
         },
         [](TFields& f) {
             f.IsLocalProbe = false;
             f.Server = "10.0.0.5";
             f.ServerPort = "8080";
         }},
        {"older layout, a LocalIP containing 127.0.0.1 makes it local",
         [](TStore& t) {
             t.Str("Server", "10.0.0.5:8080");
             t.Str("LocalIP", "x127.0.0.1");
         },
         [](TFields& f) {
             f.LocalIP = "x127.0.0.1";
             f.ServerPort = "8080";
         }},
        {"server with colon and ServerPort present keeps its text",
         [](TStore& t) {
             t.Str("Server", "10.0.0.5:8080");
             t.Str("ServerPort", "23560");
             t.Dword("IsLocalProbe", 0);
         },
         [](TFields& f) {
             f.Server = "10.0.0.5:8080";
             f.IsLocalProbe = false;
         }},
        {"LocalIP 127.0.0.1 with blanks means automatic",
         [](TStore& t) {
             t.Str("LocalIP", " 127.0.0.1\t");
             t.Dword("IsLocalProbe", 1);
             t.Str("ServerPort", "23560");
         },
         [](TFields&) {}},
        {"Temppath gets a trailing backslash",
         [](TStore& t) { t.Str("Temppath", "D:\\Probe"); },
         [](TFields& f) { f.DataPath = "D:\\Probe\\"; }},
        {"empty Temppath becomes a backslash", [](TStore& t) { t.Str("Temppath", ""); },
         [](TFields& f) { f.DataPath = "\\"; }},
        {"core server's Datapath wins over Temppath",
         [](TStore& t) {
             t.Str("Temppath", "D:\\Probe\\");
             t.Str("DataPath", "E:\\Core", Core);
         },
         [](TFields& f) { f.DataPath = "E:\\Core\\"; }},
        {"core server's Datapath without a probe key",
         [](TStore& t) { t.Str("Datapath", "E:\\Core\\", Core); },
         [](TFields& f) {
             f.DataPath = "E:\\Core\\";
             f.LanguageFile = "";
         }},
        {"REG_EXPAND_SZ is read as it stands",
         [](TStore& t) {
             t.Platform.Registry.PutString(Probe, "Temppath", "%TEMP%\\x", reg::RegExpandSz);
         },
         [](TFields& f) { f.DataPath = "%TEMP%\\x\\"; }},
        {"a string without terminating NUL",
         [](TStore& t) { t.Platform.Registry.Put(Probe, "Name", reg::RegSz, "abc"); },
         [](TFields&) {}},
        {"stored GId -1 is replaced, an empty GId stays",
         [](TStore& t) { t.Str("GId", ""); }, [](TFields& f) { f.GId = ""; }},
        {"stored GId -1", [](TStore& t) { t.Str("GId", "-1"); }, [](TFields&) {}},
    };
    for (const auto& c : cases) {
        TStore fixture;
        c.Store(fixture);
        TFields expected;
        c.Expect(expected);
        TQelOptionsProbe options;
        options.Load();
        ExpectFields(options, expected, c.Layout);
        EXPECT_EQ(fixture.Platform.Registry.OpenKeys(), 0) << c.Layout;
    }
}

TEST_F(OptionsProbe, LoadsNumbersAndName) {
    Dword("Id", 0xFFFFFFFE);
    Dword("Password", 4294967295u);
    Dword("ReconnectTime", 60);
    Platform.Registry.Put(Probe, "Name", reg::RegSz, std::string("Probe 1\0junk", 12));
    TQelOptionsProbe options;
    options.Load();
    EXPECT_EQ(options.Id, -2);
    EXPECT_EQ(options.PasswordHash, 4294967295u);
    EXPECT_EQ(options.ReconnectTime, 60);
    EXPECT_EQ(options.Name, "Probe 1");
}

TEST_F(OptionsProbe, BadValuesEndLoadWithTheirMessage) {
    const struct {
        const char* Name;
        std::function<void(TStore&)> Store;
        std::string Message;
    } cases[] = {
        {"Id as string", [](TStore& t) { t.Str("Id", "5"); },
         "Invalid data type for 'Id'"},
        {"IsLocalProbe as string", [](TStore& t) { t.Str("IsLocalProbe", "1"); },
         "Invalid data type for 'IsLocalProbe'"},
        {"Server as DWORD", [](TStore& t) { t.Dword("Server", 1); },
         "Invalid data type for 'Server'"},
        {"Temppath as binary",
         [](TStore& t) { t.Platform.Registry.Put(Probe, "Temppath", reg::RegBinary, "x"); },
         "Invalid data type for 'Temppath'"},
        {"Password of two bytes",
         [](TStore& t) { t.Platform.Registry.Put(Probe, "Password", reg::RegDword, "ab"); },
         "Failed to get data for 'Password'"},
        {"unreadable Name",
         [](TStore& t) {
             t.Str("Name", "x");
             t.Platform.Registry.ReadErrors["Name"] = 5;
         },
         "Failed to get data for 'Name'"},
        {"core Datapath as DWORD",
         [](TStore& t) { t.Platform.Registry.PutDword(Core, "Datapath", 1); },
         "Invalid data type for 'DataPath'"},
    };
    for (const auto& c : cases) {
        TStore fixture;
        c.Store(fixture);
        TQelOptionsProbe options;
        try {
            options.Load();
            ADD_FAILURE() << c.Name << ": no error";
        } catch (const EQelError& error) {
            EXPECT_EQ(error.Message(), c.Message) << c.Name;
        }
        EXPECT_EQ(fixture.Platform.Registry.OpenKeys(), 0) << c.Name;
    }
}

TEST_F(OptionsProbe, ErrorKeepsEarlierValuesAndSkipsTheRest) {
    Str("GId", "{G}");
    Str("Server", "10.0.0.5:8080");
    Str("Name", "n");
    Str("Temppath", "D:\\x");
    Dword("Password", 5);
    Platform.Registry.PutDword(Probe, "ReconnectTime", 1);
    Platform.Registry.ReadErrors["ReconnectTime"] = 13;
    TQelOptionsProbe options;
    EXPECT_THROW(options.Load(), EQelError);
    EXPECT_EQ(options.GId, "{G}");
    EXPECT_EQ(options.Name, "n");
    EXPECT_EQ(options.PasswordHash, 5u);
    EXPECT_EQ(options.ServerPort, ""); // the port derivation did not run
    EXPECT_EQ(options.Server, "10.0.0.5:8080");
    EXPECT_EQ(options.DataPath, DefaultData);
}

TEST_F(OptionsProbe, ANewGidIsNotWrittenByLoad) {
    TQelOptionsProbe options;
    options.Load();
    EXPECT_EQ(options.GId, NewGid);
    EXPECT_FALSE(Platform.Registry.HasKey(Probe));
    EXPECT_TRUE(Platform.Registry.Written.empty());
}

TEST_F(OptionsProbe, SaveWritesElevenValuesInOrderAndNothingElse) {
    Str("ProbeServiceOwn", "keep me");
    Dword("Id", 42);
    TQelOptionsProbe options;
    options.Load();
    options.SetName("Probe A");
    options.SetPassword("abc");
    options.SetDataPath("D:\\Data");
    options.SetIsLocalProbe(false);
    options.SetServer("core");
    options.SetServerPort("9000");
    options.SetLocalIP("10.0.0.9");
    options.SetReconnectTime(120);
    options.SetLanguageFile("Deutsch.lng");
    options.SetGId("{G}");
    options.Save();

    const std::vector<std::string> order = {"Id", "GId", "IsLocalProbe", "LocalIP",
                                            "Server", "ServerPort", "Password", "Name",
                                            "ReconnectTime", "Temppath", "LanguageFile"};
    EXPECT_EQ(Platform.Registry.Written, order);
    EXPECT_EQ(Platform.Registry.OpenKeys(), 0);
    const auto value = [&](const std::string& name) { return *Platform.Registry.Get(Probe, name); };
    EXPECT_EQ(value("ProbeServiceOwn").Data, std::string("keep me\0", 8));
    EXPECT_EQ(value("Id").Data, RegistryDataFromDword(42));
    EXPECT_EQ(value("Password").Data, RegistryDataFromDword(111142));
    EXPECT_EQ(value("IsLocalProbe").Data, RegistryDataFromDword(0));
    EXPECT_EQ(value("Temppath").Type, reg::RegSz);
    EXPECT_EQ(value("Temppath").Data, std::string("D:\\Data\\\0", 9));
    EXPECT_EQ(value("Name").Data, std::string("Probe A\0", 8));
    EXPECT_EQ(value("ServerPort").Type, reg::RegSz);

    TQelOptionsProbe reloaded;
    reloaded.Load();
    EXPECT_EQ(reloaded.Server, "core");
    EXPECT_EQ(reloaded.ServerPort, "9000");
    EXPECT_EQ(reloaded.LocalIP, "10.0.0.9");
    EXPECT_EQ(reloaded.ReconnectTime, 120);
    EXPECT_EQ(reloaded.LanguageFile, "Deutsch.lng");
    EXPECT_EQ(reloaded.DataPath, "D:\\Data\\");
    EXPECT_FALSE(reloaded.IsLocalProbe);
}

TEST_F(OptionsProbe, FailedWriteStopsAtThatValue) {
    Platform.Registry.WriteErrors["Password"] = 5;
    TQelOptionsProbe options;
    try {
        options.Save();
        FAIL() << "no error";
    } catch (const EQelError& error) {
        EXPECT_EQ(error.Message(), "Failed to set data for 'Password'");
    }
    EXPECT_EQ(Platform.Registry.Written,
              (std::vector<std::string>{"Id", "GId", "IsLocalProbe", "LocalIP", "Server",
                                        "ServerPort"}));
    EXPECT_EQ(Platform.Registry.OpenKeys(), 0);
}

TEST_F(OptionsProbe, SaveWithoutTheRightToOpenTheKeyIsReported) {
    Platform.System.Messages[5] = "Access denied.\r\n";
    Platform.Registry.CreateError = 5;
    TQelOptionsProbe options;
    try {
        options.Save();
        FAIL() << "no error";
    } catch (const EQelError& error) {
        EXPECT_EQ(error.Message(), "Access denied");
    }
    EXPECT_TRUE(Platform.Registry.Written.empty());
}

TEST(AccessKeyHash, MultipliesBy33FromTheLastByte) {
    const struct {
        std::string Text;
        std::uint32_t Hash;
    } cases[] = {
        {"", 0},
        {"a", 97},
        {"abc", 111142},
        {"\xFF", 255},
    };
    for (const auto& c : cases) EXPECT_EQ(TQelOptionsProbe::AccessKeyHash(c.Text), c.Hash) << c.Text;
    // Long keys wrap modulo 2^32.
    std::uint64_t wide = 0;
    for (int i = 0; i < 20; ++i) wide = (wide * 33 + 'z') % 4294967296u;
    EXPECT_EQ(TQelOptionsProbe::AccessKeyHash(std::string(20, 'z')), wide);

    TFakePlatform platform;
    TQelOptionsProbe options;
    options.SetPassword("");
    EXPECT_EQ(options.PasswordHash, 0u);
    options.SetPassword("secret");
    EXPECT_EQ(options.PasswordHash, TQelOptionsProbe::AccessKeyHash("secret"));
}

#include "QelOptionsProbe.h"

#include "ProbeSettingsText.h"
#include "environment/QelGlobals.h"
#include "platform/Platform.h"
#include "platform/QelError.h"
#include "platform/RegistryAccess.h"
#include "platform/SystemErrorText.h"

#include <vector>

namespace {
constexpr int DefaultServerPort = 23560;
const std::string LocalServer = "127.0.0.1";

// Reads the values of one open key, raising the store's errors for bad values.
class TValueReader {
public:
    TValueReader(IRegistry& registry, const TRegKey& key) : Registry(registry), Key(key) {}

    bool Has(const std::string& name) const { return ValueExists(Registry, Key, name); }

    std::string String(const std::string& name) const {
        return StringFromRegistryData(Read(name, reg::RegSz, reg::RegExpandSz));
    }

    std::uint32_t Dword(const std::string& name) const {
        std::uint32_t value = 0;
        if (!DwordFromRegistryData(Read(name, reg::RegDword, reg::RegDword), value))
            throw EQelError("Failed to get data for '" + name + "'");
        return value;
    }

private:
    IRegistry& Registry;
    const TRegKey& Key;

    std::string Read(const std::string& name, std::uint32_t type1, std::uint32_t type2) const {
        std::uint32_t type = 0;
        std::string data;
        if (Registry.QueryValue(Key.Get(), name, type, data) != 0)
            throw EQelError("Failed to get data for '" + name + "'");
        if (type != type1 && type != type2) throw EQelError("Invalid data type for '" + name + "'");
        return data;
    }
};

} // namespace

TQelOptionsProbe::TQelOptionsProbe() : DataPath(DefaultDataDir()) {}

void TQelOptionsProbe::Load() {
    IRegistry& registry = *Platform().Registry;
    {
        const TRegKey key = OpenKeyReadOnly(registry, reg::HKeyLocalMachine, ProbeKeyPath);
        if (key) {
            const TValueReader values(registry, key);
            if (values.Has("Id")) Id = static_cast<std::int32_t>(values.Dword("Id"));
            if (values.Has("GId")) GId = values.String("GId");
            if (values.Has("LocalIP")) LocalIP = values.String("LocalIP");
            if (TrimText(LocalIP) == LocalServer) LocalIP = "0.0.0.0";
            if (values.Has("Server")) Server = values.String("Server");
            ServerPort = values.Has("ServerPort") ? values.String("ServerPort") : std::string();
            LanguageFile =
                values.Has("LanguageFile") ? values.String("LanguageFile") : "English.lng";
            if (values.Has("IsLocalProbe")) {
                IsLocalProbe = values.Dword("IsLocalProbe") != 0;
            } else if (Server.find(LocalServer) != std::string::npos ||
                       LocalIP.find(LocalServer) != std::string::npos) {
                // Older versions kept the port inside the server text.
                IsLocalProbe = true;
                std::string host, port;
                SplitAtLastColon(Server, host, port);
                Server = LocalServer;
                ServerPort = IntegerTextOr(port, DefaultServerPort);
            } else {
                IsLocalProbe = false;
            }
            if (values.Has("Name")) Name = values.String("Name");
            if (values.Has("Password")) PasswordHash = values.Dword("Password");
            ReconnectTime = values.Has("ReconnectTime")
                                ? static_cast<std::int32_t>(values.Dword("ReconnectTime"))
                                : 300;
            DataPath = values.Has("Temppath") ? IncludeTrailingBackslash(values.String("Temppath"))
                                              : DefaultDataDir();
        }
    }
    {
        // A core server on this computer fixes the data directory for both.
        const TRegKey core = OpenKeyReadOnly(registry, reg::HKeyLocalMachine, CoreServerKeyPath);
        if (core) {
            const TValueReader values(registry, core);
            if (values.Has("Datapath"))
                DataPath = IncludeTrailingBackslash(values.String("DataPath"));
        }
    }
    if (GId == "-1") GId = NewProbeGid();
    if (ServerPort.empty()) {
        std::string port;
        SplitAtLastColon(Server, Server, port);
        ServerPort = IntegerTextOr(port, DefaultServerPort);
    }
}

void TQelOptionsProbe::Save() {
    IRegistry& registry = *Platform().Registry;
    TRegKey key;
    if (const std::uint32_t error =
            OpenOrCreateKey(registry, reg::HKeyLocalMachine, ProbeKeyPath, key))
        throw EQelError(SystemErrorText(*Platform().System, error));

    const auto dword = [](std::uint32_t value) {
        return std::make_pair(reg::RegDword, RegistryDataFromDword(value));
    };
    const auto text = [](const std::string& value) {
        return std::make_pair(reg::RegSz, RegistryDataFromString(value));
    };
    const std::vector<std::pair<std::string, std::pair<std::uint32_t, std::string>>> values = {
        {"Id", dword(static_cast<std::uint32_t>(Id))},
        {"GId", text(GId)},
        {"IsLocalProbe", dword(IsLocalProbe ? 1 : 0)},
        {"LocalIP", text(LocalIP)},
        {"Server", text(Server)},
        {"ServerPort", text(ServerPort)},
        {"Password", dword(PasswordHash)},
        {"Name", text(Name)},
        {"ReconnectTime", dword(static_cast<std::uint32_t>(ReconnectTime))},
        {"Temppath", text(IncludeTrailingBackslash(DataPath))},
        {"LanguageFile", text(LanguageFile)},
    };
    for (const auto& [name, value] : values)
        if (registry.SetValue(key.Get(), name, value.first, value.second) != 0)
            throw EQelError("Failed to set data for '" + name + "'");
}

std::string TQelOptionsProbe::NewProbeGid() {
    std::string text;
    Platform().System->CreateGuidText(text); // a failing generator still leaves the text it made
    return text;
}

std::uint32_t TQelOptionsProbe::AccessKeyHash(const std::string& text) {
    std::uint32_t hash = 0;
    for (auto byte = text.rbegin(); byte != text.rend(); ++byte)
        hash = hash * 33 + static_cast<unsigned char>(*byte);
    return hash;
}

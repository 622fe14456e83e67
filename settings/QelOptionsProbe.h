#pragma once

#include <cstdint>
#include <string>

inline const std::string ProbeKeyPath = "\\software\\Dorvasen\\VELK Network Monitor\\V7\\Probe";
inline const std::string CoreServerKeyPath =
    "\\software\\Dorvasen\\VELK Network Monitor\\V7\\Server\\Core";

// The probe's settings, shared with the probe service through HKEY_LOCAL_MACHINE.
class TQelOptionsProbe {
public:
    std::int32_t Id = -1;
    std::uint32_t PasswordHash = 0;
    std::string Server = "127.0.0.1";
    std::string LocalIP = "0.0.0.0";
    std::string Name;
    std::string DataPath;
    std::int32_t ReconnectTime = 300;
    std::string GId = "-1";
    bool IsLocalProbe = true;
    std::string ServerPort = "23560";
    std::string LanguageFile;

    TQelOptionsProbe();

    void Load();
    void Save();

    void SetGId(const std::string& value) { GId = value; }
    void SetIsLocalProbe(bool value) { IsLocalProbe = value; }
    void SetLanguageFile(const std::string& value) { LanguageFile = value; }
    void SetLocalIP(const std::string& value) { LocalIP = value; }
    void SetName(const std::string& value) { Name = value; }
    void SetReconnectTime(std::int32_t value) { ReconnectTime = value; }
    void SetServer(const std::string& value) { Server = value; }
    void SetServerPort(const std::string& value) { ServerPort = value; }
    void SetDataPath(const std::string& value) { DataPath = value; }
    void SetPassword(const std::string& accessKey) { PasswordHash = AccessKeyHash(accessKey); }

    static std::string NewProbeGid();
    static std::uint32_t AccessKeyHash(const std::string& text);
};

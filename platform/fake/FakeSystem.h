#pragma once

#include "platform/System.h"

#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

class TFakeSystem : public ISystem {
public:
    std::string ModulePath = "C:\\Program Files\\VELK Network Monitor\\VELKProbeAdmin.exe";
    std::deque<std::string> Guids; // handed out in order; then numbered ones
    std::int32_t GuidResult = 0;
    std::uint32_t CodePage = 1252;
    std::set<unsigned char> LeadBytes;
    std::map<std::uint32_t, std::string> Messages; // as the system formats them, with CR LF
    int GuidsMade = 0;

    std::string ModuleFileName() override { return ModulePath; }
    std::int32_t CreateGuidText(std::string& text) override;
    std::uint32_t AnsiCodePage() override { return CodePage; }
    bool IsLeadByte(unsigned char byte) override { return LeadBytes.count(byte) != 0; }
    std::string FormatSystemMessage(std::uint32_t code) override;
    // Byte order of the lower-cased texts, which is the locale order for plain ASCII names.
    int CompareTextIgnoreCase(const std::string& a, const std::string& b) override;

    // Mutexes: each attempt takes the next result (handle, last error); then (1, 0).
    std::deque<std::pair<std::uintptr_t, std::uint32_t>> MutexResults;
    std::vector<std::string> MutexNames;
    std::set<std::uintptr_t> OpenMutexes;
    std::vector<std::string> Addresses = {"192.168.0.5", "10.0.0.7"};
    bool AddressLookupFails = false;
    std::vector<std::uint32_t> Sleeps;

    std::uintptr_t CreateNamedMutex(const std::string& name, bool initialOwner) override;
    std::uint32_t LastError() override { return Error; }
    void CloseMutex(std::uintptr_t mutex) override { OpenMutexes.erase(mutex); }
    std::uint32_t RegisterMessage(const std::string& name) override;
    std::vector<std::string> HostAddresses() override;
    void Sleep(std::uint32_t milliseconds) override { Sleeps.push_back(milliseconds); }

private:
    std::uint32_t Error = 0;
    std::map<std::string, std::uint32_t> Registered;
};

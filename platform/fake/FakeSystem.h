#pragma once

#include "platform/System.h"

#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>

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
};

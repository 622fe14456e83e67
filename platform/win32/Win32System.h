// Platform code only: process and system facts over the Win32 API.
#pragma once

#include "platform/System.h"

class TWin32System : public ISystem {
public:
    std::string ModuleFileName() override;
    std::int32_t CreateGuidText(std::string& text) override;
    std::uint32_t AnsiCodePage() override;
    bool IsLeadByte(unsigned char byte) override;
    std::string FormatSystemMessage(std::uint32_t code) override;
    int CompareTextIgnoreCase(const std::string& a, const std::string& b) override;
    std::uintptr_t CreateNamedMutex(const std::string& name, bool initialOwner) override;
    std::uint32_t LastError() override;
    void CloseMutex(std::uintptr_t mutex) override;
    std::uint32_t RegisterMessage(const std::string& name) override;
    std::vector<std::string> HostAddresses() override;
    void Sleep(std::uint32_t milliseconds) override;
};

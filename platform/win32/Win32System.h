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
};

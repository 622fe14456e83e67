#pragma once

#include <cstdint>
#include <string>

// Process and system facts, in the platform's own numbers.
class ISystem {
public:
    virtual ~ISystem() = default;

    // Full path of the running executable, as the platform reports it for the process's module.
    virtual std::string ModuleFileName() = 0;
    // A new GUID in its registry text form; the platform's result code (0 for success).
    virtual std::int32_t CreateGuidText(std::string& text) = 0;
    virtual std::uint32_t AnsiCodePage() = 0;
    virtual bool IsLeadByte(unsigned char byte) = 0;
    // The system's own message for an error code, untrimmed; empty when it has none.
    virtual std::string FormatSystemMessage(std::uint32_t code) = 0;
    // The user's locale order without regard to case: negative, zero or positive.
    virtual int CompareTextIgnoreCase(const std::string& a, const std::string& b) = 0;
};

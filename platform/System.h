#pragma once

#include "UniqueHandle.h"

#include <cstdint>
#include <string>
#include <vector>

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

    // A named mutex; 0 when none was returned. The last error tells whether it existed.
    virtual std::uintptr_t CreateNamedMutex(const std::string& name, bool initialOwner) = 0;
    virtual std::uint32_t LastError() = 0;
    virtual void CloseMutex(std::uintptr_t mutex) = 0;
    // The same number in every process that registers the name (0xC000 to 0xFFFF).
    virtual std::uint32_t RegisterMessage(const std::string& name) = 0;
    // This computer's IPv4 addresses in dotted form, as resolving its own host name returns
    // them; raises when the lookup fails.
    virtual std::vector<std::string> HostAddresses() = 0;
    virtual void Sleep(std::uint32_t milliseconds) = 0;
};

using TMutexHandle = TUniqueHandle<ISystem, std::uintptr_t, &ISystem::CloseMutex>;

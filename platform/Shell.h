#pragma once

#include <cstdint>
#include <string>

class IShell {
public:
    virtual ~IShell() = default;

    // The computer-wide application-data folder (CSIDL_COMMON_APPDATA); false when the shell
    // cannot name it.
    virtual bool CommonAppDataFolder(std::string& path) = 0;
    // Carries out a verb ("open", "explore") on a file, folder or address; the shell's result
    // code (above 32 for success).
    virtual std::intptr_t Execute(std::uintptr_t owner, const std::string& verb,
                                  const std::string& file, int showCommand) = 0;
};

#pragma once

#include <string>

class IShell {
public:
    virtual ~IShell() = default;

    // The computer-wide application-data folder (CSIDL_COMMON_APPDATA); false when the shell
    // cannot name it.
    virtual bool CommonAppDataFolder(std::string& path) = 0;
};

// Platform code only: the shell's special folders.
#pragma once

#include "platform/Shell.h"

class TWin32Shell : public IShell {
public:
    bool CommonAppDataFolder(std::string& path) override;
    std::intptr_t Execute(std::uintptr_t owner, const std::string& verb, const std::string& file,
                          int showCommand) override;
};

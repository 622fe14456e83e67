#pragma once

#include "platform/Shell.h"

#include <optional>
#include <string>

class TFakeShell : public IShell {
public:
    std::optional<std::string> CommonAppData = std::string("C:\\ProgramData");

    bool CommonAppDataFolder(std::string& path) override {
        if (!CommonAppData) return false;
        path = *CommonAppData;
        return true;
    }
};

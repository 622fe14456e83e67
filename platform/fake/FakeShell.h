#pragma once

#include "platform/Shell.h"

#include <optional>
#include <string>
#include <vector>

class TFakeShell : public IShell {
public:
    std::optional<std::string> CommonAppData = std::string("C:\\ProgramData");

    bool CommonAppDataFolder(std::string& path) override {
        if (!CommonAppData) return false;
        path = *CommonAppData;
        return true;
    }

    struct TExecuted {
        std::uintptr_t Owner;
        std::string Verb, File;
        int ShowCommand;
    };
    std::vector<TExecuted> Executed;
    std::intptr_t ExecuteResult = 42;

    std::intptr_t Execute(std::uintptr_t owner, const std::string& verb, const std::string& file,
                          int showCommand) override {
        Executed.push_back({owner, verb, file, showCommand});
        return ExecuteResult;
    }
};

#pragma once

#include <string>

// Runs a command line through the system's command interpreter and returns what it printed.
std::string RunCommand(const std::string& commandLine);

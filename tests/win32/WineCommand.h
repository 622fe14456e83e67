#pragma once

#include <string>

// Runs a command line through the system's command interpreter and returns what it printed.
std::string RunCommand(const std::string& commandLine);

// A path of the build tree as the prefix's programs see it: drive Z: is the Linux root.
std::string WindowsPath(const std::string& unixPath);

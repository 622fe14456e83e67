#pragma once

#include <string>

// The file version of an executable as "a.b.c.d"; empty when it cannot be read.
std::string FileVersionText(const std::string& path);

// One line per installed product program, "<label><version>" ended by a single CR.
std::string InstalledVersionsText();

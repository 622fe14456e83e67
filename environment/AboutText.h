#pragma once

#include <string>

// The about page: product, maker, the translated heading and the installed versions; every line
// ends with a single CR.
std::string AboutText();

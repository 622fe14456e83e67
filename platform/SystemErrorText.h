#pragma once

#include "System.h"

#include <cstdint>
#include <string>

// The system's text for an error code, without the trailing line break, blanks and full stop.
std::string SystemErrorText(ISystem& system, std::uint32_t code);

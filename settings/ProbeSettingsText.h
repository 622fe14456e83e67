#pragma once

#include <string>

// Small text rules of the probe settings, shared with the window.

// Leading and trailing blanks and control characters removed.
std::string TrimText(const std::string& text);

// The decimal text of `text` read as an integer, or of `fallback` when it is not one.
std::string IntegerTextOr(const std::string& text, int fallback);

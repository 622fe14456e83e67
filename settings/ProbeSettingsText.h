#pragma once

#include <string>

// Small text rules of the probe settings, shared with the window.

// Leading and trailing blanks and control characters removed.
std::string TrimText(const std::string& text);

// `text` read as a decimal integer, or `fallback` when it is not one.
int IntegerOr(const std::string& text, int fallback);
// The decimal text of IntegerOr.
std::string IntegerTextOr(const std::string& text, int fallback);

// Splits "host:port" at its last colon; false, and the text left whole, without a colon.
bool SplitAtLastColon(const std::string& text, std::string& host, std::string& port);

#pragma once

#include <cstdint>
#include <string>

// Where the product is installed and what it is called; fixed once by InitGlobals.
extern std::string ProductName;
extern std::string ProgramDir;
extern std::string LanguageDir;
inline const std::string LanguageDirName = "language\\";
inline const std::string SystemLogsDirName = "Logs (System)\\";

void InitGlobals();

// Appends a backslash unless the text already ends with one (a backslash that is the second
// byte of a double-byte character does not count); the empty text becomes "\".
std::string IncludeTrailingBackslash(const std::string& text);

// The computer-wide application-data folder as the platform names it; empty when it cannot.
std::string CommonAppDataDir();
std::string DefaultDataDir();

// The first `limit` bytes of a file as lines, each ended by CR LF; the text stops at a NUL.
std::string ReadFileHead(const std::string& fileName, std::int32_t limit);
// The line-break normalisation of ReadFileHead on bytes already read.
std::string NormaliseLineBreaks(const std::string& bytes);

#pragma once

#include "Registry.h"

#include <cstdint>
#include <string>

// The tool's rules over the raw registry calls, written once for every caller.

// Tries KEY_READ, then read and enumerate, then query alone; an empty key when all three fail.
TRegKey OpenKeyReadOnly(IRegistry& registry, TRegHandle root, const std::string& path);

// Opens the key with full access, creating it and its parents; returns the platform's code.
std::uint32_t OpenOrCreateKey(IRegistry& registry, TRegHandle root, const std::string& path,
                              TRegKey& key);

bool ValueExists(IRegistry& registry, const TRegKey& key, const std::string& name);

// A stored string ends at its first NUL; data without one ends where the data ends.
std::string StringFromRegistryData(const std::string& data);
// A string as stored: its bytes and one terminating NUL.
std::string RegistryDataFromString(const std::string& text);

bool DwordFromRegistryData(const std::string& data, std::uint32_t& value);
std::string RegistryDataFromDword(std::uint32_t value);

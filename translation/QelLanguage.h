#pragma once

#include <string>
#include <vector>

// The translated texts the product shares; set once by InitCommonStrings.
struct TCommonStrings {
    std::string Attention;
    std::string LocalProbeOn127;
    std::string RestartNow;
    std::string ServiceNotInstalled; // "%s": the service's display name
    std::string ServiceNotRunning;   // "%s": the service's display name
    std::string ServiceRestart;      // "%s": the service's display name
};
extern TCommonStrings CommonStrings;

// Lines code=name of the access rights, for as long as the catalogue lives.
extern std::vector<std::string> AccessRightNames;

// Loads the chosen language file from the language folder, merged with "English.lng" when it
// is another language. Never raises: a file that cannot be used leaves the English defaults.
void LoadLanguage(const std::string& languageFileName);
void FreeLanguage();
void InitCommonStrings();

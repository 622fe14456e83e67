#include "QelLanguage.h"

#include "DorTranslation.h"
#include "environment/QelGlobals.h"
#include "platform/Platform.h"

#include <algorithm>

TCommonStrings CommonStrings;
std::vector<std::string> AccessRightNames;

namespace {
std::string LowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return text;
}
} // namespace

void LoadLanguage(const std::string& languageFileName) {
    AppLanguage = std::make_unique<TDorLanguage>();
    try {
        const std::string folder = ProgramDir + "Language\\";
        IFiles& files = *Platform().Files;
        if (files.FileExists(folder + languageFileName)) {
            AppLanguage->LoadFromFile(folder + languageFileName);
            if (LowerCase(languageFileName) != "english.lng" &&
                files.FileExists(folder + "English.lng")) {
                TDorLanguage reference;
                reference.LoadFromFile(folder + "English.lng");
                AppLanguage->Merge(reference, "");
            }
        }
    } catch (...) {
        // The tool then shows the texts it has: English, or the chosen language unmerged.
    }
    AccessRightNames.clear();
    InitCommonStrings();
}

void FreeLanguage() {
    AccessRightNames.clear();
    AppLanguage.reset();
}

void InitCommonStrings() {
    CommonStrings.Attention = Translate("common.strings.attention", "Attention!");
    CommonStrings.LocalProbeOn127 =
        Translate("common.strings.localprobeon127", "Local Probe on 127.0.0.1");
    CommonStrings.RestartNow = Translate("common.strings.restartnow", "Restart now?");
    CommonStrings.ServiceNotInstalled = Translate(
        "common.strings.servicenotinstalled", "The %s is not installed. Do you wish to install it?",
        "%s is the name of the service");
    CommonStrings.ServiceNotRunning = Translate("common.strings.servicenotrunning",
                                                "The %s is not running. Do you wish to start it?",
                                                "%s is the name of the service");
    CommonStrings.ServiceRestart = Translate(
        "common.strings.servicerestart", "You must restart the %s for the changes to take effect.",
        "%s is the name of the service");
    static const struct {
        const char* Code;
        const char* Key;
        const char* English;
    } Rights[] = {{"-1", "common.accessstring.Inherited", "Inherited"},
                  {"0", "common.accessstring.None", "None"},
                  {"100", "common.accessstring.Read", "Read"},
                  {"200", "common.accessstring.Write", "Write"},
                  {"400", "common.accessstring.Full", "Full"}};
    for (const auto& right : Rights)
        AccessRightNames.push_back(std::string(right.Code) + "=" +
                                   Translate(right.Key, right.English));
}

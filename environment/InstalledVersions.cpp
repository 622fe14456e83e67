#include "InstalledVersions.h"

#include "QelGlobals.h"
#include "platform/Platform.h"

#include <array>
#include <cstdint>
#include <utility>

std::string FileVersionText(const std::string& path) {
    std::uint32_t ms = 0;
    std::uint32_t ls = 0;
    if (!Platform().Versions->FixedFileVersion(path, ms, ls)) return {};
    return std::to_string(ms >> 16) + "." + std::to_string(ms & 0xFFFF) + "." +
           std::to_string(ls >> 16) + "." + std::to_string(ls & 0xFFFF);
}

std::string InstalledVersionsText() {
    static const std::array<std::pair<const char*, const char*>, 5> programs{{
        {"VELK Server.exe", "Server Service: V"},
        {"VELK Probe.exe", "Probe Service: V"},
        {"VELKServerAdmin.exe", "Server Administration Tool: V"},
        {"VELKProbeAdmin.exe", "Probe Administration Tool: V"},
        {"VELKImport.exe", "Import Tool: V"},
    }};
    std::string text;
    for (const auto& [file, label] : programs) {
        const std::string version = FileVersionText(ProgramDir + file);
        if (!version.empty()) text += label + version + "\r";
    }
    return text;
}

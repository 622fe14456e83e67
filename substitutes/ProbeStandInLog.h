#pragma once

#include "platform/win32/Win32Api.h"

#include <string>

// The stand-in's log, "<Temppath>Logs (System)\VELK Probe Log (1).log", held open for writing
// (others may read) for as long as the service runs, as the real probe's logger does.
class TProbeStandInLog {
public:
    // Creates the folder as needed; an unusable path leaves the log closed.
    explicit TProbeStandInLog(const std::string& dataDir);
    // One line with the local time in front.
    void Write(const std::string& text);
    bool IsOpen() const { return static_cast<bool>(File); }

private:
    TFileHandle File;
};

// "Temppath" of the probe key, with a trailing backslash; the default data folder without it.
std::string ProbeDataDir();

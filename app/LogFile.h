#pragma once

#include <string>

// The probe's current log inside a data directory, as the page builds its name: the field's
// text, one backslash, the log folder and the file name.
std::string ProbeLogFileName(const std::string& dataPathText);

// The whole file as CR LF lines, ending at its first NUL. The probe service holds the file open
// for writing while it runs, so it is shared for reading, writing and deletion.
std::string ReadProbeLog(const std::string& fileName);

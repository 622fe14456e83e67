#include "LogFile.h"

#include "environment/QelGlobals.h"
#include "platform/Platform.h"
#include "platform/QelError.h"
#include "platform/SystemErrorText.h"
#include "translation/DorTranslation.h"

#include <limits>

std::string ProbeLogFileName(const std::string& dataPathText) {
    return IncludeTrailingBackslash(dataPathText + "\\" + SystemLogsDirName) +
           "VELK Probe Log (1).log";
}

std::string ReadProbeLog(const std::string& fileName) {
    std::string bytes;
    const std::uint32_t error = Platform().Files->ReadFileHead(
        fileName, files::ShareRead | files::ShareWrite | files::ShareDelete,
        std::numeric_limits<std::uint64_t>::max(), bytes);
    if (error != 0)
        throw EQelError(SafeFormat("Cannot open file \"%s\". %s",
                                   {fileName, SystemErrorText(*Platform().System, error)}));
    return NormaliseLineBreaks(bytes);
}

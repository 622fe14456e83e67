#include "QelGlobals.h"

#include "platform/Platform.h"
#include "platform/QelError.h"
#include "platform/SystemErrorText.h"

std::string ProductName;
std::string ProgramDir;
std::string LanguageDir;

namespace {
const std::string DataDirTail = "Dorvasen\\VELK Network Monitor\\V7\\";

std::string FolderOf(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\:");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}
} // namespace

void InitGlobals() {
    try {
        ProductName = "VELK Network Monitor";
        ProgramDir = FolderOf(Platform().System->ModuleFileName());
        LanguageDir = ProgramDir + LanguageDirName;
    } catch (const std::exception& error) {
        throw EQelError("Init Globals: " + std::string(error.what()));
    }
}

std::string IncludeTrailingBackslash(const std::string& text) {
    // Walk from the start: only there is it known which bytes are lead bytes.
    ISystem& system = *Platform().System;
    bool lastIsSingle = false;
    for (std::size_t i = 0; i < text.size();) {
        const bool pair =
            system.IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
        lastIsSingle = !pair;
        i += pair ? 2 : 1;
    }
    if (lastIsSingle && text.back() == '\\') return text;
    return text + '\\';
}

std::string CommonAppDataDir() {
    std::string path;
    if (!Platform().Shell->CommonAppDataFolder(path)) return {};
    return path;
}

std::string DefaultDataDir() {
    const std::string common = CommonAppDataDir();
    if (common.empty()) return "\\" + DataDirTail;
    return IncludeTrailingBackslash(common) + DataDirTail;
}

std::string NormaliseLineBreaks(const std::string& bytes) {
    const std::string text = bytes.substr(0, bytes.find('\0'));
    std::string result;
    result.reserve(text.size() + text.size() / 16 + 2);
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t end = text.find_first_of("\r\n", pos);
        const std::size_t stop = end == std::string::npos ? text.size() : end;
        result.append(text, pos, stop - pos);
        result += "\r\n";
        pos = stop;
        if (pos < text.size() && text[pos] == '\r') ++pos;
        if (pos < text.size() && text[pos] == '\n') ++pos;
    }
    return result;
}

std::string ReadFileHead(const std::string& fileName, std::int32_t limit) {
    std::string bytes;
    const std::uint32_t error = Platform().Files->ReadFileHead(
        fileName, 0, limit > 0 ? static_cast<std::uint64_t>(limit) : 0, bytes);
    if (error != 0) throw EQelError(SystemErrorText(*Platform().System, error));
    return NormaliseLineBreaks(bytes);
}

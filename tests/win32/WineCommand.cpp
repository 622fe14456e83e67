#include "WineCommand.h"

#include <cstdio>
#include <memory>

namespace {
struct TPipeClose {
    void operator()(FILE* pipe) const { _pclose(pipe); }
};
} // namespace

std::string RunCommand(const std::string& commandLine) {
    const std::unique_ptr<FILE, TPipeClose> pipe(_popen((commandLine + " 2>&1").c_str(), "r"));
    std::string output;
    if (!pipe) return output;
    char buffer[4096];
    while (const std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe.get()))
        output.append(buffer, got);
    return output;
}

std::string WindowsPath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

#pragma once

#include "LanguageFileList.h"
#include "platform/Gui.h"

#include <memory>
#include <string>

// The service workflows as the administrator sees them: a progress window while the tool waits,
// a translated message for every failure, true or false for the window's service flags.
class TQelAdminTool {
public:
    explicit TQelAdminTool(TWindowHandle owner);
    ~TQelAdminTool();
    TQelAdminTool(const TQelAdminTool&) = delete;
    TQelAdminTool& operator=(const TQelAdminTool&) = delete;

    std::string LocalProbeDefaultName;
    std::string RemoteProbeDefaultName; // holds "%s:ip" for the window to replace
    std::string AutoAddressText;
    TQelLanguageFileList LanguageFiles;

    void PumpEvents();

    bool InstallProbeService(const std::string& exePath, const std::string& serviceName,
                             const std::string& displayName, const std::string& description);
    bool UninstallProbeService(const std::string& displayName, const std::string& serviceName,
                               bool believedRunning);
    bool StartProbeService(const std::string& displayName, const std::string& serviceName);
    bool StopProbeService(const std::string& displayName, const std::string& serviceName);

    // A service operation is under way: the window must not start another one or close.
    bool Busy() const { return BusyDepth > 0; }

    void ListLanguageFiles();
    void ClearLanguageFiles() { LanguageFiles.Clear(); }

private:
    TWindowHandle Owner;
    bool ProgressRising = false;
    std::unique_ptr<ITimer> ProgressTimer;
    std::unique_ptr<IProgressWindow> ProgressWindow;
    int BusyDepth = 0;

    void ShowWaitProgress(const std::string& title);
    void WaitProgressTick();
    void HideWaitProgress();

    friend class TBusyScope;
};

// The one tool of the process, for the places that reach it without the window.
extern TQelAdminTool* AdminTool;

// Checks a changed data directory with the administrator: true when the new path is to be
// adopted, false to keep the old one.
bool CheckDataPath(const std::string& oldPath, const std::string& newPath);

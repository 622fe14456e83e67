#include "QelAdminTools.h"

#include "DorServices.h"
#include "environment/QelGlobals.h"
#include "platform/Platform.h"
#include "platform/QelError.h"
#include "settings/ProbeSettingsText.h"
#include "translation/DorTranslation.h"
#include "translation/QelLanguage.h"

#include <algorithm>
#include <cctype>

TQelAdminTool* AdminTool = nullptr;

namespace {
constexpr int ProgressMaximum = 300;

void ShowMessage(const std::string& text) {
    Platform().Gui->ShowMessage(text);
}

bool AskQuestion(const std::string& text) {
    return Platform().Gui->AskQuestion(CommonStrings.Attention, text);
}

std::string Format(const std::string& key, const std::string& english,
                   const std::vector<std::string>& args) {
    return SafeFormat(Translate(key, english), args);
}

const std::string LfCr = "\n\r";
} // namespace

// Marks a workflow as running for as long as it lives.
class TBusyScope {
public:
    explicit TBusyScope(TQelAdminTool& tool) : Tool(tool) { ++Tool.BusyDepth; }
    ~TBusyScope() { --Tool.BusyDepth; }
    TBusyScope(const TBusyScope&) = delete;
    TBusyScope& operator=(const TBusyScope&) = delete;

private:
    TQelAdminTool& Tool;
};

TQelAdminTool::TQelAdminTool(TWindowHandle owner) : Owner(owner) {
    ServiceWaitCallback = [this] { PumpEvents(); };
    LocalProbeDefaultName = CommonStrings.LocalProbeOn127;
    RemoteProbeDefaultName = Translate("pas.admintool.defaultname.rempoteprobe", "Probe on %s:ip");
    AutoAddressText = Translate("pas.admintool.defaultname.auto", "auto",
                                "first entry in LocalIP combox in probe admin. Use auto IP");
}

TQelAdminTool::~TQelAdminTool() {
    // The waits must not call back into a tool that is gone.
    ServiceWaitCallback = nullptr;
    if (AdminTool == this) AdminTool = nullptr;
}

void TQelAdminTool::PumpEvents() {
    Platform().Gui->ProcessMessages();
}

bool TQelAdminTool::InstallProbeService(const std::string& exePath, const std::string& serviceName,
                                        const std::string& displayName,
                                        const std::string& description) {
    if (Busy()) return false;
    const TBusyScope busy(*this);
    try {
        if (InstallService(exePath, serviceName, displayName, description)) return true;
        ShowMessage(Format("pas.admintool.noinstall",
                           "The %s could not be installed. Please re-run the installation "
                           "program.",
                           {serviceName}));
    } catch (const std::exception& error) {
        ShowMessage(error.what());
    }
    return false;
}

bool TQelAdminTool::UninstallProbeService(const std::string& displayName,
                                          const std::string& serviceName, bool believedRunning) {
    if (Busy()) return false;
    const TBusyScope busy(*this);
    std::string stopFailure;
    if (believedRunning) {
        try {
            StopServiceAndWait(serviceName);
        } catch (const std::exception& error) {
            stopFailure = SafeFormat(Translate("pas.admintool.couldnotbestopped",
                                               "%0:s could not be stopped: %1:s",
                                               "%0:s = service name, %1:s = error message"),
                                     {displayName, error.what()});
            ShowMessage(stopFailure);
        }
    }
    try {
        UninstallService(serviceName);
    } catch (const std::exception& error) {
        ShowMessage(error.what());
        return false;
    }
    if (!stopFailure.empty()) {
        // The service is only marked for deletion until the computer restarts.
        const std::string question =
            stopFailure + LfCr +
            Format("pas.admintool.uninstallrestart1", "%s flagged for deinstallation.",
                   {displayName}) +
            LfCr +
            Translate("pas.admintool.uninstallrestart2",
                      "You must restart your computer in order to finish the deinstallation") +
            LfCr + LfCr +
            Translate("pas.admintool.uninstallrestart3",
                      "Do you want to restart your computer now?");
        if (AskQuestion(question)) RestartComputer();
    }
    return true;
}

bool TQelAdminTool::StartProbeService(const std::string& displayName,
                                      const std::string& serviceName) {
    if (Busy()) return false;
    const TBusyScope busy(*this);
    try {
        ShowWaitProgress(
            Format("pas.admintool.trystart", "Trying to start service %s", {displayName}));
        StartServiceAndWait(serviceName);
        HideWaitProgress();
        if (IsServiceRunning(serviceName)) return true;
        ShowMessage(
            Format("pas.admintool.couldnotstart", "%s could not be started", {displayName}));
    } catch (const std::exception& error) {
        if (ProgressWindow) HideWaitProgress();
        ShowMessage(Format("pas.admintool.couldnotstarterror", "%0:s could not be started: %1:s",
                           {displayName, error.what()}));
    }
    return false;
}

bool TQelAdminTool::StopProbeService(const std::string& displayName,
                                     const std::string& serviceName) {
    if (Busy()) return false;
    const TBusyScope busy(*this);
    ShowWaitProgress(Format("pas.admintool.trystop", "Trying to stop service %s", {displayName}));
    try {
        StopServiceAndWait(serviceName);
    } catch (const std::exception& error) {
        HideWaitProgress();
        ShowMessage(Format("pas.admintool.couldnotstoperror", "%0:s could not be stopped: %1:s",
                           {displayName, error.what()}));
        return false;
    }
    HideWaitProgress();
    return true;
}

void TQelAdminTool::ShowWaitProgress(const std::string& title) {
    IGui& gui = *Platform().Gui;
    ProgressRising = true;
    ProgressWindow = gui.CreateProgressWindow(Owner, title, 0, ProgressMaximum, 10);
    ProgressTimer = gui.CreateTimer(Owner, 1000, [this] { WaitProgressTick(); });
    ProgressTimer->SetEnabled(true);
    ProgressWindow->Show();
}

void TQelAdminTool::WaitProgressTick() {
    if (!ProgressWindow) return;
    if (ProgressRising) ProgressWindow->SetPosition(ProgressWindow->Position() + 1);
    const int position = ProgressWindow->Position();
    if (position == ProgressMaximum || position == 0) ProgressRising = !ProgressRising;
    PumpEvents();
}

void TQelAdminTool::HideWaitProgress() {
    IServiceControl& control = *Platform().ServiceControl;
    ProgressTimer->SetEnabled(false);
    // Let the administrator see the bar settle before the window goes.
    ProgressWindow->SetPosition(99);
    PumpEvents();
    control.Sleep(10);
    ProgressWindow->SetPosition(98);
    PumpEvents();
    control.Sleep(500);
    PumpEvents();
    ProgressWindow->Close();
    PumpEvents();
    ProgressWindow.reset();
    ProgressTimer.reset();
}

namespace {
bool HasLanguageExtension(const std::string& name) {
    static const std::string extension = ".lng";
    if (name.size() < extension.size()) return false;
    return std::equal(extension.rbegin(), extension.rend(), name.rbegin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

std::string WithoutExtension(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

// The language's display name from the head of its file; the file name when it has none.
std::string DisplayNameOf(const std::string& fileName) {
    std::string head;
    try {
        head = ReadFileHead(LanguageDir + fileName, 512);
    } catch (const std::exception&) {
        return WithoutExtension(fileName); // one unreadable file must not cost the whole list
    }
    static const std::string marker = "name=\"";
    const std::size_t found = head.find(marker);
    if (found == std::string::npos) return WithoutExtension(fileName);
    const std::size_t start = found + marker.size();
    const std::size_t end = head.find('"', start);
    return head.substr(start, end == std::string::npos ? std::string::npos : end - start);
}
} // namespace

void TQelAdminTool::ListLanguageFiles() {
    ClearLanguageFiles();
    for (const std::string& name : Platform().Files->ListDirectory(LanguageDir, "*.lng")) {
        if (!HasLanguageExtension(name)) continue;
        LanguageFiles.Add(DisplayNameOf(name),
                          std::make_unique<TQelLanguageFileDisplay>(TQelLanguageFileDisplay{name}));
    }
}

bool CheckDataPath(const std::string& oldPath, const std::string& newPath) {
    const std::string path = TrimText(newPath);
    if (path == oldPath) return true;
    if (path.empty()) {
        ShowMessage(Format("pas.admintool.pathempty",
                           "An empty string is invalid as a path. Reverting to %s", {oldPath}));
        return false;
    }
    IFiles& files = *Platform().Files;
    if (files.DirectoryExists(IncludeTrailingBackslash(path))) return true;
    if (AskQuestion(Format("pas.admintool.pathnotexist",
                           "The specified path %s does not exist. Do you wish to create it?",
                           {path}))) {
        if (files.CreateDirectories(path)) return true;
        ShowMessage(Format("pas.admintool.pathnotcreated",
                           "%0:s could not be created. Reverting to %1:s", {path, oldPath}));
        return false;
    }
    return !AskQuestion(Format("pas.admintool.pathuseold",
                               "Do you wish to use the old path %s instead?", {oldPath}));
}

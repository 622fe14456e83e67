#include "VELKProbeAdminMain.h"

#include "LogFile.h"
#include "environment/AboutText.h"
#include "environment/QelGlobals.h"
#include "environment/SupportLink.h"
#include "platform/Platform.h"
#include "platform/QelError.h"
#include "service/DorServices.h"
#include "settings/ProbeSettingsText.h"
#include "translation/DorTranslation.h"
#include "translation/QelLanguage.h"

#include <array>
#include <utility>

namespace {
constexpr std::uint32_t ErrorAccessDenied = 5;
constexpr std::uint32_t ErrorAlreadyExists = 183;
constexpr int DefaultPort = 23560;
const std::string LfCr = "\n\r";

const std::string ProbePage = "ProbeControlTabSheet";
const std::string FilesPage = "FilesTabSheet";

IGui& Gui() {
    return *Platform().Gui;
}

// Rows of the caption table: control, key suffix, English default.
struct TCaptionRow {
    const char* Control;
    const char* Key;
    const char* English;
};
constexpr std::array<TCaptionRow, 34> CaptionRows{{
    {"", "MainForm", "VELK Network Monitor - Probe Administration Tool"},
    {"OkButton", "OkAction", "Ok"},
    {"CancelButton", "CancelButton", "Cancel"},
    {"ProbeControlTabSheet", "ProbeControlTabSheet", "Probe control"},
    {"ProbeDetailGroupBox", "ProbeDetailGroupBox", "Probe details"},
    {"NameEdit.EditLabel", "NameEdit.EditLabel", "Name of the probe:"},
    {"ReconnectTimeEdit.EditLabel", "ReconnectTimeEdit.EditLabel", "Reconnect Time:"},
    {"ReconnectUnitLabel", "ReconnectUnitLabel", "sec"},
    {"ServerConnectionGroupBox", "ServerConnectionGroupBox", "Server connection"},
    {"LocalRadioButton", "LocalRadioButton",
     "Connect to local core server (via 127.0.0.1 and port specified below)"},
    {"RemoteRadioButton", "RemoteRadioButton",
     "Connect to remote core server (via settings specified below)"},
    {"ServerEdit.EditLabel", "ServerEdit.EditLabel", "Server (IP or DNS name):"},
    {"PortLabel", "PortLabel", "Port:"},
    {"ProbeGIDEdit.EditLabel", "ProbeGIDEdit.EditLabel", "Probe GID:"},
    {"ProbeGIDButton", "ProbeGIDButton", "Edit GID..."},
    {"PasswordEdit.EditLabel", "PasswordEdit.EditLabel", "Access key:"},
    {"Password2Edit.EditLabel", "Password2Edit.EditLabel", "Confirm Access Key:"},
    {"OutgoingIPGroupBox", "OutgoingIPGroupBox", "Outgoing IP for monitoring requests"},
    {"LanguageGroupBox", "LanguageGroupBox", "Probe Administration Tool Language"},
    {"ServiceTabSheet", "ServiceTabSheet", "Service Control"},
    {"ProbeServiceGroupBox", "ProbeServiceGroupBox", "VELK Probe Service"},
    {"InstallButton", "InstallAction", "Install"},
    {"UninstallButton", "UninstallAction", "Uninstall"},
    {"StopButton", "StopAction", "Stop"},
    {"StartButton", "StartAction", "Start"},
    {"NotFoundLabel", "NotFoundLabel",
     "The VELK Probe Sevice (VELKProbeService.exe) could not be found! Please re-run the "
     "installation program."},
    {"FilesTabSheet", "FilesTabSheet", "Files / Directories"},
    {"PathGroupBox", "PathGroupBox", "Path for probe data storage:"},
    {"DataPathEdit.EditLabel", "DataPathEdit.EditLabel", "Path:"},
    {"LogGroupBox", "LogGroupBox", "Log"},
    {"OpenLogFileButton", "OpenLogFileButton", "Open Log File..."},
    {"OpenLogDirButton", "OpenLogDirButton", "Open Log Directory..."},
    {"AboutTabSheet", "AboutTabSheet", "About"},
    {"OpenTicketButton", "OpenTicketButton", "Open Support Ticket (opens browser window)..."},
}};
} // namespace

template <typename Handler> void TMainForm::Guarded(Handler handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        Gui().ShowMessage(error.what());
    }
}

TMainForm::TMainForm(IForm& form) : Form(form) {
    try {
        FormCreate();
    } catch (const std::exception& error) {
        // The later steps did not run and the window relies on them: end after the message.
        Gui().ShowMessage(error.what());
        Terminated = true;
    }
}

TMainForm::~TMainForm() {
    FormDestroy();
}

void TMainForm::FormCreate() {
    ISystem& system = *Platform().System;
    Settings = std::make_unique<TQelOptionsProbe>();
    Settings->Load();
    LoadLanguage(Settings->LanguageFile);
    TranslateCaptions();
    Tool = std::make_unique<TQelAdminTool>(Form.Handle());
    AdminTool = Tool.get();
    Tool->ListLanguageFiles();
    Gui().SetApplicationTitle(
        Translate("pas.probeadmin.title", "VELK 7 Probe Administration Tool"));

    const std::string mutexName = "Global\\VELK7-ProbeAdmin";
    std::uintptr_t mutex = system.CreateNamedMutex(mutexName, true);
    if (!mutex) {
        system.Sleep(5000);
        mutex = system.CreateNamedMutex(mutexName, true);
    }
    const std::uint32_t mutexError = system.LastError();
    if (mutex) InstanceMutex = TMutexHandle(system, mutex);
    if (mutexError == ErrorAlreadyExists || mutexError == ErrorAccessDenied) {
        Gui().ShowMessage(Translate("pas.probeadmin.alreadyrunning",
                                    "VELK 7 Probe Administration Tool is already running. Please "
                                    "use the existing instance."));
        Terminated = true;
    }

    ServiceName = "VELK7ProbeService";
    ServiceDisplayName = "VELK 7 Probe Service";
    ServiceExePath = ProgramDir + "VELK Probe.exe";

    Form.ClearItems("LocalIPComboBox");
    Form.AddItem("LocalIPComboBox", Tool->AutoAddressText);
    for (const std::string& address : system.HostAddresses())
        Form.AddItem("LocalIPComboBox", address);
    const auto addresses = Form.Items("LocalIPComboBox");
    FirstLocalAddress = addresses.size() >= 2 ? addresses[1]
                                              : Translate("pas.probeadmin.nolocalip",
                                                          "No local IP address available");

    CloseMessageId = system.RegisterMessage("VELK7PROBEADMIN");
    ServiceExeFound = Platform().Files->FileExists(ServiceExePath);
    Form.SetText("DataPathEdit", DefaultDataDir());
    Bind();
}

void TMainForm::Bind() {
    Form.OnClick("OkButton", [this] { Guarded([this] { OkActionExecute(); }); });
    Form.OnClick("CancelButton", [this] { CancelButtonClick(); });
    Form.OnClick("LocalRadioButton", [this] { LocalRadioButtonClick(); });
    Form.OnClick("RemoteRadioButton", [this] { RemoteRadioButtonClick(); });
    Form.OnClick("ProbeGIDButton", [this] { ProbeGIDButtonClick(); });
    Form.OnClick("InstallButton", [this] { Guarded([this] { InstallActionExecute(); }); });
    Form.OnClick("UninstallButton", [this] { Guarded([this] { UninstallActionExecute(); }); });
    Form.OnClick("StartButton", [this] { Guarded([this] { StartActionExecute(); }); });
    Form.OnClick("StopButton", [this] { Guarded([this] { StopActionExecute(); }); });
    Form.OnClick("Button10", [this] { Guarded([this] { Button10Click(); }); });
    Form.OnClick("OpenLogFileButton", [this] { Guarded([this] { OpenLogFileButtonClick(); }); });
    Form.OnClick("OpenLogDirButton", [this] { Guarded([this] { OpenLogDirButtonClick(); }); });
    Form.OnClick("OpenTicketButton", [this] { OpenTicketButtonClick(); });
    Form.OnIdle([this] { ActionList1Update(); });
    Form.OnMessage(CloseMessageId, [this] { CancelButtonClick(); });
    // A running service wait holds the window's one progress display and the thread's stack.
    Form.OnCloseQuery([this] { return !(Tool && Tool->Busy()); });
}

void TMainForm::Run() {
    Form.Run([this] {
        if (Terminated) {
            Form.Close();
            return;
        }
        try {
            FormShow();
        } catch (const std::exception& error) {
            Gui().ShowMessage(error.what());
            Form.Close();
        }
    });
}

void TMainForm::TranslateCaptions() {
    for (const TCaptionRow& row : CaptionRows)
        Form.SetCaption(row.Control, Translate(std::string("pas.probeadmin.components.") + row.Key,
                                               row.English));
}

void TMainForm::FormShow() {
    Form.SetText("VersionMemo", AboutText());
    ServiceInstalled = ServiceExists(ServiceName);
    if (ServiceInstalled) ServiceRunning = IsServiceRunning(ServiceName);
    Form.SetText("ProbeGIDEdit", Settings->GId);
    AccessKeyPlaceholder = std::to_string(Settings->PasswordHash);

    std::string server = Settings->Server;
    std::string port = Settings->ServerPort;
    SplitAtLastColon(Settings->Server, server, port);
    Form.SetText("ServerEdit", server);
    Form.SetValue("PortEdit", IntegerOr(port, DefaultPort));

    Form.SetText("NameEdit", Settings->Name.empty() ? RemoteDefaultName() : Settings->Name);
    if (!Settings->IsLocalProbe) Form.SetChecked("RemoteRadioButton", true);
    Form.SetText("PasswordEdit", AccessKeyPlaceholder);

    int localIp = 0;
    const auto addresses = Form.Items("LocalIPComboBox");
    for (std::size_t i = 0; i < addresses.size(); ++i)
        if (addresses[i] == Settings->LocalIP) {
            localIp = static_cast<int>(i);
            break;
        }
    Form.SetItemIndex("LocalIPComboBox", localIp);

    if (!Settings->DataPath.empty())
        Form.SetText("DataPathEdit", IncludeTrailingBackslash(Settings->DataPath));
    Form.SetText("ReconnectTimeEdit", std::to_string(Settings->ReconnectTime));
    Form.SetActivePage(ProbePage);
    FillLanguageComboBox();
}

void TMainForm::FillLanguageComboBox() {
    // The items follow the list's order, so a list entry's index is its item's index.
    const TQelLanguageFileList& files = Tool->LanguageFiles;
    Form.ClearItems("LanguageComboBox");
    for (std::size_t i = 0; i < files.Count(); ++i)
        Form.AddItem("LanguageComboBox", files.Name(i));
    if (files.Count() == 0) Form.AddItem("LanguageComboBox", "English");
    int selected = -1;
    for (std::size_t i = 0; i < files.Count() && selected < 0; ++i)
        if (files.File(i).FileName == Settings->LanguageFile) selected = static_cast<int>(i);
    Form.SetItemIndex("LanguageComboBox", selected);
}

void TMainForm::FormDestroy() {
    FreeLanguage();
    Tool.reset();
    AdminTool = nullptr;
    Settings.reset();
    InstanceMutex.Reset();
}

void TMainForm::CancelButtonClick() {
    // Closing asks the close query, so a running service wait keeps the window open.
    if (Tool && Tool->Busy()) return;
    Form.Close();
}

std::string TMainForm::RemoteDefaultName() const {
    std::string name = Tool->RemoteProbeDefaultName;
    const std::size_t marker = name.find("%s:ip");
    if (marker != std::string::npos) name.replace(marker, 5, FirstLocalAddress);
    return name;
}

void TMainForm::LocalRadioButtonClick() {
    if (Form.Text("NameEdit") == RemoteDefaultName())
        Form.SetText("NameEdit", Tool->LocalProbeDefaultName);
}

void TMainForm::RemoteRadioButtonClick() {
    if (Form.Text("ServerEdit") == "127.0.0.1") {
        Form.SetEnabled("ServerEdit", true);
        Form.SetText("ServerEdit", "");
        Form.SetFocus("ServerEdit");
    }
    if (Form.Text("NameEdit") == Tool->LocalProbeDefaultName)
        Form.SetText("NameEdit", RemoteDefaultName());
}

void TMainForm::ProbeGIDButtonClick() {
    const std::string warning =
        Translate("pas.probeadmin.changegid1",
                  "Changing the GID is a very sensitive action which can cause serious problems "
                  "with existing VELK configurations.") +
        LfCr +
        Translate("pas.probeadmin.changegid2",
                  "It is necessary ONLY when you want to substitute a probe from a different "
                  "computer.") +
        LfCr +
        Translate("pas.probeadmin.changegid3",
                  "In this case you have to copy the GID from the old probe to the new probe.") +
        LfCr + LfCr + Translate("pas.probeadmin.changegid4", "Do you really want to edit the GID?");
    if (Gui().AskQuestion(CommonStrings.Attention, warning))
        Form.SetReadOnly("ProbeGIDEdit", false);
}

void TMainForm::InstallActionExecute() {
    if (Tool->Busy()) return;
    const std::string description =
        Translate("pas.probeadmin.servicerequired",
                  "This service is required for collecting data for VELK 7");
    ServiceInstalled =
        Tool->InstallProbeService(ServiceExePath, ServiceName, ServiceDisplayName, description);
}

void TMainForm::UninstallActionExecute() {
    if (Tool->Busy()) return;
    ServiceInstalled =
        !Tool->UninstallProbeService(ServiceDisplayName, ServiceName, ServiceRunning);
}

void TMainForm::StartActionExecute() {
    if (Tool->Busy()) return;
    ServiceRunning = Tool->StartProbeService(ServiceDisplayName, ServiceName);
}

void TMainForm::StopActionExecute() {
    if (Tool->Busy()) return;
    ServiceRunning = !Tool->StopProbeService(ServiceDisplayName, ServiceName);
}

void TMainForm::ActionList1Update() {
    if (!Tool) return; // creation stopped early
    const bool remote = Form.Checked("RemoteRadioButton");
    // While a wait runs, no second service operation may start.
    const bool idle = !Tool->Busy();
    Form.SetEnabled("UninstallButton", idle && ServiceInstalled);
    Form.SetEnabled("InstallButton", idle && !ServiceInstalled);
    Form.SetEnabled("StartButton", idle && ServiceInstalled && !ServiceRunning);
    Form.SetEnabled("StopButton", idle && ServiceRunning);
    Form.SetVisible("NotFoundLabel", !ServiceExeFound);
    Form.SetEnabled("ServerEdit", remote);
    Form.SetEnabled("PasswordEdit", remote);
    Form.SetEnabled("Password2Edit", remote && Form.Text("PasswordEdit") != AccessKeyPlaceholder);
}

void TMainForm::StopCheck(const std::string& key, const std::string& english,
                          const std::string& page, const std::string& focus, bool selectAll) {
    Gui().ShowMessage(Translate(key, english));
    Form.SetActivePage(page);
    // A disabled field cannot take the focus; the message has been shown all the same.
    if (Form.Enabled(focus)) {
        Form.SetFocus(focus);
        if (selectAll) Form.SelectAll(focus);
    }
}

void TMainForm::OkActionExecute() {
    if (Tool->Busy()) return;
    const std::string accessKey = Form.Text("PasswordEdit");
    if (accessKey != AccessKeyPlaceholder) {
        if (accessKey != Form.Text("Password2Edit")) {
            StopCheck("pas.probeadmin.passwordnomatch",
                      "Password and confirmation do not match. Please re-enter!", ProbePage,
                      "PasswordEdit", true);
            return;
        }
        Settings->SetPassword(accessKey);
    }
    if (!Form.ReadOnly("ProbeGIDEdit") && Form.Text("ProbeGIDEdit").empty()) {
        StopCheck("pas.probeadmin.entergid", "Please enter a GID.", ProbePage, "ProbeGIDEdit");
        return;
    }
    Settings->SetGId(Form.Text("ProbeGIDEdit"));
    const std::string server = Form.Text("ServerEdit");
    if (Form.Checked("RemoteRadioButton")) {
        if (server.empty()) {
            StopCheck("pas.probeadmin.enterserver",
                      "Please enter a server to connect the probe to.", ProbePage, "ServerEdit");
            return;
        }
        if (server.find("127.0.0.1") != std::string::npos) {
            StopCheck("pas.probeadmin.127nogood",
                      "You have entered 127.0.0.1 as IP for a Remote Core connection. Please enter "
                      "a different IP.",
                      ProbePage, "ServerEdit");
            return;
        }
    }
    Settings->SetServer(server);
    Settings->SetServerPort(std::to_string(Form.Value("PortEdit")));
    const int address = Form.ItemIndex("LocalIPComboBox");
    Settings->SetLocalIP(address <= 0 ? "0.0.0.0" : Form.Text("LocalIPComboBox"));
    Settings->SetIsLocalProbe(Form.Checked("LocalRadioButton"));
    if (Form.Text("NameEdit").empty()) {
        StopCheck("pas.probeadmin.entername", "Please enter a name for the probe.", ProbePage,
                  "NameEdit");
        return;
    }
    Settings->SetName(Form.Text("NameEdit"));
    const std::string dataPath = Form.Text("DataPathEdit");
    if (dataPath.empty()) {
        StopCheck("pas.probeadmin.enterpath", "Please enter a path for data storage.", FilesPage,
                  "DataPathEdit");
        return;
    }
    if (CheckDataPath(Settings->DataPath, dataPath))
        Settings->SetDataPath(IncludeTrailingBackslash(dataPath));
    Settings->SetReconnectTime(IntegerOr(Form.Text("ReconnectTimeEdit"), 300));
    const std::string language = Form.Text("LanguageComboBox");
    for (std::size_t i = 0; i < Tool->LanguageFiles.Count(); ++i)
        if (Tool->LanguageFiles.Name(i) == language) {
            Settings->SetLanguageFile(Tool->LanguageFiles.File(i).FileName);
            break;
        }
    // A failed save is shown by the caller; the window stays open and asks nothing.
    Settings->Save();

    const auto ask = [](const std::string& text) {
        return Gui().AskQuestion(CommonStrings.Attention, text);
    };
    bool justStarted = false;
    if (!ServiceInstalled &&
        ask(SafeFormat(CommonStrings.ServiceNotInstalled, {ServiceDisplayName})))
        InstallActionExecute();
    if (ServiceInstalled && !ServiceRunning &&
        ask(SafeFormat(CommonStrings.ServiceNotRunning, {ServiceDisplayName}))) {
        StartActionExecute();
        justStarted = true;
    }
    if (ServiceInstalled && ServiceRunning && !justStarted &&
        ask(SafeFormat(CommonStrings.ServiceRestart, {ServiceDisplayName}) +
            CommonStrings.RestartNow)) {
        StopActionExecute();
        StartActionExecute();
    }
    Form.Close();
}

void TMainForm::Button10Click() {
    const std::string text = Form.Text("DataPathEdit");
    std::string chosen;
    if (Form.BrowseForFolder(text, chosen))
        Form.SetText("DataPathEdit", IncludeTrailingBackslash(chosen));
}

void TMainForm::OpenLogFileButtonClick() {
    const std::string fileName = ProbeLogFileName(Form.Text("DataPathEdit"));
    if (Platform().Files->FileExists(fileName)) {
        Form.SetText("LogMemo", ReadProbeLog(fileName));
        return;
    }
    Gui().ShowMessage(SafeFormat(
        Translate("pas.probeadmin.logfilenotfound", "Logfile %s not found"), {fileName}));
}

void TMainForm::OpenLogDirButtonClick() {
    constexpr int ShowNormal = 1;
    const std::string folder = IncludeTrailingBackslash(Form.Text("DataPathEdit"));
    if (Platform().Shell->Execute(Form.Handle(), "explore", folder, ShowNormal) <= 32)
        Gui().ShowMessage(Translate("pas.probeadmin.foldernameinvalid", "Folder name invalid"));
}

void TMainForm::OpenTicketButtonClick() {
    OpenSupportTicketPage(Form.Handle());
}

#include "MainFormLayout.h"

namespace {
using K = TControlKind;
constexpr unsigned Tab = ctl::TabStop;

// The tab control's rectangle; every page shares it.
constexpr int PageLeft = 8, PageTop = 48, PageWidth = 578, PageHeight = 409;
} // namespace

TFormLayout MainFormLayout() {
    TFormLayout layout{
        "MainForm", "VELK Network Monitor - Probe Administration Tool", 595, 497, "Tahoma", 8, {},
        42};
    auto add = [&layout](TControlLayout control) { layout.Controls.push_back(std::move(control)); };
    const auto page = [&](const char* name, const char* caption) {
        add({name, K::Page, "", PageLeft, PageTop, PageWidth, PageHeight, caption});
    };

    page("ProbeControlTabSheet", "Probe control");
    add({"ProbeDetailGroupBox", K::GroupBox, "ProbeControlTabSheet", 16, 78, 562, 64,
         "Probe details"});
    add({"NameEdit", K::Edit, "ProbeDetailGroupBox", 28, 110, 330, 21, "", Tab, 0, 0,
         "Name of the probe:"});
    add({"ReconnectTimeEdit", K::Edit, "ProbeDetailGroupBox", 380, 110, 80, 21, "300", Tab, 0, 0,
         "Reconnect Time:"});
    add({"ReconnectUnitLabel", K::Label, "ProbeDetailGroupBox", 466, 113, 40, 13, "sec"});
    add({"ServerConnectionGroupBox", K::GroupBox, "ProbeControlTabSheet", 16, 148, 562, 196,
         "Server connection"});
    add({"LocalRadioButton", K::RadioButton, "ServerConnectionGroupBox", 28, 166, 540, 17,
         "Connect to local core server (via 127.0.0.1 and port specified below) ",
         Tab | ctl::Checked});
    add({"RemoteRadioButton", K::RadioButton, "ServerConnectionGroupBox", 28, 186, 540, 17,
         "Connect to remote core server (via settings specified below)", Tab});
    add({"ServerEdit", K::Edit, "ServerConnectionGroupBox", 28, 228, 330, 21, "", Tab, 0, 0,
         "Server (IP or DNS name):"});
    add({"PortLabel", K::Label, "ServerConnectionGroupBox", 380, 212, 60, 13, "Port:"});
    add({"PortEdit", K::SpinEdit, "ServerConnectionGroupBox", 380, 228, 80, 21, "23560", Tab, 0,
         65535});
    add({"PortStandardLabel", K::Label, "ServerConnectionGroupBox", 466, 231, 105, 13,
         "(Standard: 23560)"});
    add({"ProbeGIDEdit", K::Edit, "ServerConnectionGroupBox", 28, 270, 330, 21, "",
         Tab | ctl::ReadOnly, 0, 0, "Probe GID:"});
    add({"ProbeGIDButton", K::Button, "ServerConnectionGroupBox", 380, 268, 100, 25, "Edit GID...",
         Tab});
    add({"PasswordEdit", K::Edit, "ServerConnectionGroupBox", 28, 312, 250, 21, "",
         Tab | ctl::Password, 0, 0, "Access Key:"});
    add({"Password2Edit", K::Edit, "ServerConnectionGroupBox", 300, 312, 250, 21, "",
         Tab | ctl::Password | ctl::Disabled, 0, 0, "Confirm Access Key:"});
    add({"OutgoingIPGroupBox", K::GroupBox, "ProbeControlTabSheet", 16, 350, 275, 52,
         "Outgoing IP for monitoring requests"});
    add({"LocalIPComboBox", K::ComboBox, "OutgoingIPGroupBox", 28, 370, 250, 21, "", Tab});
    add({"LanguageGroupBox", K::GroupBox, "ProbeControlTabSheet", 303, 350, 275, 52,
         "Language for Probe Administration Tool"});
    add({"LanguageComboBox", K::ComboBox, "LanguageGroupBox", 315, 370, 250, 21, "", Tab});

    page("ServiceTabSheet", "Service Control");
    add({"ProbeServiceGroupBox", K::GroupBox, "ServiceTabSheet", 16, 78, 562, 64,
         "VELK Probe Service"});
    add({"InstallButton", K::Button, "ProbeServiceGroupBox", 28, 102, 120, 25, "Install", Tab});
    add({"UninstallButton", K::Button, "ProbeServiceGroupBox", 162, 102, 120, 25, "Uninstall",
         Tab});
    add({"StartButton", K::Button, "ProbeServiceGroupBox", 296, 102, 120, 25, "Start", Tab});
    add({"StopButton", K::Button, "ProbeServiceGroupBox", 430, 102, 120, 25, "Stop", Tab});
    add({"NotFoundLabel", K::Label, "ServiceTabSheet", 28, 160, 540, 40,
         "The VELK Probe Sevice (VELKProbeService.exe) could not be found! Please re-run the "
         "installation program.",
         ctl::Hidden | ctl::Bold | ctl::WordWrap});

    page("FilesTabSheet", "Files / Directories");
    add({"PathGroupBox", K::GroupBox, "FilesTabSheet", 16, 78, 562, 64,
         "Path for probe data storage:"});
    add({"DataPathEdit", K::Edit, "PathGroupBox", 28, 110, 500, 21, "", Tab, 0, 0, "Path:"});
    add({"Button10", K::Button, "PathGroupBox", 534, 110, 32, 21, "...", Tab});
    add({"LogGroupBox", K::GroupBox, "FilesTabSheet", 16, 148, 562, 300, "Log"});
    add({"OpenLogFileButton", K::Button, "LogGroupBox", 28, 166, 150, 25, "Open Log File...", Tab});
    add({"OpenLogDirButton", K::Button, "LogGroupBox", 416, 166, 150, 25, "Open Log Directory...",
         Tab});
    add({"LogMemo", K::Memo, "LogGroupBox", 28, 198, 538, 240, "", Tab | ctl::ReadOnly});

    page("AboutTabSheet", "About");
    add({"VersionMemo", K::Memo, "AboutTabSheet", 16, 78, 562, 340, "Will be filled in Form.Show",
         Tab | ctl::ReadOnly});
    add({"OpenTicketButton", K::Button, "AboutTabSheet", 16, 424, 562, 25,
         "Open Support Ticket (opens browser window)...", Tab});

    add({"OkButton", K::Button, "", 8, 464, 90, 25, "Ok", Tab | ctl::Default});
    add({"CancelButton", K::Button, "", 497, 464, 90, 25, "Cancel", Tab | ctl::Cancel});
    return layout;
}

#pragma once

#include "platform/Form.h"
#include "platform/System.h"
#include "service/QelAdminTools.h"
#include "settings/QelOptionsProbe.h"

#include <cstdint>
#include <memory>
#include <string>

// The tool's one window: the probe's settings, the service page, the log and the about page.
class TMainForm {
public:
    // Runs the creation steps; an error stops them and is shown.
    explicit TMainForm(IForm& form);
    ~TMainForm();
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;

    // Shows the window and processes events until it closes.
    void Run();

    std::unique_ptr<TQelOptionsProbe> Settings;
    bool ServiceRunning = false;
    bool ServiceInstalled = false;
    std::string AccessKeyPlaceholder;
    std::string ServiceName;
    bool ServiceExeFound = false;
    std::string ServiceExePath;
    std::string ServiceDisplayName;
    TMutexHandle InstanceMutex;
    std::uint32_t CloseMessageId = 0;
    std::string FirstLocalAddress;
    // The application was asked to end: the window closes as soon as it is shown.
    bool Terminated = false;

    void FormCreate();
    void FormShow();
    void FormDestroy();
    void TranslateCaptions();
    void CancelButtonClick();
    void LocalRadioButtonClick();
    void RemoteRadioButtonClick();
    void ProbeGIDButtonClick();
    void InstallActionExecute();
    void UninstallActionExecute();
    void StartActionExecute();
    void StopActionExecute();
    void ActionList1Update();
    void OkActionExecute();
    void Button10Click();
    void OpenLogFileButtonClick();
    void OpenLogDirButtonClick();
    void OpenTicketButtonClick();

private:
    IForm& Form;
    std::unique_ptr<TQelAdminTool> Tool;

    std::string RemoteDefaultName() const;
    void FillLanguageComboBox();
    void StopCheck(const std::string& key, const std::string& english, const std::string& page,
                   const std::string& focus, bool selectAll = false);
    void Bind();
    // Runs a handler; an error it raises is shown with its own text.
    template <typename Handler> void Guarded(Handler handler);
};

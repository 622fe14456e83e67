// Platform code only: the toolkit's boxes, progress window, timers and event loop.
#pragma once

#include "platform/Gui.h"

class TWin32Gui : public IGui {
public:
    TWin32Gui();

    void SetApplicationTitle(const std::string& title) override { Title = title; }
    std::string ApplicationTitle() const override { return Title; }
    void ShowMessage(const std::string& text) override;
    bool AskQuestion(const std::string& caption, const std::string& text) override;
    std::unique_ptr<IProgressWindow> CreateProgressWindow(TWindowHandle owner,
                                                          const std::string& title, int minimum,
                                                          int maximum, int position) override;
    std::unique_ptr<ITimer> CreateTimer(TWindowHandle owner, unsigned intervalMs,
                                        std::function<void()> onTick) override;
    void ProcessMessages() override;

private:
    std::string Title = "VELK Probe Administration";
};

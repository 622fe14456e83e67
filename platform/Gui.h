#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// A window of the toolkit as the platform identifies it; 0 is none.
using TWindowHandle = std::uintptr_t;

class IProgressWindow {
public:
    virtual ~IProgressWindow() = default;
    virtual void Show() = 0;
    virtual void SetPosition(int position) = 0;
    virtual int Position() const = 0;
    virtual void Close() = 0;
};

class ITimer {
public:
    virtual ~ITimer() = default;
    virtual void SetEnabled(bool enabled) = 0;
};

// The toolkit's boxes, progress window, timer and event processing. One thread.
class IGui {
public:
    virtual ~IGui() = default;

    virtual void SetApplicationTitle(const std::string& title) = 0;
    virtual std::string ApplicationTitle() const = 0;

    // Modal, one OK button, captioned with the application's title.
    virtual void ShowMessage(const std::string& text) = 0;
    // Modal, Yes and No, no icon; true only for Yes.
    virtual bool AskQuestion(const std::string& caption, const std::string& text) = 0;

    // Non-modal and centred; the title in its title bar, a bar from `minimum` to `maximum`,
    // no text and no cancel button. Hidden until shown.
    virtual std::unique_ptr<IProgressWindow> CreateProgressWindow(TWindowHandle owner,
                                                                  const std::string& title,
                                                                  int minimum, int maximum,
                                                                  int position) = 0;
    // Ticks only while events are processed. Disabled until enabled.
    virtual std::unique_ptr<ITimer> CreateTimer(TWindowHandle owner, unsigned intervalMs,
                                                std::function<void()> onTick) = 0;

    // Processes every pending event, then returns.
    virtual void ProcessMessages() = 0;
};

#pragma once

#include "platform/Form.h"

#include <cstdint>
#include <string>
#include <vector>

// Drives the running tool's window from another process by the window's control names.
class TUiDriver {
public:
    // Waits up to `timeoutMs` for the tool's window; false when none appeared.
    bool Attach(unsigned timeoutMs = 20000);
    bool Attached() const { return Window != 0; }
    std::uintptr_t WindowHandle() const { return Window; }
    std::uint32_t ProcessId() const;

    std::string Text(const std::string& control) const;
    void SetText(const std::string& control, const std::string& text);
    bool Checked(const std::string& control) const;
    bool Enabled(const std::string& control) const;
    bool Visible(const std::string& control) const;
    bool ReadOnly(const std::string& control) const;
    int Selected(const std::string& control) const;
    std::vector<std::string> Items(const std::string& control) const;
    std::string Caption() const;
    std::string ActivePage() const;

    // Posted, so that a handler that opens a modal box does not block the driver.
    void Click(const std::string& control);
    void Select(const std::string& control, int index);
    void ShowPage(const std::string& page);
    void SendCloseMessage();

    struct TBox {
        std::string Caption;
        std::string Text;
    };
    // Waits for the tool's next message or question box, reports it and presses the button
    // (IDOK, IDYES, IDNO); an empty caption when none came in time.
    TBox Answer(int button, unsigned timeoutMs = 20000);

    // Every control's state.
    std::string StateJson() const;

    // Waits until the window is gone (the tool has closed it).
    bool WaitClosed(unsigned timeoutMs = 20000);
    // Lets the tool process what was posted, then run its idle update.
    void Settle() const;

private:
    std::uintptr_t Window = 0;
    TFormLayout Layout;
    std::uintptr_t Control(const std::string& name) const;
    const TControlLayout& SpecOf(const std::string& name) const;
};

#pragma once

#include "platform/Form.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

// A form in memory, made from the same control table as the real window. Tests act on it as an
// administrator would (Click, Type, Select) and read back every control's state.
class THeadlessForm : public IForm {
public:
    explicit THeadlessForm(const TFormLayout& layout);

    // What an administrator does, each followed by the idle update as in the real loop. A click
    // on a disabled or hidden control does nothing.
    void Click(const std::string& control);
    void Type(const std::string& control, const std::string& text);
    void Select(const std::string& control, int index);
    void SendRegisteredMessage(std::uint32_t message);
    // Runs the idle update, as the real loop does after each batch of events.
    void Idle();

    bool Shown = false;
    bool Closed = false;
    std::string FolderChoice; // the folder dialog's answer; empty cancels
    std::string LastFolderPrompt;
    const TFormLayout& Layout() const { return FormLayout; }

    TWindowHandle Handle() const override { return 0x4711; }
    void SetCaption(const std::string& control, const std::string& caption) override;
    std::string Caption(const std::string& control) const override;
    void SetText(const std::string& control, const std::string& text) override;
    std::string Text(const std::string& control) const override;
    void SetEnabled(const std::string& control, bool enabled) override;
    bool Enabled(const std::string& control) const override;
    void SetVisible(const std::string& control, bool visible) override;
    bool Visible(const std::string& control) const override;
    void SetChecked(const std::string& control, bool checked) override;
    bool Checked(const std::string& control) const override;
    void SetReadOnly(const std::string& control, bool readOnly) override;
    bool ReadOnly(const std::string& control) const override;
    int Value(const std::string& control) const override;
    void SetValue(const std::string& control, int value) override;
    void ClearItems(const std::string& control) override;
    void AddItem(const std::string& control, const std::string& item) override;
    std::vector<std::string> Items(const std::string& control) const override;
    void SetItemIndex(const std::string& control, int index) override;
    int ItemIndex(const std::string& control) const override;
    void SetFocus(const std::string& control) override;
    void SelectAll(const std::string& control) override;
    std::string Focused() const override { return FocusedControl; }
    std::string Selected() const { return SelectedControl; }
    void SetActivePage(const std::string& page) override;
    std::string ActivePage() const override { return Page; }
    void OnClick(const std::string& control, std::function<void()> handler) override;
    void OnIdle(std::function<void()> handler) override { IdleHandler = std::move(handler); }
    void OnMessage(std::uint32_t message, std::function<void()> handler) override;
    void OnCloseQuery(std::function<bool()> handler) override { CloseQuery = std::move(handler); }
    bool BrowseForFolder(const std::string& initial, std::string& chosen) override;
    void Run(std::function<void()> onShow) override;
    void Close() override;
    // A close from the title bar: asks first.
    void RequestClose();

private:
    struct TState {
        TControlKind Kind;
        std::string Parent;
        std::string Caption;
        std::string Text;
        bool Enabled = true;
        bool Visible = true;
        bool Checked = false;
        bool ReadOnly = false;
        std::vector<std::string> Items;
        int ItemIndex = -1;
        int Minimum = 0, Maximum = 0;
    };
    TFormLayout FormLayout;
    std::string FormCaption;
    std::map<std::string, TState> Controls;
    std::map<std::string, std::string> Labels; // "<edit>.EditLabel" -> text
    std::map<std::string, std::function<void()>> ClickHandlers;
    std::map<std::uint32_t, std::function<void()>> MessageHandlers;
    std::function<void()> IdleHandler;
    std::function<bool()> CloseQuery;
    std::string FocusedControl;
    std::string SelectedControl;
    std::string Page;

    TState& At(const std::string& control);
    const TState& At(const std::string& control) const;
};

// Platform code only: dialog windows made from a control table.
#pragma once

#include "Win32Api.h"
#include "platform/Form.h"

#include <cstddef>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

using TOwnedWindow = TWin32Handle<HWND, ::DestroyWindow>;
using TOwnedFont = TWin32Handle<HFONT, ::DeleteObject>;
using TOwnedBrush = TWin32Handle<HBRUSH, ::DeleteObject>;
using TOwnedPen = TWin32Handle<HPEN, ::DeleteObject>;

class TWin32Form : public IForm {
public:
    explicit TWin32Form(const TFormLayout& layout);
    ~TWin32Form() override;
    TWin32Form(const TWin32Form&) = delete;
    TWin32Form& operator=(const TWin32Form&) = delete;

    TWindowHandle Handle() const override;

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
    std::string Focused() const override;
    void SetActivePage(const std::string& page) override;
    std::string ActivePage() const override;

    void OnClick(const std::string& control, std::function<void()> handler) override;
    void OnIdle(std::function<void()> handler) override;
    void OnMessage(std::uint32_t message, std::function<void()> handler) override;
    void OnCloseQuery(std::function<bool()> handler) override;

    bool BrowseForFolder(const std::string& initial, std::string& chosen) override;

    void Run(std::function<void()> onShow) override;
    void Close() override;

private:
    static constexpr std::size_t None = static_cast<std::size_t>(-1);

    struct TControl {
        TControlLayout Layout;
        HWND Window = nullptr; // a child of the form's window, destroyed with it
        HWND Arrows = nullptr; // the up-down buddy of a spin field
        std::size_t Parent = None;
        std::size_t Label = None; // an edit's label
        int Tab = -1;             // a page's index in the tab control
        bool Shown = true;        // own visibility; the active page decides as well
        bool WasChecked = false;  // a radio button's state before the latest click
        std::function<void()> Click;
    };

    // The fonts outlive the window whose controls use them.
    TOwnedFont Font;
    TOwnedFont BoldFont;
    int Dpi = 96;
    int LabelHeight = 13;
    int NextSpecRow = 0; // controls are numbered by their row in the table
    int Banner = 0;      // scaled height of the banner
    void PaintBanner(HDC dc) const;
    std::vector<TControl> Controls;
    std::map<std::string, std::size_t> ByName;
    std::map<int, std::size_t> ById;
    std::vector<std::size_t> Pages;
    HWND Tabs = nullptr;
    HWND SavedFocus = nullptr;
    std::function<void()> Idle;
    std::map<UINT, std::function<void()>> Messages;
    std::function<bool()> CloseQuery;
    std::exception_ptr Failure; // thrown by a handler inside the window procedure
    TOwnedWindow Window;

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    int Scale(int pixels) const;
    void CreateControl(const TControlLayout& layout);
    HWND CreateChild(DWORD exStyle, const char* windowClass, const std::string& text, DWORD style,
                     int left, int top, int width, int height, int id, HFONT font);
    void FitLabel(const TControl& label);
    std::size_t IndexOf(const std::string& name) const;
    const TControl& Find(const std::string& name) const;
    TControl& Find(const std::string& name);
    const TControl& FindKind(const std::string& name, std::initializer_list<TControlKind> kinds,
                             const char* what) const;
    bool EffectivelyShown(std::size_t index) const;
    void ApplyVisibility();
    void CheckRadio(std::size_t index);
    void UpdateRadioTabStops(const std::string& parent);
    void Clicked(std::size_t index);
    void RunHandler(const std::function<void()>& handler);
};

std::unique_ptr<IForm> CreateWin32Form(const TFormLayout& layout);

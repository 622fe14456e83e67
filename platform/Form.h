#pragma once

#include "Gui.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

enum class TControlKind {
    Page, // a page of the tab control
    GroupBox,
    Label,
    Button,
    Edit,        // one-line text field; its label, if any, is the control "<name>.EditLabel"
    SpinEdit,    // whole numbers within Minimum..Maximum
    RadioButton, // radio buttons of one group box exclude each other
    ComboBox,    // drop-down list without typing
    Memo,        // read-only multi-line text with scroll bars
};

namespace ctl {
inline constexpr unsigned Password = 1; // every character shown as "*"
inline constexpr unsigned ReadOnly = 2;
inline constexpr unsigned Disabled = 4;
inline constexpr unsigned Hidden = 8;
inline constexpr unsigned Checked = 16;
inline constexpr unsigned Default = 32; // Enter activates it
inline constexpr unsigned Cancel = 64;  // Escape activates it
inline constexpr unsigned Bold = 128;
inline constexpr unsigned WordWrap = 256;
inline constexpr unsigned TabStop = 512;
} // namespace ctl

// One control of a window: its name, kind, place and designed state. Controls are created in
// the order of the table, which is also the keyboard order.
struct TControlLayout {
    std::string Name;
    TControlKind Kind;
    std::string Parent; // a page or group box; empty for the window itself
    int Left, Top, Width, Height;
    std::string Caption; // designed caption, label text or content
    unsigned Flags = 0;
    int Minimum = 0, Maximum = 0; // spin fields
    std::string EditLabel;        // edits: the label above the field
};

struct TFormLayout {
    std::string Name;
    std::string Caption;
    int ClientWidth, ClientHeight;
    std::string FontName;
    int FontPoints;
    std::vector<TControlLayout> Controls;
    // A picture banner along the top edge, this many pixels high; 0 for none.
    int BannerHeight = 0;
};

// A dialog window whose controls the portable code reaches by name.
class IForm {
public:
    virtual ~IForm() = default;

    virtual TWindowHandle Handle() const = 0;

    // Caption of a control, a label ("<edit>.EditLabel"), a page, or of the window ("").
    virtual void SetCaption(const std::string& control, const std::string& caption) = 0;
    virtual std::string Caption(const std::string& control) const = 0;
    // Text of an edit, memo or spin field; for a drop-down the selected item's text.
    virtual void SetText(const std::string& control, const std::string& text) = 0;
    virtual std::string Text(const std::string& control) const = 0;
    virtual void SetEnabled(const std::string& control, bool enabled) = 0;
    virtual bool Enabled(const std::string& control) const = 0;
    virtual void SetVisible(const std::string& control, bool visible) = 0;
    virtual bool Visible(const std::string& control) const = 0;
    // Checking a radio button unchecks the others of its group and runs its click handler, as
    // a click does; checking the checked one runs nothing.
    virtual void SetChecked(const std::string& control, bool checked) = 0;
    virtual bool Checked(const std::string& control) const = 0;
    // Read-only edits have the grey of buttons; editable ones the window colour.
    virtual void SetReadOnly(const std::string& control, bool readOnly) = 0;
    virtual bool ReadOnly(const std::string& control) const = 0;
    // Spin fields: a text that is not a whole number reads as 0.
    virtual int Value(const std::string& control) const = 0;
    virtual void SetValue(const std::string& control, int value) = 0;

    // Drop-downs.
    virtual void ClearItems(const std::string& control) = 0;
    virtual void AddItem(const std::string& control, const std::string& item) = 0;
    virtual std::vector<std::string> Items(const std::string& control) const = 0;
    virtual void SetItemIndex(const std::string& control, int index) = 0; // -1: none
    virtual int ItemIndex(const std::string& control) const = 0;

    virtual void SetFocus(const std::string& control) = 0;
    virtual void SelectAll(const std::string& control) = 0;
    virtual std::string Focused() const = 0;
    virtual void SetActivePage(const std::string& page) = 0;
    virtual std::string ActivePage() const = 0;

    // Handlers: clicks of buttons and radio buttons; the idle update after each batch of events;
    // the window's registered messages; a close request (false keeps the window open).
    virtual void OnClick(const std::string& control, std::function<void()> handler) = 0;
    virtual void OnIdle(std::function<void()> handler) = 0;
    virtual void OnMessage(std::uint32_t message, std::function<void()> handler) = 0;
    virtual void OnCloseQuery(std::function<bool()> handler) = 0;

    // The folder dialog: preselects and shows as prompt `initial`; false when cancelled.
    virtual bool BrowseForFolder(const std::string& initial, std::string& chosen) = 0;

    // Shows the window, runs `onShow` once, and processes events until the window is closed.
    virtual void Run(std::function<void()> onShow) = 0;
    virtual void Close() = 0;
};

// Platform code only: dialog windows made from a control table.
#include "Win32Form.h"

#include "platform/QelError.h"

#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>
#include <uxtheme.h>

#include <algorithm>
#include <charconv>
#include <utility>

namespace {
const char* const FormClass = "VELKForm";
constexpr int FirstControlId = 1000;

using TIdList = TWin32Handle<LPITEMIDLIST, ::CoTaskMemFree>;

// The new folder dialog style needs COM in this thread.
class TComApartment {
public:
    TComApartment() : Result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~TComApartment() {
        if (SUCCEEDED(Result)) CoUninitialize();
    }
    TComApartment(const TComApartment&) = delete;
    TComApartment& operator=(const TComApartment&) = delete;

private:
    HRESULT Result;
};

// A device context borrowed from a window, or from the screen for none, and given back.
class TWindowDc {
public:
    explicit TWindowDc(HWND window) : Window(window), Dc(GetDC(window)) {}
    ~TWindowDc() {
        if (Dc) ReleaseDC(Window, Dc);
    }
    TWindowDc(const TWindowDc&) = delete;
    TWindowDc& operator=(const TWindowDc&) = delete;
    HDC Get() const { return Dc; }

private:
    HWND Window;
    HDC Dc;
};

// The size of a text in a font, as a label of that font needs it.
SIZE TextSize(HFONT font, const std::string& text) {
    const TWindowDc screen(nullptr);
    HGDIOBJ previous = SelectObject(screen.Get(), font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(screen.Get(), &metrics);
    SIZE size{};
    GetTextExtentPoint32A(screen.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(screen.Get(), previous);
    return {size.cx, metrics.tmHeight};
}

void RegisterFormClass(WNDPROC procedure) {
    static const bool registered = [procedure] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = FormClass;
        return RegisterClassA(&windowClass) != 0;
    }();
    if (!registered) throw EQelError("The form window class could not be registered.");
}

std::string WindowText(HWND window) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::string ComboItem(HWND combo, int index) {
    const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT copied = SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == CB_ERR ? 0 : static_cast<std::size_t>(copied));
    return text;
}

// A whole decimal number filling the text; anything else reads as 0.
int WholeNumber(const std::string& text) {
    int value = 0;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end && !text.empty() ? value : 0;
}

int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED) SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}

bool IsEditKind(TControlKind kind) {
    return kind == TControlKind::Edit || kind == TControlKind::SpinEdit;
}
} // namespace

TWin32Form::TWin32Form(const TFormLayout& layout) {
    RegisterFormClass(WindowProc);
    Dpi = GetDeviceCaps(TWindowDc(nullptr).Get(), LOGPIXELSY);
    const int height = -MulDiv(layout.FontPoints, Dpi, 72);
    const auto makeFont = [&](int weight) {
        return TOwnedFont(CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                      DEFAULT_PITCH | FF_DONTCARE, layout.FontName.c_str()));
    };
    Font = makeFont(FW_NORMAL);
    BoldFont = makeFont(FW_BOLD);
    if (!Font || !BoldFont) throw EQelError("The font " + layout.FontName + " could not be made.");
    LabelHeight = TextSize(Font.get(), "").cy;
    Banner = Scale(layout.BannerHeight);

    // Like a dialog, the window paints its background under its children: a group box paints only
    // its frame.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT frame{0, 0, Scale(layout.ClientWidth), Scale(layout.ClientHeight)};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int width = frame.right - frame.left;
    const int windowHeight = frame.bottom - frame.top;
    Window.reset(CreateWindowExA(exStyle, FormClass, layout.Caption.c_str(), style,
                                 (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                                 (GetSystemMetrics(SM_CYSCREEN) - windowHeight) / 2, width,
                                 windowHeight, nullptr, nullptr, GetModuleHandleA(nullptr), this));
    if (!Window) throw EQelError("The window " + layout.Name + " could not be created.");

    for (const TControlLayout& control : layout.Controls)
        CreateControl(control);
    for (const TControl& control : Controls)
        if (control.Layout.Kind == TControlKind::RadioButton)
            UpdateRadioTabStops(control.Layout.Parent);

    // Containers lie beneath their contents, so that they never paint over them.
    for (const TControl& control : Controls)
        if (control.Layout.Kind == TControlKind::GroupBox)
            SetWindowPos(control.Window, HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (Tabs) SetWindowPos(Tabs, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ApplyVisibility();
}

namespace {
COLORREF Blend(COLORREF from, COLORREF to, int step, int steps) {
    const auto mix = [&](int a, int b) { return a + (b - a) * step / (steps > 1 ? steps - 1 : 1); };
    return RGB(mix(GetRValue(from), GetRValue(to)), mix(GetGValue(from), GetGValue(to)),
               mix(GetBValue(from), GetBValue(to)));
}

void FillGradient(HDC dc, const RECT& area, COLORREF from, COLORREF to) {
    const int width = area.right - area.left;
    for (int x = 0; x < width; ++x) {
        const TOwnedBrush brush(CreateSolidBrush(Blend(from, to, x, width)));
        const RECT column{area.left + x, area.top, area.left + x + 1, area.bottom};
        FillRect(dc, &column, brush.get());
    }
}
} // namespace

// The banner's four pictures, drawn: the product's mark at the left, a fade next to it, a calm
// band stretched over the middle, and a probe's signal at the right.
void TWin32Form::PaintBanner(HDC dc) const {
    RECT client{};
    GetClientRect(Window.get(), &client);
    const int height = Banner;
    const int left = Scale(200), next = Scale(194), right = Scale(194);
    const COLORREF navy = RGB(16, 42, 84), teal = RGB(0, 110, 130), light = RGB(120, 190, 200);
    const RECT mark{0, 0, left, height};
    const RECT fade{left, 0, left + next, height};
    const RECT band{left + next, 0, client.right - right, height};
    const RECT signal{client.right - right, 0, client.right, height};
    {
        const TOwnedBrush brush(CreateSolidBrush(navy));
        FillRect(dc, &mark, brush.get());
    }
    FillGradient(dc, fade, navy, teal);
    {
        const TOwnedBrush brush(CreateSolidBrush(teal));
        FillRect(dc, &band, brush.get());
    }
    FillGradient(dc, signal, teal, light);
    // The probe's signal: rings around a point near the right edge.
    const TOwnedPen pen(CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
    const HGDIOBJ oldPen = SelectObject(dc, pen.get());
    const HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    const int cx = client.right - Scale(30), cy = height / 2;
    for (int ring = 1; ring <= 3; ++ring) {
        const int r = Scale(5 * ring);
        Ellipse(dc, cx - r, cy - r, cx + r, cy + r);
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    // The mark: the product's short name.
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    const HGDIOBJ oldFont = SelectObject(dc, BoldFont.get());
    RECT text = mark;
    text.left += Scale(12);
    DrawTextA(dc, "VELK Network Monitor", -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    SelectObject(dc, oldFont);
}

TWin32Form::~TWin32Form() {
    Window.reset();
}

int TWin32Form::Scale(int pixels) const {
    return MulDiv(pixels, Dpi, 96);
}

HWND TWin32Form::CreateChild(DWORD exStyle, const char* windowClass, const std::string& text,
                             DWORD style, int left, int top, int width, int height, int id,
                             HFONT font) {
    HWND child =
        CreateWindowExA(exStyle, windowClass, text.c_str(), WS_CHILD | style, left, top, width,
                        height, Window.get(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                        GetModuleHandleA(nullptr), nullptr);
    if (!child)
        throw EQelError(std::string("A control of class ") + windowClass +
                        " could not be created.");
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

void TWin32Form::CreateControl(const TControlLayout& layout) {
    if (ByName.count(layout.Name))
        throw EQelError("The control " + layout.Name + " is made twice.");
    TControl control;
    control.Layout = layout;
    control.Shown = !(layout.Flags & ctl::Hidden);
    control.WasChecked = (layout.Flags & ctl::Checked) != 0;
    if (!layout.Parent.empty()) {
        control.Parent = IndexOf(layout.Parent);
        const TControlKind parentKind = Controls[control.Parent].Layout.Kind;
        if (parentKind != TControlKind::Page && parentKind != TControlKind::GroupBox)
            throw EQelError("The control " + layout.Name + " lies in " + layout.Parent +
                            ", which is neither a page nor a group box.");
    }
    const std::size_t index = Controls.size();
    // Numbered by table row, so that automation from outside finds a control by its row; an
    // edit's label takes the row's number plus 1000, a spin field's arrows plus 2000.
    int id = FirstControlId + NextSpecRow++;
    if (layout.Kind == TControlKind::Button && (layout.Flags & ctl::Default) && !ById.count(IDOK))
        id = IDOK;
    if (layout.Kind == TControlKind::Button && (layout.Flags & ctl::Cancel) &&
        !ById.count(IDCANCEL))
        id = IDCANCEL;

    // Radio buttons of one parent that follow each other form one group of the dialog manager.
    const bool continuesRadioGroup = layout.Kind == TControlKind::RadioButton &&
                                     !Controls.empty() &&
                                     Controls.back().Layout.Kind == TControlKind::RadioButton &&
                                     Controls.back().Layout.Parent == layout.Parent;
    DWORD common = continuesRadioGroup ? 0 : WS_GROUP;
    if (layout.Flags & ctl::Disabled) common |= WS_DISABLED;
    if (layout.Flags & ctl::TabStop) common |= WS_TABSTOP;
    HFONT font = (layout.Flags & ctl::Bold) ? BoldFont.get() : Font.get();
    const int left = Scale(layout.Left), top = Scale(layout.Top);
    const int width = Scale(layout.Width), height = Scale(layout.Height);

    switch (layout.Kind) {
    case TControlKind::Page: {
        if (!Tabs) {
            Tabs = CreateChild(0, WC_TABCONTROLA, "", common | WS_VISIBLE | WS_CLIPSIBLINGS, left,
                               top, width, height, id, font);
            // The pages' controls stand on the window, not on the tab: a themed tab's white
            // body would leave them in grey boxes.
            SetWindowTheme(Tabs, L" ", L" "); // no such theme class: classic drawing
        }
        control.Tab = static_cast<int>(Pages.size());
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        std::string caption = layout.Caption;
        item.pszText = caption.data();
        SendMessageA(Tabs, TCM_INSERTITEMA, static_cast<WPARAM>(control.Tab),
                     reinterpret_cast<LPARAM>(&item));
        Pages.push_back(index);
        break;
    }
    case TControlKind::GroupBox:
        control.Window = CreateChild(0, "BUTTON", layout.Caption, common | BS_GROUPBOX, left, top,
                                     width, height, id, font);
        break;
    case TControlKind::Label:
        control.Window =
            CreateChild(0, "STATIC", layout.Caption,
                        common | ((layout.Flags & ctl::WordWrap) ? SS_LEFT : SS_LEFTNOWORDWRAP),
                        left, top, width, height, id, font);
        break;
    case TControlKind::Button:
        control.Window =
            CreateChild(0, "BUTTON", layout.Caption,
                        common | WS_TABSTOP |
                            ((layout.Flags & ctl::Default) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
                        left, top, width, height, id, font);
        break;
    case TControlKind::Edit: {
        // The label comes first, as in a dialog template, so that its mnemonic reaches the edit.
        TControl labelControl;
        labelControl.Layout = layout;
        labelControl.Layout.Name = layout.Name + ".EditLabel";
        labelControl.Layout.Kind = TControlKind::Label;
        labelControl.Layout.Caption = layout.EditLabel;
        labelControl.Layout.Flags = layout.Flags & (ctl::Hidden | ctl::Disabled);
        labelControl.Parent = control.Parent;
        labelControl.Shown = control.Shown;
        labelControl.Window = CreateChild(
            0, "STATIC", layout.EditLabel,
            WS_GROUP | SS_LEFTNOWORDWRAP | (layout.Flags & ctl::Disabled ? WS_DISABLED : 0), left,
            top - LabelHeight - Scale(3), width, LabelHeight, id + 1000, Font.get());
        control.Window = CreateChild(WS_EX_CLIENTEDGE, "EDIT", layout.Caption,
                                     common | WS_TABSTOP | ES_AUTOHSCROLL |
                                         ((layout.Flags & ctl::Password) ? ES_PASSWORD : 0) |
                                         ((layout.Flags & ctl::ReadOnly) ? ES_READONLY : 0),
                                     left, top, width, height, id, font);
        if (layout.Flags & ctl::Password) SendMessageA(control.Window, EM_SETPASSWORDCHAR, '*', 0);
        const std::size_t label = index + 1;
        control.Label = label;
        Controls.push_back(std::move(control));
        ByName[layout.Name] = index;
        ById[id] = index;
        Controls.push_back(std::move(labelControl));
        ByName[layout.Name + ".EditLabel"] = label;
        FitLabel(Controls[label]);
        return;
    }
    case TControlKind::SpinEdit: {
        control.Window = CreateChild(WS_EX_CLIENTEDGE, "EDIT", "",
                                     common | WS_TABSTOP | ES_AUTOHSCROLL |
                                         ((layout.Flags & ctl::ReadOnly) ? ES_READONLY : 0),
                                     left, top, width, height, id, font);
        control.Arrows =
            CreateChild(0, UPDOWN_CLASSA, "",
                        (layout.Flags & ctl::Disabled ? WS_DISABLED : 0) | UDS_ALIGNRIGHT |
                            UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                        0, 0, 0, 0, id + 2000, font);
        SendMessageA(control.Arrows, UDM_SETBUDDY, reinterpret_cast<WPARAM>(control.Window), 0);
        SendMessageA(control.Arrows, UDM_SETRANGE32, static_cast<WPARAM>(layout.Minimum),
                     layout.Maximum);
        SetWindowTextA(control.Window, layout.Caption.c_str());
        break;
    }
    case TControlKind::RadioButton:
        control.Window = CreateChild(0, "BUTTON", layout.Caption, common | BS_AUTORADIOBUTTON, left,
                                     top, width, height, id, font);
        SendMessageA(control.Window, BM_SETCHECK, control.WasChecked ? BST_CHECKED : BST_UNCHECKED,
                     0);
        break;
    case TControlKind::ComboBox:
        // The height of a drop-down includes its open list.
        control.Window =
            CreateChild(0, "COMBOBOX", "", common | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                        left, top, width, height + Scale(160), id, font);
        break;
    case TControlKind::Memo:
        control.Window = CreateChild(WS_EX_CLIENTEDGE, "EDIT", "",
                                     common | WS_TABSTOP | ES_MULTILINE | ES_READONLY |
                                         ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL,
                                     left, top, width, height, id, font);
        // A multi-line edit takes only 32,767 characters through its own editing messages
        // (a log appended piece by piece) unless told otherwise.
        SendMessageA(control.Window, EM_SETLIMITTEXT, 0, 0);
        SetWindowTextA(control.Window, layout.Caption.c_str());
        break;
    }
    Controls.push_back(std::move(control));
    ByName[layout.Name] = index;
    if (Controls[index].Window) ById[id] = index;
}

// An edit's label is as wide as its text, like a label that sizes itself.
void TWin32Form::FitLabel(const TControl& label) {
    const SIZE size = TextSize(Font.get(), WindowText(label.Window));
    SetWindowPos(label.Window, nullptr, 0, 0, std::max<int>(size.cx, 1), LabelHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TWindowHandle TWin32Form::Handle() const {
    return reinterpret_cast<TWindowHandle>(Window.get());
}

std::size_t TWin32Form::IndexOf(const std::string& name) const {
    const auto found = ByName.find(name);
    if (found == ByName.end()) throw EQelError("The window has no control named \"" + name + "\".");
    return found->second;
}

const TWin32Form::TControl& TWin32Form::Find(const std::string& name) const {
    return Controls[IndexOf(name)];
}

TWin32Form::TControl& TWin32Form::Find(const std::string& name) {
    return Controls[IndexOf(name)];
}

const TWin32Form::TControl& TWin32Form::FindKind(const std::string& name,
                                                 std::initializer_list<TControlKind> kinds,
                                                 const char* what) const {
    const TControl& control = Find(name);
    if (std::find(kinds.begin(), kinds.end(), control.Layout.Kind) == kinds.end())
        throw EQelError("The control \"" + name + "\" is not " + what + ".");
    return control;
}

void TWin32Form::SetCaption(const std::string& control, const std::string& caption) {
    if (control.empty()) {
        SetWindowTextA(Window.get(), caption.c_str());
        return;
    }
    const TControl& found = Find(control);
    if (found.Layout.Kind == TControlKind::Page) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        std::string text = caption;
        item.pszText = text.data();
        SendMessageA(Tabs, TCM_SETITEMA, static_cast<WPARAM>(found.Tab),
                     reinterpret_cast<LPARAM>(&item));
        return;
    }
    SetWindowTextA(found.Window, caption.c_str());
    if (control.ends_with(".EditLabel")) FitLabel(found);
}

std::string TWin32Form::Caption(const std::string& control) const {
    if (control.empty()) return WindowText(Window.get());
    const TControl& found = Find(control);
    if (found.Layout.Kind == TControlKind::Page) {
        char buffer[256] = {};
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = buffer;
        item.cchTextMax = sizeof buffer;
        SendMessageA(Tabs, TCM_GETITEMA, static_cast<WPARAM>(found.Tab),
                     reinterpret_cast<LPARAM>(&item));
        return item.pszText ? item.pszText : "";
    }
    return WindowText(found.Window);
}

void TWin32Form::SetText(const std::string& control, const std::string& text) {
    const TControl& found = Find(control);
    if (found.Layout.Kind == TControlKind::ComboBox) {
        const std::vector<std::string> items = Items(control);
        const auto match = std::find(items.begin(), items.end(), text);
        SetItemIndex(control, match == items.end() ? -1 : static_cast<int>(match - items.begin()));
        return;
    }
    if (found.Layout.Kind == TControlKind::Page) throw EQelError("A page has no text: " + control);
    if (found.Layout.Kind == TControlKind::Memo) {
        // The edit control breaks lines only at CR LF; a memo shows a lone CR or LF as a break.
        std::string lines;
        lines.reserve(text.size() + text.size() / 16);
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' || text[i] == '\n') {
                lines += "\r\n";
                if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            } else {
                lines += text[i];
            }
        }
        SetWindowTextA(found.Window, lines.c_str());
        return;
    }
    SetWindowTextA(found.Window, text.c_str());
}

std::string TWin32Form::Text(const std::string& control) const {
    const TControl& found = Find(control);
    if (found.Layout.Kind == TControlKind::ComboBox) {
        const int index = ItemIndex(control);
        return index < 0 ? std::string() : ComboItem(found.Window, index);
    }
    if (found.Layout.Kind == TControlKind::Page) throw EQelError("A page has no text: " + control);
    return WindowText(found.Window);
}

void TWin32Form::SetEnabled(const std::string& control, bool enabled) {
    const TControl& found = Find(control);
    if (!found.Window) throw EQelError("A page cannot be disabled: " + control);
    EnableWindow(found.Window, enabled);
    if (found.Arrows) EnableWindow(found.Arrows, enabled);
    if (found.Label != None) EnableWindow(Controls[found.Label].Window, enabled);
}

bool TWin32Form::Enabled(const std::string& control) const {
    const TControl& found = Find(control);
    if (!found.Window) throw EQelError("A page cannot be disabled: " + control);
    return IsWindowEnabled(found.Window) != FALSE;
}

void TWin32Form::SetVisible(const std::string& control, bool visible) {
    TControl& found = Find(control);
    found.Shown = visible;
    if (found.Label != None) Controls[found.Label].Shown = visible;
    ApplyVisibility();
}

bool TWin32Form::Visible(const std::string& control) const {
    return Find(control).Shown;
}

void TWin32Form::SetChecked(const std::string& control, bool checked) {
    const std::size_t index = IndexOf(control);
    const TControl& found = FindKind(control, {TControlKind::RadioButton}, "a radio button");
    if (!checked) {
        SendMessageA(found.Window, BM_SETCHECK, BST_UNCHECKED, 0);
        Controls[index].WasChecked = false;
        UpdateRadioTabStops(found.Layout.Parent);
        return;
    }
    if (Checked(control)) return;
    CheckRadio(index);
    RunHandler(found.Click);
}

bool TWin32Form::Checked(const std::string& control) const {
    const TControl& found = FindKind(control, {TControlKind::RadioButton}, "a radio button");
    return SendMessageA(found.Window, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TWin32Form::SetReadOnly(const std::string& control, bool readOnly) {
    const TControl& found = FindKind(
        control, {TControlKind::Edit, TControlKind::SpinEdit, TControlKind::Memo}, "an edit");
    SendMessageA(found.Window, EM_SETREADONLY, readOnly, 0);
    InvalidateRect(found.Window, nullptr, TRUE); // the colour follows
}

bool TWin32Form::ReadOnly(const std::string& control) const {
    const TControl& found = FindKind(
        control, {TControlKind::Edit, TControlKind::SpinEdit, TControlKind::Memo}, "an edit");
    return (GetWindowLongA(found.Window, GWL_STYLE) & ES_READONLY) != 0;
}

int TWin32Form::Value(const std::string& control) const {
    const TControl& found = FindKind(control, {TControlKind::SpinEdit}, "a spin field");
    return WholeNumber(WindowText(found.Window));
}

void TWin32Form::SetValue(const std::string& control, int value) {
    const TControl& found = FindKind(control, {TControlKind::SpinEdit}, "a spin field");
    if (found.Layout.Minimum < found.Layout.Maximum)
        value = std::clamp(value, found.Layout.Minimum, found.Layout.Maximum);
    SetWindowTextA(found.Window, std::to_string(value).c_str());
}

void TWin32Form::ClearItems(const std::string& control) {
    SendMessageA(FindKind(control, {TControlKind::ComboBox}, "a drop-down").Window, CB_RESETCONTENT,
                 0, 0);
}

void TWin32Form::AddItem(const std::string& control, const std::string& item) {
    SendMessageA(FindKind(control, {TControlKind::ComboBox}, "a drop-down").Window, CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(item.c_str()));
}

std::vector<std::string> TWin32Form::Items(const std::string& control) const {
    HWND combo = FindKind(control, {TControlKind::ComboBox}, "a drop-down").Window;
    std::vector<std::string> items;
    const LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i)
        items.push_back(ComboItem(combo, i));
    return items;
}

void TWin32Form::SetItemIndex(const std::string& control, int index) {
    SendMessageA(FindKind(control, {TControlKind::ComboBox}, "a drop-down").Window, CB_SETCURSEL,
                 static_cast<WPARAM>(index), 0);
}

int TWin32Form::ItemIndex(const std::string& control) const {
    const LRESULT index = SendMessageA(
        FindKind(control, {TControlKind::ComboBox}, "a drop-down").Window, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

void TWin32Form::SetFocus(const std::string& control) {
    const TControl& found = Find(control);
    ::SetFocus(found.Window ? found.Window : Tabs);
}

void TWin32Form::SelectAll(const std::string& control) {
    const TControl& found = FindKind(
        control, {TControlKind::Edit, TControlKind::SpinEdit, TControlKind::Memo}, "an edit");
    SendMessageA(found.Window, EM_SETSEL, 0, -1);
}

std::string TWin32Form::Focused() const {
    HWND focus = GetFocus();
    if (!focus) return {};
    for (const TControl& control : Controls)
        if (control.Window == focus || control.Arrows == focus) return control.Layout.Name;
    return {};
}

void TWin32Form::SetActivePage(const std::string& page) {
    const TControl& found = FindKind(page, {TControlKind::Page}, "a page");
    SendMessageA(Tabs, TCM_SETCURSEL, static_cast<WPARAM>(found.Tab), 0);
    ApplyVisibility();
}

std::string TWin32Form::ActivePage() const {
    if (!Tabs) return {};
    const LRESULT tab = SendMessageA(Tabs, TCM_GETCURSEL, 0, 0);
    if (tab < 0 || static_cast<std::size_t>(tab) >= Pages.size()) return {};
    return Controls[Pages[static_cast<std::size_t>(tab)]].Layout.Name;
}

bool TWin32Form::EffectivelyShown(std::size_t index) const {
    const LRESULT activeTab = Tabs ? SendMessageA(Tabs, TCM_GETCURSEL, 0, 0) : -1;
    for (std::size_t at = index; at != None; at = Controls[at].Parent) {
        const TControl& control = Controls[at];
        if (!control.Shown) return false;
        if (control.Layout.Kind == TControlKind::Page && control.Tab != activeTab) return false;
    }
    return true;
}

void TWin32Form::ApplyVisibility() {
    for (std::size_t i = 0; i < Controls.size(); ++i) {
        const int show = EffectivelyShown(i) ? SW_SHOWNA : SW_HIDE;
        if (Controls[i].Window) ShowWindow(Controls[i].Window, show);
        if (Controls[i].Arrows) ShowWindow(Controls[i].Arrows, show);
    }
}

void TWin32Form::OnClick(const std::string& control, std::function<void()> handler) {
    const std::size_t index = IndexOf(control);
    FindKind(control, {TControlKind::Button, TControlKind::RadioButton}, "clickable");
    Controls[index].Click = std::move(handler);
}

void TWin32Form::OnIdle(std::function<void()> handler) {
    Idle = std::move(handler);
}

void TWin32Form::OnMessage(std::uint32_t message, std::function<void()> handler) {
    Messages[message] = std::move(handler);
}

void TWin32Form::OnCloseQuery(std::function<bool()> handler) {
    CloseQuery = std::move(handler);
}

void TWin32Form::CheckRadio(std::size_t index) {
    const std::string& parent = Controls[index].Layout.Parent;
    for (std::size_t i = 0; i < Controls.size(); ++i) {
        TControl& sibling = Controls[i];
        if (sibling.Layout.Kind != TControlKind::RadioButton || sibling.Layout.Parent != parent)
            continue;
        sibling.WasChecked = i == index;
        SendMessageA(sibling.Window, BM_SETCHECK, i == index ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    UpdateRadioTabStops(parent);
}

// As in a dialog, Tab reaches a group of radio buttons at its checked one (or its first, when
// none is checked): a radio button that receives the focus unchecked reports a click.
void TWin32Form::UpdateRadioTabStops(const std::string& parent) {
    std::vector<HWND> group;
    bool anyChecked = false;
    for (const TControl& control : Controls) {
        if (control.Layout.Kind != TControlKind::RadioButton || control.Layout.Parent != parent)
            continue;
        group.push_back(control.Window);
        anyChecked = anyChecked || control.WasChecked;
    }
    for (std::size_t i = 0; i < group.size(); ++i) {
        const bool stop =
            anyChecked ? SendMessageA(group[i], BM_GETCHECK, 0, 0) == BST_CHECKED : i == 0;
        const LONG style = GetWindowLongA(group[i], GWL_STYLE);
        SetWindowLongA(group[i], GWL_STYLE, stop ? style | WS_TABSTOP : style & ~WS_TABSTOP);
    }
}

// A click through the mouse, the keyboard or the dialog manager's Enter and Escape.
void TWin32Form::Clicked(std::size_t index) {
    const TControl& control = Controls[index];
    if (!IsWindowEnabled(control.Window) || !EffectivelyShown(index)) return;
    if (control.Layout.Kind == TControlKind::RadioButton) {
        if (control.WasChecked) return;
        CheckRadio(index);
    }
    RunHandler(control.Click);
}

void TWin32Form::RunHandler(const std::function<void()>& handler) {
    if (!handler) return;
    const std::function<void()> run = handler; // the handler may replace itself
    run();
}

LRESULT CALLBACK TWin32Form::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* form = reinterpret_cast<TWin32Form*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        // Destroyed by the system, not through the owner: the owner lets go.
        if (form && form->Window.get() == window) (void)form->Window.release();
        return DefWindowProcA(window, message, wParam, lParam);
    }
    if (!form || (form->Window && form->Window.get() != window))
        return DefWindowProcA(window, message, wParam, lParam);
    // Exceptions must not cross the system's frames; Run throws them again.
    try {
        return form->Dispatch(window, message, wParam, lParam);
    } catch (...) {
        form->Failure = std::current_exception();
        return 0;
    }
}

LRESULT TWin32Form::Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (const auto handler = Messages.find(message); handler != Messages.end()) {
        RunHandler(handler->second);
        return 0;
    }
    // Automation from another process: a notification cannot carry its record across
    // processes, so the page comes by number in a registered message of its own.
    static const UINT showPage = RegisterWindowMessageA("VELKForm.ShowPage");
    if (message == showPage) {
        if (wParam < Pages.size()) {
            SendMessageA(Tabs, TCM_SETCURSEL, wParam, 0);
            ApplyVisibility();
        }
        return 0;
    }
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(window, &paint);
        if (Banner > 0) PaintBanner(dc);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) {
            const auto found = ById.find(LOWORD(wParam));
            if (found != ById.end() &&
                (Controls[found->second].Layout.Kind == TControlKind::Button ||
                 Controls[found->second].Layout.Kind == TControlKind::RadioButton))
                Clicked(found->second);
        }
        return 0;
    case DM_GETDEFID:
        return ById.count(IDOK) ? MAKELRESULT(IDOK, DC_HASDEFID) : 0;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom == Tabs && header->code == TCN_SELCHANGE) ApplyVisibility();
        return 0;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
        HWND child = reinterpret_cast<HWND>(lParam);
        for (const TControl& control : Controls) {
            if (control.Window != child) continue;
            // Read-only and disabled fields take the grey of buttons; a memo stays a page of
            // text in the window colour.
            const bool grey =
                IsEditKind(control.Layout.Kind) &&
                ((GetWindowLongA(child, GWL_STYLE) & ES_READONLY) || !IsWindowEnabled(child));
            const bool white =
                IsEditKind(control.Layout.Kind) || control.Layout.Kind == TControlKind::Memo;
            if (!grey && !white) break;
            const int colour = grey ? COLOR_BTNFACE : COLOR_WINDOW;
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetBkColor(dc, GetSysColor(colour));
            SetTextColor(dc,
                         GetSysColor(IsWindowEnabled(child) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(colour));
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    case WM_ACTIVATE:
        // Like a dialog, the window gives the focus back to the control that last had it.
        if (LOWORD(wParam) == WA_INACTIVE) {
            SavedFocus = GetFocus();
        } else if (SavedFocus && IsWindow(SavedFocus) && IsChild(window, SavedFocus)) {
            ::SetFocus(SavedFocus);
            return 0;
        }
        break;
    case WM_CLOSE:
        if (CloseQuery) {
            const std::function<bool()> query = CloseQuery;
            if (!query()) return 0;
        }
        Window.reset();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool TWin32Form::BrowseForFolder(const std::string& initial, std::string& chosen) {
    const TComApartment apartment;
    char displayName[MAX_PATH] = {};
    BROWSEINFOA info{};
    info.hwndOwner = Window.get();
    info.pidlRoot = nullptr; // the desktop
    info.pszDisplayName = displayName;
    info.lpszTitle = initial.c_str();
    info.ulFlags = BIF_NEWDIALOGSTYLE | BIF_STATUSTEXT;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(initial.c_str());
    const TIdList list(SHBrowseForFolderA(&info));
    if (!list) return false;
    char path[MAX_PATH] = {};
    if (!SHGetPathFromIDListA(list.get(), path)) return false;
    chosen = path;
    return true;
}

void TWin32Form::Run(std::function<void()> onShow) {
    if (!Window) throw EQelError("The window has been closed already.");
    ShowWindow(Window.get(), SW_SHOWNORMAL);
    UpdateWindow(Window.get());
    if (HWND first = GetNextDlgTabItem(Window.get(), nullptr, FALSE)) ::SetFocus(first);
    if (onShow) onShow();
    MSG message{};
    while (Window) {
        while (Window && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                // The application is asked to end: no close query.
                Window.reset();
                break;
            }
            if (!IsDialogMessageA(Window.get(), &message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
            if (Failure) std::rethrow_exception(std::exchange(Failure, nullptr));
        }
        if (!Window) break;
        RunHandler(Idle);
        if (Window) WaitMessage();
    }
}

// Asks the close query like the title bar's close button; posted, so that the handler that
// closes finishes with its controls still in place.
void TWin32Form::Close() {
    if (Window) PostMessageA(Window.get(), WM_CLOSE, 0, 0);
}

std::unique_ptr<IForm> CreateWin32Form(const TFormLayout& layout) {
    return std::make_unique<TWin32Form>(layout);
}

#include "UiDriver.h"

#include "app/MainFormLayout.h"
#include "platform/QelError.h"
#include "platform/win32/Win32Api.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

namespace {
// The form numbers its controls in table order; an edit's label follows at +1000.
constexpr int FirstControlId = 1000;

HWND AsWindow(std::uintptr_t handle) {
    return reinterpret_cast<HWND>(handle);
}

std::string WindowText(HWND window) {
    const int length = static_cast<int>(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0));
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(std::strlen(text.c_str()));
    return text;
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}
} // namespace

bool TUiDriver::Attach(unsigned timeoutMs) {
    Layout = MainFormLayout();
    for (unsigned waited = 0; waited <= timeoutMs; waited += 100) {
        if (HWND window = FindWindowA("VELKForm", nullptr); window && IsWindowVisible(window)) {
            Window = reinterpret_cast<std::uintptr_t>(window);
            return true;
        }
        Sleep(100);
    }
    return false;
}

std::uint32_t TUiDriver::ProcessId() const {
    DWORD process = 0;
    GetWindowThreadProcessId(AsWindow(Window), &process);
    return process;
}

const TControlLayout& TUiDriver::SpecOf(const std::string& name) const {
    for (const TControlLayout& control : Layout.Controls)
        if (control.Name == name) return control;
    throw EQelError("No control named '" + name + "'");
}

std::uintptr_t TUiDriver::Control(const std::string& name) const {
    const bool label = name.size() > 10 && name.compare(name.size() - 10, 10, ".EditLabel") == 0;
    const std::string base = label ? name.substr(0, name.size() - 10) : name;
    for (std::size_t i = 0; i < Layout.Controls.size(); ++i)
        if (Layout.Controls[i].Name == base) {
            // The default and cancel buttons carry the dialog manager's numbers.
            int id = FirstControlId + static_cast<int>(i) + (label ? 1000 : 0);
            if (Layout.Controls[i].Flags & ctl::Default) id = IDOK;
            if (Layout.Controls[i].Flags & ctl::Cancel) id = IDCANCEL;
            return reinterpret_cast<std::uintptr_t>(GetDlgItem(AsWindow(Window), id));
        }
    throw EQelError("No control named '" + name + "'");
}

std::string TUiDriver::Caption() const {
    return WindowText(AsWindow(Window));
}

std::string TUiDriver::Text(const std::string& control) const {
    HWND window = AsWindow(Control(control));
    if (!control.ends_with(".EditLabel") && SpecOf(control).Kind == TControlKind::ComboBox) {
        const auto index = SendMessageA(window, CB_GETCURSEL, 0, 0);
        if (index == CB_ERR) return {};
        return Items(control).at(static_cast<std::size_t>(index));
    }
    return WindowText(window);
}

void TUiDriver::SetText(const std::string& control, const std::string& text) {
    HWND window = AsWindow(Control(control));
    SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    // The form learns of typed text as it would from the keyboard.
    SendMessageA(AsWindow(Window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), EN_CHANGE),
                 reinterpret_cast<LPARAM>(window));
    Settle();
}

bool TUiDriver::Checked(const std::string& control) const {
    return SendMessageA(AsWindow(Control(control)), BM_GETCHECK, 0, 0) == BST_CHECKED;
}
bool TUiDriver::Enabled(const std::string& control) const {
    return IsWindowEnabled(AsWindow(Control(control)));
}
bool TUiDriver::Visible(const std::string& control) const {
    return IsWindowVisible(AsWindow(Control(control)));
}
bool TUiDriver::ReadOnly(const std::string& control) const {
    return GetWindowLongA(AsWindow(Control(control)), GWL_STYLE) & ES_READONLY;
}
int TUiDriver::Selected(const std::string& control) const {
    return static_cast<int>(SendMessageA(AsWindow(Control(control)), CB_GETCURSEL, 0, 0));
}

std::vector<std::string> TUiDriver::Items(const std::string& control) const {
    HWND window = AsWindow(Control(control));
    std::vector<std::string> items;
    const auto count = SendMessageA(window, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        // Across processes Wine hands list texts over in the wide form only; the driver turns
        // them back into the tool's code page.
        std::wstring wide(4096, L'\0');
        SendMessageW(window, CB_GETLBTEXT, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(wide.data()));
        char item[4096] = {};
        WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, item, sizeof item, nullptr, nullptr);
        items.push_back(item);
    }
    return items;
}

void TUiDriver::Click(const std::string& control) {
    PostMessageA(AsWindow(Control(control)), BM_CLICK, 0, 0);
}

void TUiDriver::Select(const std::string& control, int index) {
    HWND window = AsWindow(Control(control));
    SendMessageA(window, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(AsWindow(Window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(window));
    Settle();
}

void TUiDriver::ShowPage(const std::string& page) {
    int index = 0;
    for (const TControlLayout& control : Layout.Controls) {
        if (control.Kind != TControlKind::Page) continue;
        if (control.Name == page) {
            SendMessageA(AsWindow(Window), RegisterWindowMessageA("VELKForm.ShowPage"),
                         static_cast<WPARAM>(index), 0);
            Settle();
            return;
        }
        ++index;
    }
    throw EQelError("No page named '" + page + "'");
}

std::string TUiDriver::ActivePage() const {
    HWND tabs = FindWindowExA(AsWindow(Window), nullptr, WC_TABCONTROLA, nullptr);
    const auto index = tabs ? SendMessageA(tabs, TCM_GETCURSEL, 0, 0) : -1;
    int page = 0;
    for (const TControlLayout& control : Layout.Controls)
        if (control.Kind == TControlKind::Page && page++ == index) return control.Name;
    return {};
}

void TUiDriver::SendCloseMessage() {
    PostMessageA(AsWindow(Window), RegisterClipboardFormatA("VELK7PROBEADMIN"), 0, 0);
}

TUiDriver::TBox TUiDriver::Answer(int button, unsigned timeoutMs) {
    // Any process but the driver's own: a second instance of the tool answers with a box too.
    const DWORD self = GetCurrentProcessId();
    for (unsigned waited = 0; waited <= timeoutMs; waited += 50) {
        HWND box = nullptr;
        while ((box = FindWindowExA(nullptr, box, "#32770", nullptr))) {
            DWORD owner = 0;
            GetWindowThreadProcessId(box, &owner);
            if (owner == self || !IsWindowVisible(box)) continue;
            TBox found{WindowText(box), WindowText(GetDlgItem(box, 0xFFFF))};
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
            for (int i = 0; i < 100 && IsWindow(box); ++i)
                Sleep(20);
            Settle();
            return found;
        }
        Sleep(50);
    }
    return {};
}

bool TUiDriver::WaitClosed(unsigned timeoutMs) {
    for (unsigned waited = 0; waited <= timeoutMs; waited += 100) {
        if (!IsWindow(AsWindow(Window))) return true;
        Sleep(100);
    }
    return false;
}

void TUiDriver::Settle() const {
    // A sent message returns once the tool's thread has handled what was queued before it.
    DWORD_PTR result = 0;
    SendMessageTimeoutA(AsWindow(Window), WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
    Sleep(50);
    SendMessageTimeoutA(AsWindow(Window), WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
}

std::string TUiDriver::StateJson() const {
    std::string json = "{\n  \"caption\": " + JsonString(Caption()) +
                       ",\n  \"activePage\": " + JsonString(ActivePage()) + ",\n  \"controls\": [";
    bool first = true;
    for (const TControlLayout& control : Layout.Controls) {
        if (control.Kind == TControlKind::Page) continue;
        HWND window = AsWindow(Control(control.Name));
        json += first ? "\n" : ",\n";
        first = false;
        json += "    {\"name\": " + JsonString(control.Name) +
                ", \"text\": " + JsonString(Text(control.Name)) +
                ", \"enabled\": " + (IsWindowEnabled(window) ? "true" : "false") +
                ", \"visible\": " + (IsWindowVisible(window) ? "true" : "false");
        if (control.Kind == TControlKind::RadioButton)
            json += std::string(", \"checked\": ") + (Checked(control.Name) ? "true" : "false");
        if (control.Kind == TControlKind::Edit || control.Kind == TControlKind::Memo)
            json += std::string(", \"readOnly\": ") + (ReadOnly(control.Name) ? "true" : "false");
        if (control.Kind == TControlKind::ComboBox) {
            json += ", \"selected\": " + std::to_string(Selected(control.Name)) + ", \"items\": [";
            const auto items = Items(control.Name);
            for (std::size_t i = 0; i < items.size(); ++i)
                json += (i ? ", " : "") + JsonString(items[i]);
            json += "]";
        }
        if (!control.EditLabel.empty())
            json += ", \"label\": " +
                    JsonString(WindowText(AsWindow(Control(control.Name + ".EditLabel"))));
        json += "}";
    }
    return json + "\n  ]\n}\n";
}

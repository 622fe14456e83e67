#include "HeadlessForm.h"

#include "platform/QelError.h"

#include <charconv>

THeadlessForm::THeadlessForm(const TFormLayout& layout)
    : FormLayout(layout), FormCaption(layout.Caption) {
    for (const TControlLayout& control : layout.Controls) {
        TState state;
        state.Kind = control.Kind;
        state.Parent = control.Parent;
        state.Enabled = !(control.Flags & ctl::Disabled);
        state.Visible = !(control.Flags & ctl::Hidden);
        state.Checked = control.Flags & ctl::Checked;
        state.ReadOnly = control.Flags & ctl::ReadOnly;
        state.Minimum = control.Minimum;
        state.Maximum = control.Maximum;
        if (control.Kind == TControlKind::Edit || control.Kind == TControlKind::Memo ||
            control.Kind == TControlKind::SpinEdit)
            state.Text = control.Caption;
        else
            state.Caption = control.Caption;
        if (!control.EditLabel.empty()) Labels[control.Name + ".EditLabel"] = control.EditLabel;
        if (control.Kind == TControlKind::Page && Page.empty()) Page = control.Name;
        Controls[control.Name] = state;
    }
}

THeadlessForm::TState& THeadlessForm::At(const std::string& control) {
    const auto found = Controls.find(control);
    if (found == Controls.end()) throw EQelError("No control named '" + control + "'");
    return found->second;
}

const THeadlessForm::TState& THeadlessForm::At(const std::string& control) const {
    const auto found = Controls.find(control);
    if (found == Controls.end()) throw EQelError("No control named '" + control + "'");
    return found->second;
}

void THeadlessForm::Click(const std::string& control) {
    const TState& state = At(control);
    if (!state.Enabled || !state.Visible) return;
    if (state.Kind == TControlKind::RadioButton) {
        SetChecked(control, true);
    } else if (const auto handler = ClickHandlers.find(control); handler != ClickHandlers.end()) {
        const auto run = handler->second;
        run();
    }
    if (!Closed) Idle();
}

void THeadlessForm::Type(const std::string& control, const std::string& text) {
    SetText(control, text);
    Idle();
}

void THeadlessForm::Select(const std::string& control, int index) {
    SetItemIndex(control, index);
    Idle();
}

void THeadlessForm::SendRegisteredMessage(std::uint32_t message) {
    if (const auto handler = MessageHandlers.find(message); handler != MessageHandlers.end()) {
        const auto run = handler->second;
        run();
    }
}

void THeadlessForm::Idle() {
    if (IdleHandler) IdleHandler();
}

void THeadlessForm::SetCaption(const std::string& control, const std::string& caption) {
    if (control.empty())
        FormCaption = caption;
    else if (Labels.count(control))
        Labels[control] = caption;
    else
        At(control).Caption = caption;
}

std::string THeadlessForm::Caption(const std::string& control) const {
    if (control.empty()) return FormCaption;
    if (const auto label = Labels.find(control); label != Labels.end()) return label->second;
    return At(control).Caption;
}

void THeadlessForm::SetText(const std::string& control, const std::string& text) {
    TState& state = At(control);
    if (state.Kind == TControlKind::ComboBox) {
        // A list without typing takes only one of its items.
        for (std::size_t i = 0; i < state.Items.size(); ++i)
            if (state.Items[i] == text) {
                state.ItemIndex = static_cast<int>(i);
                return;
            }
        return;
    }
    state.Text = text;
}

std::string THeadlessForm::Text(const std::string& control) const {
    const TState& state = At(control);
    if (state.Kind == TControlKind::ComboBox)
        return state.ItemIndex >= 0 ? state.Items[static_cast<std::size_t>(state.ItemIndex)] : "";
    return state.Text;
}

void THeadlessForm::SetEnabled(const std::string& control, bool enabled) {
    At(control).Enabled = enabled;
}
bool THeadlessForm::Enabled(const std::string& control) const {
    return At(control).Enabled;
}
void THeadlessForm::SetVisible(const std::string& control, bool visible) {
    At(control).Visible = visible;
}
bool THeadlessForm::Visible(const std::string& control) const {
    return At(control).Visible;
}

void THeadlessForm::SetChecked(const std::string& control, bool checked) {
    TState& state = At(control);
    if (state.Checked == checked) return;
    state.Checked = checked;
    if (!checked || state.Kind != TControlKind::RadioButton) return;
    for (auto& [name, other] : Controls)
        if (name != control && other.Kind == TControlKind::RadioButton &&
            other.Parent == state.Parent)
            other.Checked = false;
    if (const auto handler = ClickHandlers.find(control); handler != ClickHandlers.end()) {
        const auto run = handler->second;
        run();
    }
}

bool THeadlessForm::Checked(const std::string& control) const {
    return At(control).Checked;
}
void THeadlessForm::SetReadOnly(const std::string& control, bool readOnly) {
    At(control).ReadOnly = readOnly;
}
bool THeadlessForm::ReadOnly(const std::string& control) const {
    return At(control).ReadOnly;
}

int THeadlessForm::Value(const std::string& control) const {
    const TState& state = At(control);
    int value = 0;
    const char* first = state.Text.data();
    const char* last = first + state.Text.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last) return 0;
    return value;
}

void THeadlessForm::SetValue(const std::string& control, int value) {
    TState& state = At(control);
    if (value < state.Minimum) value = state.Minimum;
    if (value > state.Maximum) value = state.Maximum;
    state.Text = std::to_string(value);
}

void THeadlessForm::ClearItems(const std::string& control) {
    At(control).Items.clear();
    At(control).ItemIndex = -1;
}
void THeadlessForm::AddItem(const std::string& control, const std::string& item) {
    At(control).Items.push_back(item);
}
std::vector<std::string> THeadlessForm::Items(const std::string& control) const {
    return At(control).Items;
}
void THeadlessForm::SetItemIndex(const std::string& control, int index) {
    TState& state = At(control);
    state.ItemIndex = index >= 0 && index < static_cast<int>(state.Items.size()) ? index : -1;
}
int THeadlessForm::ItemIndex(const std::string& control) const {
    return At(control).ItemIndex;
}

void THeadlessForm::SetFocus(const std::string& control) {
    const TState& state = At(control);
    if (!state.Enabled) throw EQelError("Cannot focus a disabled or invisible window");
    FocusedControl = control;
    SelectedControl.clear();
}

void THeadlessForm::SelectAll(const std::string& control) {
    SelectedControl = control;
}

void THeadlessForm::SetActivePage(const std::string& page) {
    if (At(page).Kind != TControlKind::Page) throw EQelError("'" + page + "' is not a page");
    Page = page;
}

void THeadlessForm::OnClick(const std::string& control, std::function<void()> handler) {
    At(control);
    ClickHandlers[control] = std::move(handler);
}

void THeadlessForm::OnMessage(std::uint32_t message, std::function<void()> handler) {
    MessageHandlers[message] = std::move(handler);
}

bool THeadlessForm::BrowseForFolder(const std::string& initial, std::string& chosen) {
    LastFolderPrompt = initial;
    if (FolderChoice.empty()) return false;
    chosen = FolderChoice;
    return true;
}

void THeadlessForm::Run(std::function<void()> onShow) {
    Shown = true;
    if (onShow) onShow();
    if (!Closed) Idle();
}

void THeadlessForm::Close() {
    Closed = true;
}

void THeadlessForm::RequestClose() {
    if (!CloseQuery || CloseQuery()) Close();
}

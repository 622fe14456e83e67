#include "HeadlessGui.h"

#include <algorithm>

namespace {
class THeadlessProgress : public IProgressWindow {
public:
    THeadlessProgress(std::vector<std::string>& events, std::string title, int position)
        : Events(events), Title(std::move(title)), Current(position) {}
    ~THeadlessProgress() override {
        if (Open) Events.push_back("progress destroyed while open");
    }
    void Show() override {
        Open = true;
        Events.push_back("progress show " + Title);
    }
    void SetPosition(int position) override {
        Current = position;
        Events.push_back("progress position " + std::to_string(position));
    }
    int Position() const override { return Current; }
    void Close() override {
        Events.push_back(Open ? "progress close" : "progress close while not shown");
        Open = false;
    }

private:
    std::vector<std::string>& Events;
    std::string Title;
    int Current;
    bool Open = false;
};

class THeadlessTimer : public ITimer {
public:
    THeadlessTimer(THeadlessGui& gui, unsigned interval, std::function<void()> onTick) : Gui(gui) {
        State.Interval = interval;
        State.OnTick = std::move(onTick);
        Gui.Timers.push_back(&State);
    }
    ~THeadlessTimer() override {
        Gui.Timers.erase(std::remove(Gui.Timers.begin(), Gui.Timers.end(), &State),
                         Gui.Timers.end());
        Gui.Events.push_back("timer released");
    }
    void SetEnabled(bool enabled) override {
        State.Enabled = enabled;
        State.Since = Gui.Clock ? Gui.Clock() : 0;
        Gui.Events.push_back(enabled ? "timer enabled" : "timer disabled");
    }

private:
    THeadlessGui& Gui;
    THeadlessGui::TTimerState State;
};
} // namespace

bool THeadlessGui::Answer(TBoxKind kind, const std::string& caption, const std::string& text) {
    Shown.push_back({kind, caption, text});
    const char* name = kind == TBoxKind::Message ? "message" : "question";
    if (Script.empty()) {
        Unexpected.push_back(std::string(name) + ": " + text);
        return false;
    }
    const TExpected expected = Script.front();
    Script.pop_front();
    if (expected.Kind != kind || expected.Text != text) {
        Unexpected.push_back(std::string(name) + ": " + text + " (expected: " + expected.Text +
                             ")");
        return false;
    }
    return expected.Answer;
}

void THeadlessGui::ShowMessage(const std::string& text) {
    Answer(TBoxKind::Message, Title, text);
}

bool THeadlessGui::AskQuestion(const std::string& caption, const std::string& text) {
    return Answer(TBoxKind::Question, caption, text);
}

std::unique_ptr<IProgressWindow> THeadlessGui::CreateProgressWindow(TWindowHandle,
                                                                    const std::string& title, int,
                                                                    int, int position) {
    return std::make_unique<THeadlessProgress>(Events, title, position);
}

std::unique_ptr<ITimer> THeadlessGui::CreateTimer(TWindowHandle, unsigned intervalMs,
                                                  std::function<void()> onTick) {
    return std::make_unique<THeadlessTimer>(*this, intervalMs, std::move(onTick));
}

void THeadlessGui::ProcessMessages() {
    ++EventsProcessed;
    if (OnProcessMessages) OnProcessMessages();
    if (!Clock) return;
    const std::uint64_t now = Clock();
    // A tick may process events itself; walk a copy so timers may come and go.
    for (TTimerState* timer : std::vector<TTimerState*>(Timers)) {
        if (std::find(Timers.begin(), Timers.end(), timer) == Timers.end()) continue;
        if (timer->Enabled && timer->Interval && now - timer->Since >= timer->Interval) {
            timer->Since = now;
            Events.push_back("timer tick");
            timer->OnTick();
        }
    }
}

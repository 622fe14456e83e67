#pragma once

#include "platform/Gui.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

// The toolkit in memory. Tests script the boxes they expect with their answers; every box shown
// is recorded, and one the script did not expect lands in Unexpected.
class THeadlessGui : public IGui {
public:
    enum class TBoxKind { Message, Question };
    struct TBox {
        TBoxKind Kind;
        std::string Caption;
        std::string Text;
    };
    struct TExpected {
        TBoxKind Kind;
        std::string Text;
        bool Answer = false; // for questions
    };

    std::vector<TBox> Shown;
    std::vector<std::string> Unexpected;
    // What happened to progress windows and timers, in order ("progress show <title>", ...).
    std::vector<std::string> Events;
    int EventsProcessed = 0;
    // Timers fire on ProcessMessages when this clock has advanced by their interval.
    std::function<std::uint64_t()> Clock;
    // Runs inside ProcessMessages: lets a test act "while the window is responsive".
    std::function<void()> OnProcessMessages;

    void ExpectMessage(const std::string& text) { Script.push_back({TBoxKind::Message, text}); }
    void ExpectQuestion(const std::string& text, bool answer) {
        Script.push_back({TBoxKind::Question, text, answer});
    }
    // Boxes scripted but never shown.
    std::size_t PendingBoxes() const { return Script.size(); }

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

    struct TTimerState {
        unsigned Interval = 0;
        bool Enabled = false;
        std::uint64_t Since = 0;
        std::function<void()> OnTick;
    };
    std::vector<TTimerState*> Timers; // alive timers, owned by their ITimer

private:
    std::string Title = "VELK Probe Administration";
    std::deque<TExpected> Script;
    bool Answer(TBoxKind kind, const std::string& caption, const std::string& text);
};

#pragma once

#include "platform/win32/Win32Api.h"

#include <atomic>
#include <string>
#include <thread>
#include <vector>

// Answers the modal boxes of the thread under test from a thread of its own: finds each box by
// its caption, records its text and presses the scripted button.
class TBoxAnswerer {
public:
    TBoxAnswerer(std::string caption, std::vector<int> buttons)
        : Caption(std::move(caption)), Buttons(std::move(buttons)), Thread([this] { Run(); }) {}
    TBoxAnswerer(std::string caption, int button)
        : TBoxAnswerer(std::move(caption), std::vector<int>{button}) {}
    ~TBoxAnswerer() {
        Done = true;
        Thread.join();
    }
    TBoxAnswerer(const TBoxAnswerer&) = delete;
    TBoxAnswerer& operator=(const TBoxAnswerer&) = delete;

    // The texts of the boxes answered so far; read after the boxes have closed.
    std::vector<std::string> Texts() const {
        Done = true;
        return Answered;
    }

private:
    std::string Caption;
    std::vector<int> Buttons;
    std::vector<std::string> Answered;
    mutable std::atomic<bool> Done{false};
    std::thread Thread;

    void Run() {
        for (std::size_t next = 0; next < Buttons.size();) {
            for (int i = 0; i < 600 && !Done; ++i) {
                if (HWND box = FindWindowA("#32770", Caption.c_str())) {
                    char text[2048] = {};
                    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
                    Answered.push_back(text);
                    PostMessageA(box, WM_COMMAND, MAKEWPARAM(Buttons[next], BN_CLICKED), 0);
                    // Wait until that box has gone before looking for the next.
                    while (IsWindow(box))
                        Sleep(20);
                    break;
                }
                Sleep(50);
            }
            if (Done) return;
            ++next;
        }
    }
};

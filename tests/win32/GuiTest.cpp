#include "BoxAnswerer.h"
#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32Gui.h"

#include <gtest/gtest.h>

#include <string>

TEST(Win32Gui, QuestionBoxCountsOnlyYes) {
    TWin32Gui gui;
    const struct {
        int Button;
        bool Yes;
    } cases[] = {{IDYES, true}, {IDNO, false}};
    for (const auto& c : cases) {
        bool answer = !c.Yes;
        {
            TBoxAnswerer answerer("Attention!", c.Button);
            answer = gui.AskQuestion("Attention!", "Restart the probe service?");
            EXPECT_EQ(answerer.Texts(), std::vector<std::string>{"Restart the probe service?"});
        }
        EXPECT_EQ(answer, c.Yes);
    }
}

TEST(Win32Gui, MessageBoxIsCaptionedWithTheApplicationTitle) {
    TWin32Gui gui;
    gui.SetApplicationTitle("VELK Probe Test Title");
    TBoxAnswerer answerer("VELK Probe Test Title", IDOK);
    gui.ShowMessage("Plain message");
    EXPECT_EQ(answerer.Texts(), std::vector<std::string>{"Plain message"});
}

TEST(Win32Gui, ProgressWindowShowsItsTitleAndClosesAndTheTimerTicksOnlyWhilePumping) {
    TWin32Gui gui;
    auto progress = gui.CreateProgressWindow(0, "Trying to start service Test", 0, 300, 10);
    EXPECT_EQ(FindWindowA(nullptr, "Trying to start service Test") != nullptr, true);
    progress->Show();
    HWND window = FindWindowA(nullptr, "Trying to start service Test");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(progress->Position(), 10);
    progress->SetPosition(301); // past the bar's maximum, the position still counts
    EXPECT_EQ(progress->Position(), 301);

    int ticks = 0;
    auto timer = gui.CreateTimer(0, 20, [&] { ++ticks; });
    timer->SetEnabled(true);
    Sleep(100);
    EXPECT_EQ(ticks, 0) << "no tick without processing events";
    for (int i = 0; i < 50 && ticks == 0; ++i) {
        gui.ProcessMessages();
        Sleep(20);
    }
    EXPECT_GT(ticks, 0);
    timer->SetEnabled(false);
    const int stopped = ticks;
    Sleep(60);
    gui.ProcessMessages();
    EXPECT_EQ(ticks, stopped);

    progress->Close();
    EXPECT_FALSE(IsWindow(window));
}

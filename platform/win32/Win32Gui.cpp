// Platform code only: the toolkit's boxes, progress window, timers and event loop.
#include "Win32Gui.h"

#include "Win32Api.h"

#include <commctrl.h>

#include <map>

namespace {
const char* const ProgressClass = "VELKProgressWindow";

LRESULT CALLBACK ProgressWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) return 0; // a wait cannot be cancelled from its window
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterProgressClass() {
    static const bool registered = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = ProgressWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursor(nullptr, IDC_WAIT);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = ProgressClass;
        return RegisterClassA(&windowClass) != 0;
    }();
    (void)registered;
}

struct TWindowDestroy {
    void operator()(HWND window) const { DestroyWindow(window); }
};
using TWindow = std::unique_ptr<std::remove_pointer_t<HWND>, TWindowDestroy>;

class TWin32Progress : public IProgressWindow {
public:
    TWin32Progress(HWND owner, const std::string& title, int minimum, int maximum, int position)
        : Current(position) {
        RegisterProgressClass();
        const int width = 420;
        const int height = 90;
        const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
        const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
        Window.reset(CreateWindowExA(WS_EX_DLGMODALFRAME, ProgressClass, title.c_str(),
                                     WS_POPUP | WS_CAPTION, left, top, width, height, owner,
                                     nullptr, GetModuleHandleA(nullptr), nullptr));
        RECT client{};
        GetClientRect(Window.get(), &client);
        Bar = CreateWindowExA(0, PROGRESS_CLASSA, nullptr, WS_CHILD | WS_VISIBLE, 12,
                              (client.bottom - 22) / 2, client.right - 24, 22, Window.get(),
                              nullptr, GetModuleHandleA(nullptr), nullptr);
        SendMessageA(Bar, PBM_SETRANGE32, static_cast<WPARAM>(minimum), maximum);
        SendMessageA(Bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    }
    void Show() override {
        ShowWindow(Window.get(), SW_SHOWNORMAL);
        UpdateWindow(Window.get());
    }
    // The bar stops at its maximum; the position itself may count on past it.
    void SetPosition(int position) override {
        Current = position;
        SendMessageA(Bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    }
    int Position() const override { return Current; }
    void Close() override { Window.reset(); }

private:
    TWindow Window;
    HWND Bar = nullptr;
    int Current;
};

std::map<UINT_PTR, std::function<void()>>& TimerHandlers() {
    static std::map<UINT_PTR, std::function<void()>> handlers;
    return handlers;
}

void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
    const auto handler = TimerHandlers().find(id);
    if (handler != TimerHandlers().end()) {
        const std::function<void()> tick = handler->second; // the tick may end the timer
        tick();
    }
}

class TWin32Timer : public ITimer {
public:
    TWin32Timer(unsigned interval, std::function<void()> onTick)
        : Interval(interval), OnTick(std::move(onTick)) {}
    ~TWin32Timer() override { SetEnabled(false); }
    void SetEnabled(bool enabled) override {
        if (enabled && !Id) {
            Id = SetTimer(nullptr, 0, Interval, TimerProc);
            if (Id) TimerHandlers()[Id] = OnTick;
        } else if (!enabled && Id) {
            KillTimer(nullptr, Id);
            TimerHandlers().erase(Id);
            Id = 0;
        }
    }

private:
    unsigned Interval;
    std::function<void()> OnTick;
    UINT_PTR Id = 0;
};
} // namespace

TWin32Gui::TWin32Gui() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES |
                                                        ICC_TAB_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
}

void TWin32Gui::ShowMessage(const std::string& text) {
    MessageBoxA(GetActiveWindow(), text.c_str(), Title.c_str(), MB_OK);
}

bool TWin32Gui::AskQuestion(const std::string& caption, const std::string& text) {
    return MessageBoxA(GetActiveWindow(), text.c_str(), caption.c_str(), MB_YESNO) == IDYES;
}

std::unique_ptr<IProgressWindow> TWin32Gui::CreateProgressWindow(TWindowHandle owner,
                                                                 const std::string& title,
                                                                 int minimum, int maximum,
                                                                 int position) {
    return std::make_unique<TWin32Progress>(reinterpret_cast<HWND>(owner), title, minimum, maximum,
                                            position);
}

std::unique_ptr<ITimer> TWin32Gui::CreateTimer(TWindowHandle, unsigned intervalMs,
                                               std::function<void()> onTick) {
    return std::make_unique<TWin32Timer>(intervalMs, std::move(onTick));
}

void TWin32Gui::ProcessMessages() {
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam)); // leave it for the main loop
            break;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

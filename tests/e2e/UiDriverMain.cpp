// The UI driver as a command: attaches to the running tool's window and carries out one
// command, printing what it read. Usage:
//   VELKUiDriver state | text NAME | set NAME TEXT | click NAME | select NAME INDEX
//                | page NAME | checked NAME | enabled NAME | visible NAME | readonly NAME
//                | selected NAME | answer ok|yes|no | close
#include "UiDriver.h"
#include "platform/win32/Win32Api.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

namespace {
int Usage() {
    std::fputs("usage: VELKUiDriver state | text NAME | set NAME TEXT | click NAME | select NAME "
               "INDEX | page NAME | checked|enabled|visible|readonly|selected NAME | answer "
               "ok|yes|no | close\n",
               stderr);
    return 2;
}

void PrintFlag(bool flag) {
    std::puts(flag ? "true" : "false");
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string command = argv[1];
    const std::string name = argc > 2 ? argv[2] : "";
    TUiDriver driver;
    if (!driver.Attach()) {
        std::fputs("the tool's window was not found\n", stderr);
        return 1;
    }
    try {
        if (command == "state") {
            std::fputs(driver.StateJson().c_str(), stdout);
        } else if (command == "text" && argc == 3) {
            std::puts(driver.Text(name).c_str());
        } else if (command == "set" && argc == 4) {
            driver.SetText(name, argv[3]);
        } else if (command == "click" && argc == 3) {
            driver.Click(name);
            driver.Settle();
        } else if (command == "select" && argc == 4) {
            driver.Select(name, std::atoi(argv[3]));
        } else if (command == "page" && argc == 3) {
            driver.ShowPage(name);
        } else if (command == "checked" && argc == 3) {
            PrintFlag(driver.Checked(name));
        } else if (command == "enabled" && argc == 3) {
            PrintFlag(driver.Enabled(name));
        } else if (command == "visible" && argc == 3) {
            PrintFlag(driver.Visible(name));
        } else if (command == "readonly" && argc == 3) {
            PrintFlag(driver.ReadOnly(name));
        } else if (command == "selected" && argc == 3) {
            std::printf("%d\n", driver.Selected(name));
        } else if (command == "answer" && argc == 3) {
            const int button = name == "yes" ? IDYES : name == "no" ? IDNO : IDOK;
            const TUiDriver::TBox box = driver.Answer(button);
            if (box.Caption.empty()) {
                std::fputs("no box came\n", stderr);
                return 1;
            }
            std::printf("%s\n%s\n", box.Caption.c_str(), box.Text.c_str());
        } else if (command == "windows") {
            // Every child window with its number, class and text, for finding one's way.
            EnumChildWindows(
                reinterpret_cast<HWND>(driver.WindowHandle()),
                [](HWND child, LPARAM) -> BOOL {
                    char name[64] = {};
                    char text[128] = {};
                    GetClassNameA(child, name, sizeof name);
                    GetWindowTextA(child, text, sizeof text);
                    std::printf("%d %s \"%s\"\n", GetDlgCtrlID(child), name, text);
                    return TRUE;
                },
                0);
        } else if (command == "close") {
            driver.SendCloseMessage();
        } else {
            return Usage();
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}

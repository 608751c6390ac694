#pragma once
// In-process test harness: the real main window from the real resources, driven by messages
// through the same routing as the program's message loop.
#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "main/main_window_win.h"

// The texts of the message boxes the program asked for while a test ran, which the harness
// answers with IDOK in the user's place (the table's messageBox while a TomelWindow lives).
extern std::vector<std::wstring> shownMessages;

class TomelWindow {
public:
    TomelWindow();
    ~TomelWindow();
    TomelWindow(const TomelWindow&) = delete;
    TomelWindow& operator=(const TomelWindow&) = delete;

    App& app() const { return *currentApp.get(); }
    HWND window() const { return window_; }
    // Routes messages as the program's loop does, for `ms` milliseconds or until `done` holds.
    // Returns whether `done` held.
    bool pump(int ms, const std::function<bool()>& done = {});
    std::wstring title() const;
    std::wstring text() const;
    void command(unsigned id) const { SendMessageW(window_, WM_COMMAND, id, 0); }
    // Puts the mouse pointer at a point of the screen; false when it did not get there.
    bool cursorTo(POINT p);
    // Routes one message to the window as the program's loop would.
    void route(UINT message, WPARAM wParam, LPARAM lParam);
    // Drops files on the window through a real DROPFILES block.
    void drop(const std::vector<std::wstring>& paths);

private:
    HWND owner_ = nullptr;
    HWND window_ = nullptr;
    HACCEL accelerators_ = nullptr;
};

// Calls `answer` with the next dialog (or common dialog) that opens on the test's thread, from inside
// the modal loop that runs it.
void answerNextDialog(std::function<void(HWND dialog)> answer);
// A window's text, or that of one of its controls.
std::wstring textOf(HWND window, int control = 0);

// Where Wine does what Windows does not, the Windows check is skipped.
bool runningUnderWine();

// A fresh folder for this test process.
std::wstring testDirectory();
std::wstring besideProgram(const wchar_t* name);
// Writes a file in the test folder, or at `name` when that is a path.
std::wstring writeBytes(const std::wstring& name, const std::string& bytes);
std::string readFile(const std::wstring& path);
bool exists(const std::wstring& path);
// The names in a folder that begin with `prefix`.
std::set<std::wstring> filesIn(const std::wstring& folder, const std::wstring& prefix = L"");
// Bytes of a UTF-16 LE text; with its byte-order mark for a whole file.
std::string utf16(const std::wstring& text);
std::string utf16File(const std::wstring& text);

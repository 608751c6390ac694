#pragma once
// In-process test harness: the real main window from the real resources, driven by messages
// through the same routing as the program's message loop.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "main/main_window_win.h"

// Message boxes the program asked for while a test ran (the hook answers them with IDOK).
struct ShownMessage {
    std::wstring text;
    UINT type;
};
extern std::vector<ShownMessage> shownMessages;

class TomelWindow {
public:
    TomelWindow();
    ~TomelWindow();
    TomelWindow(const TomelWindow&) = delete;
    TomelWindow& operator=(const TomelWindow&) = delete;

    App& app() const { return *currentApp; }
    HWND window() const { return window_; }
    // Routes messages as the program's loop does, for `ms` milliseconds or until `done` holds.
    // Returns whether `done` held. A WM_QUIT seen on the way is remembered.
    bool pump(int ms, const std::function<bool()>& done = {});
    bool quitSeen() const { return quitSeen_; }
    int quitCode() const { return quitCode_; }
    std::wstring title() const;
    std::wstring text() const;
    void command(unsigned id) const { SendMessageW(window_, WM_COMMAND, id, 0); }
    // Opens a file as the program does for a text-file argument.
    void open(const std::wstring& path);
    // Drops files on the window through a real DROPFILES block.
    void drop(const std::vector<std::wstring>& paths);
    // Sends a key press through the loop, with modifiers held in the keyboard state.
    void key(UINT vk, bool shift = false, bool control = false, bool alt = false);

private:
    HWND owner_ = nullptr;
    HWND window_ = nullptr;
    HACCEL accelerators_ = nullptr;
    bool quitSeen_ = false;
    int quitCode_ = -1;
};

// Sends `command`, which opens a dialog titled `title`, and answers it from another thread as a
// user would: sets the given fields (by control id) and presses `button`. `whenOpen` runs on that
// thread once the dialog is there. False when the dialog never appeared.
bool answerDialog(TomelWindow& w, unsigned command, const wchar_t* title,
                  std::vector<std::pair<int, std::wstring>> fields, UINT button,
                  std::function<void(HWND)> whenOpen = {});
// The same for a common file dialog: types `path` and confirms, or cancels when `path` is empty.
bool answerFileDialog(TomelWindow& w, unsigned command, const wchar_t* title, const std::wstring& path);

// A fresh folder for this test process.
std::wstring testDirectory();
std::wstring besideProgram(const wchar_t* name);
std::wstring writeBytes(const std::wstring& name, const std::string& bytes);
std::string readFile(const std::wstring& path);
bool exists(const std::wstring& path);
// Bytes of a UTF-16 LE text with its byte-order mark; without it for searching inside a file.
std::string utf16File(const std::wstring& text);
std::string utf16(const std::wstring& text);
std::string narrow(const std::wstring& w);

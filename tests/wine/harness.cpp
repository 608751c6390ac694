#include "harness.h"

#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "main/message_loop_win.h"
#include "res/resource.h"
#include "shell/app/app_info_win.h"
#include "shell/app/platform_win.h"

std::vector<std::wstring> shownMessages;

namespace {
int WINAPI recordMessage(HWND, LPCWSTR text, LPCWSTR, UINT)
{
    shownMessages.push_back(text ? text : L"");
    return IDOK;
}

std::function<void(HWND)> pendingAnswer;

BOOL CALLBACK answerIfDialog(HWND window, LPARAM)
{
    wchar_t name[8] = {};
    GetClassNameW(window, name, 8);
    if (wcscmp(name, L"#32770") != 0 || window == appInfo.mainWindow || !IsWindowVisible(window)) return TRUE;
    const auto answer = std::move(pendingAnswer);
    pendingAnswer = nullptr;
    answer(window);
    return FALSE;
}

void CALLBACK lookForDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), answerIfDialog, 0);
    if (!pendingAnswer) KillTimer(nullptr, timer);
}
}  // namespace

void answerNextDialog(std::function<void(HWND)> answer)
{
    pendingAnswer = std::move(answer);
    SetTimer(nullptr, 0, 50, lookForDialog);
}

std::wstring textOf(HWND window, int control)
{
    wchar_t text[512] = {};
    GetWindowTextW(control ? GetDlgItem(window, control) : window, text, 512);
    return text;
}

TomelWindow::TomelWindow()
{
    // Start-up would read a settings file left beside the test program.
    DeleteFileW(besideProgram(L"tomel.ini").c_str());
    shownMessages.clear();
    platform.messageBox = recordMessage;
    window_ = createMainWindow(GetModuleHandleW(nullptr), owner_);
    // Tests that save do so to their own files and switch this on themselves.
    if (App* app = currentApp.get()) app->saveOnExit = false;
    accelerators_ = LoadAcceleratorsW(appInfo.instance, MAKEINTRESOURCEW(IDR_MAIN));
    pump(50);
}

TomelWindow::~TomelWindow()
{
    if (App* app = currentApp.get()) app->saveOnExit = false;
    if (IsWindow(window_)) DestroyWindow(window_);
    if (IsWindow(owner_)) DestroyWindow(owner_);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    platform.messageBox = Platform().messageBox;
}

bool TomelWindow::pump(int ms, const std::function<bool()>& done)
{
    for (const DWORD start = GetTickCount(); !(done && done());) {
        if (static_cast<int>(GetTickCount() - start) >= ms) return false;
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        } else if (msg.message != WM_QUIT) {
            routeMessage(window_, accelerators_, msg);
        }
    }
    return true;
}

bool TomelWindow::cursorTo(POINT p)
{
    SetCursorPos(p.x, p.y);
    // Under Wine the pointer can take a moment to get there, and to stay there.
    int stayed = 0;
    return pump(2000, [&] {
        POINT now = {};
        stayed = GetCursorPos(&now) && now.x == p.x && now.y == p.y ? stayed + 1 : 0;
        return stayed == 10;
    });
}

void TomelWindow::route(UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msg = {window_, message, wParam, lParam, GetTickCount(), {}};
    routeMessage(window_, accelerators_, msg);
}

std::wstring TomelWindow::title() const { return textOf(window_); }
std::wstring TomelWindow::text() const { return textOf(window_, IDC_TEXT); }

void TomelWindow::drop(const std::vector<std::wstring>& paths)
{
    std::wstring names;
    for (const auto& p : paths) names += p + L'\0';
    names += L'\0';
    HGLOBAL mem = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    auto* df = static_cast<DROPFILES*>(GlobalLock(mem));
    df->pFiles = sizeof(DROPFILES);
    df->fWide = TRUE;
    std::copy(names.begin(), names.end(), reinterpret_cast<wchar_t*>(df + 1));
    GlobalUnlock(mem);
    SendMessageW(window_, WM_DROPFILES, reinterpret_cast<WPARAM>(mem), 0);
}

bool runningUnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll"), "wine_get_version") != nullptr; }

std::wstring testDirectory()
{
    // Wine reuses process numbers, so the time makes the folder new for every run.
    static const std::wstring dir = [] {
        const std::filesystem::path path = std::filesystem::temp_directory_path() /
            ("tomel-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount()));
        std::filesystem::create_directory(path);
        return path.wstring();
    }();
    return dir;
}

std::wstring besideProgram(const wchar_t* name)
{
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    return std::filesystem::path(module).replace_filename(name).wstring();
}

std::wstring writeBytes(const std::wstring& name, const std::string& bytes)
{
    const std::wstring path = name.find(L'\\') == std::wstring::npos ? testDirectory() + L"\\" + name : name;
    std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
    return path;
}

std::string readFile(const std::wstring& path)
{
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::set<std::wstring> filesIn(const std::wstring& folder, const std::wstring& prefix)
{
    std::set<std::wstring> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (const std::wstring name = entry.path().filename().wstring(); name.compare(0, prefix.size(), prefix) == 0)
            names.insert(name);
    return names;
}

std::string utf16(const std::wstring& text)
{
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

std::string utf16File(const std::wstring& text) { return std::string("\xFF\xFE", 2) + utf16(text); }

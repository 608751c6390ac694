#include "harness.h"

#include <shlobj.h>

#include <cstdio>

#include "main/message_loop_win.h"
#include "main/startup_win.h"
#include "res/resource.h"
#include "shell/app/app_info_win.h"
#include "shell/text/text_loader_win.h"

std::vector<ShownMessage> shownMessages;

TomelWindow::TomelWindow()
{
    // Start-up would read a settings file left beside the test program.
    DeleteFileW(besideProgram(L"tomel.ini").c_str());
    shownMessages.clear();
    messageHook = [](const wchar_t* text, UINT type) {
        shownMessages.push_back({text ? text : L"", type});
        return IDOK;
    };
    window_ = createMainWindow(GetModuleHandleW(nullptr), owner_);
    // Tests that save do so to their own files and switch this on themselves.
    if (currentApp) currentApp->saveOnExit = false;
    accelerators_ = LoadAcceleratorsW(appInfo.instance, MAKEINTRESOURCEW(IDR_MAIN));
    pump(50);
}

TomelWindow::~TomelWindow()
{
    if (currentApp) currentApp->saveOnExit = false;
    if (IsWindow(window_)) DestroyWindow(window_);
    if (IsWindow(owner_)) DestroyWindow(owner_);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    messageHook = nullptr;
}

bool TomelWindow::pump(int ms, const std::function<bool()>& done)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (done && done()) return true;
        MSG msg;
        bool any = false;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            any = true;
            if (msg.message == WM_QUIT) {
                quitSeen_ = true;
                quitCode_ = static_cast<int>(msg.wParam);
                continue;
            }
            routeMessage(window_, accelerators_, msg);
            if (done && done()) return true;
        }
        if (static_cast<int>(GetTickCount() - start) >= ms) return done ? done() : false;
        if (!any) MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

std::wstring TomelWindow::title() const
{
    wchar_t buf[512] = {};
    GetWindowTextW(window_, buf, 512);
    return buf;
}

std::wstring TomelWindow::text() const
{
    HWND control = GetDlgItem(window_, IDC_TEXT);
    std::wstring s(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    s.resize(static_cast<std::size_t>(GetWindowTextW(control, &s[0], static_cast<int>(s.size()))));
    return s;
}

void TomelWindow::open(const std::wstring& path)
{
    wchar_t arg0[] = L"tomel.exe";
    std::wstring copy = path;
    wchar_t* args[] = {arg0, &copy[0]};
    handleArguments(app(), args, 2);
    openTextFile(app());
}

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

void TomelWindow::key(UINT vk, bool shift, bool control, bool alt)
{
    BYTE state[256] = {};
    if (shift) state[VK_SHIFT] = state[VK_LSHIFT] = 0x80;
    if (control) state[VK_CONTROL] = state[VK_LCONTROL] = 0x80;
    if (alt) state[VK_MENU] = state[VK_LMENU] = 0x80;
    SetKeyboardState(state);
    const LPARAM flags = 1 | (static_cast<LPARAM>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16) | (alt ? (1 << 29) : 0);
    PostMessageW(window_, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, flags);
    pump(30);
    PostMessageW(window_, alt ? WM_SYSKEYUP : WM_KEYUP, vk, flags | (1u << 30) | (1u << 31));
    pump(10);
    BYTE none[256] = {};
    SetKeyboardState(none);
}

namespace {
struct Answer {
    const wchar_t* title;
    std::vector<std::pair<int, std::wstring>> fields;
    UINT button;
    std::function<void(HWND)> whenOpen;
};

DWORD WINAPI answerOnThread(void* p)
{
    auto* a = static_cast<Answer*>(p);
    for (int i = 0; i < 300; ++i) {
        if (HWND dlg = FindWindowW(nullptr, a->title)) {
            if (a->whenOpen) a->whenOpen(dlg);
            for (const auto& f : a->fields) SetDlgItemTextW(dlg, f.first, f.second.c_str());
            PostMessageW(dlg, WM_COMMAND, a->button, 0);
            return 0;
        }
        Sleep(50);
    }
    return 1;
}
}  // namespace

bool answerDialog(TomelWindow& w, unsigned command, const wchar_t* title,
                  std::vector<std::pair<int, std::wstring>> fields, UINT button, std::function<void(HWND)> whenOpen)
{
    Answer answer{title, std::move(fields), button, std::move(whenOpen)};
    HANDLE thread = CreateThread(nullptr, 0, answerOnThread, &answer, 0, nullptr);
    w.command(command);
    WaitForSingleObject(thread, 15000);
    DWORD code = 2;
    GetExitCodeThread(thread, &code);
    CloseHandle(thread);
    return code == 0;
}

bool answerFileDialog(TomelWindow& w, unsigned command, const wchar_t* title, const std::wstring& path)
{
    // The file name box has one of two ids, after the dialog style; a common dialog needs a moment
    // before it takes its fields.
    return answerDialog(w, command, title, {{0x47c, path}, {0x480, path}}, path.empty() ? IDCANCEL : IDOK,
                        [](HWND) { Sleep(200); });
}

std::wstring testDirectory()
{
    static std::wstring dir;
    if (dir.empty()) {
        wchar_t base[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, base);
        // Wine reuses process numbers, so the time makes the folder new for every run.
        for (unsigned n = GetTickCount();; ++n) {
            dir = std::wstring(base) + L"tomel-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(n);
            if (CreateDirectoryW(dir.c_str(), nullptr)) break;
        }
    }
    return dir;
}

std::wstring besideProgram(const wchar_t* name)
{
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring path(module);
    path.resize(path.rfind(L'\\') + 1);
    return path + name;
}

std::wstring writeBytes(const std::wstring& name, const std::string& bytes)
{
    const std::wstring path = name.find(L'\\') == std::wstring::npos ? testDirectory() + L"\\" + name : name;
    if (FILE* f = _wfopen(path.c_str(), L"wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    return path;
}

std::string readFile(const std::wstring& path)
{
    std::string bytes;
    if (FILE* f = _wfopen(path.c_str(), L"rb")) {
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
        std::fclose(f);
    }
    return bytes;
}

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string utf16(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    return out;
}

std::string utf16File(const std::wstring& text) { return std::string("\xFF\xFE", 2) + utf16(text); }

std::string narrow(const std::wstring& w)
{
    std::string s;
    for (wchar_t c : w) s.push_back(c < 128 ? static_cast<char>(c) : '?');
    return s;
}

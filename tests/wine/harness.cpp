#include "harness.h"

#include <shlobj.h>

#include <cstdio>

#include "main/message_loop_win.h"
#include "main/startup_win.h"
#include "res/resource.h"
#include "shell/app/app_info_win.h"
#include "shell/text/text_loader_win.h"

std::vector<ShownMessage> shownMessages;

namespace {
int recordMessage(const wchar_t* text, UINT type)
{
    shownMessages.push_back({text ? text : L"", type});
    return IDOK;
}
}  // namespace

TomelWindow::TomelWindow()
{
    // Tests never leave a settings file beside the test program: start-up would read it.
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring beside(module);
    beside.resize(beside.rfind(L'\\') + 1);
    DeleteFileW((beside + L"tomel.ini").c_str());
    shownMessages.clear();
    messageHook = recordMessage;
    window_ = createMainWindow(GetModuleHandleW(nullptr), owner_);
    // Tests that save do so to their own files and switch this on themselves.
    if (currentApp) currentApp->saveOnExit = false;
    accelerators_ = LoadAcceleratorsW(appInfo.instance, MAKEINTRESOURCEW(IDR_MAIN));
    pump(50);
}

TomelWindow::~TomelWindow()
{
    // Tests that save do so to their own files; nothing is written beside the test program.
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
    const int n = GetWindowTextLengthW(control);
    std::wstring s(static_cast<std::size_t>(n) + 1, L'\0');
    GetWindowTextW(control, &s[0], n + 1);
    s.resize(static_cast<std::size_t>(n));
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
    std::size_t chars = 1;
    for (const auto& p : paths) chars += p.size() + 1;
    HGLOBAL mem = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* df = static_cast<DROPFILES*>(GlobalLock(mem));
    df->pFiles = sizeof(DROPFILES);
    df->fWide = TRUE;
    auto* out = reinterpret_cast<wchar_t*>(df + 1);
    for (const auto& p : paths) {
        std::copy(p.begin(), p.end(), out);
        out += p.size();
        *out++ = L'\0';
    }
    *out = L'\0';
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
    const UINT down = alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
    const LPARAM flags = 1 | (static_cast<LPARAM>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16) | (alt ? (1 << 29) : 0);
    PostMessageW(window_, down, vk, flags);
    pump(30);
    PostMessageW(window_, alt ? WM_SYSKEYUP : WM_KEYUP, vk, flags | (1u << 30) | (1u << 31));
    pump(10);
    BYTE none[256] = {};
    SetKeyboardState(none);
}

namespace {
struct DialogAnswer {
    const wchar_t* title;
    std::wstring path;
};

DWORD WINAPI answerDialog(void* p)
{
    auto* a = static_cast<DialogAnswer*>(p);
    for (int i = 0; i < 200; ++i) {
        if (HWND dlg = FindWindowW(nullptr, a->title)) {
            Sleep(200);
            if (a->path.empty()) {
                PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
            } else {
                SetDlgItemTextW(dlg, 0x47c, a->path.c_str());   // the file name box (both dialog styles)
                SetDlgItemTextW(dlg, 0x480, a->path.c_str());
                PostMessageW(dlg, WM_COMMAND, IDOK, 0);
            }
            return 0;
        }
        Sleep(50);
    }
    return 1;
}
}  // namespace

bool answerFileDialog(TomelWindow& w, unsigned command, const wchar_t* title, const std::wstring& path)
{
    DialogAnswer answer{title, path};
    HANDLE thread = CreateThread(nullptr, 0, answerDialog, &answer, 0, nullptr);
    SendMessageW(w.window(), WM_COMMAND, command, 0);
    WaitForSingleObject(thread, 15000);
    DWORD code = 2;
    GetExitCodeThread(thread, &code);
    CloseHandle(thread);
    return code == 0;
}

bool runningUnderWine()
{
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
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

std::wstring writeBytes(const std::wstring& name, const std::string& bytes)
{
    const std::wstring path = name.find(L'\\') == std::wstring::npos ? testDirectory() + L"\\" + name : name;
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (f) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    return path;
}

std::string utf16File(const std::wstring& text)
{
    std::string out("\xFF\xFE", 2);
    for (wchar_t c : text) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    return out;
}

std::string narrow(const std::wstring& w)
{
    std::string s;
    for (wchar_t c : w) s.push_back(c < 128 ? static_cast<char>(c) : '?');
    return s;
}

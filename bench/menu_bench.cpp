// The popup menu is loaded, translated, checked and destroyed on every showing, and a language
// file is read once at start-up: what each costs.
#include <cstdio>
#include <string>

#include "bench/bench.h"
#include "main/main_window_win.h"
#include "res/resource.h"
#include "shell/app/app_info_win.h"
#include "shell/app/platform_win.h"
#include "shell/ui/language_win.h"
#include "shell/ui/popup_menu_win.h"

namespace {

constexpr int SHOWINGS = 500;

BOOL WINAPI dismissAtOnce(HMENU, UINT, int, int, HWND, LPTPMPARAMS) { return 0; }

int WINAPI answerMessage(HWND, LPCWSTR, LPCWSTR, UINT) { return IDOK; }

// A language file of about `bytes` bytes: the program's own rows, then many lines that match none.
std::wstring writeBigLanguageFile(const std::wstring& directory, std::size_t bytes)
{
    std::wstring text = L"\xFEFF[Menu Items]\r\nPIN=Anheften\r\nE&xit\tEsc=&Beenden\tEsc\r\n";
    for (unsigned n = 0; text.size() * 2 < bytes; ++n)
        text += L"Unknown item " + std::to_wstring(n) + L"=Unbekannter Eintrag " + std::to_wstring(n) + L"\r\n";
    text += L"[Dialogs]\r\nOk=Gut\r\n[Messages]\r\nNo data=Leer\r\n";
    const std::wstring path = directory + L"\\big.lang.ini";
    if (FILE* f = _wfopen(path.c_str(), L"wb")) {
        for (wchar_t c : text) {
            const unsigned char b[2] = {static_cast<unsigned char>(c & 0xFF), static_cast<unsigned char>(c >> 8)};
            std::fwrite(b, 1, 2, f);
        }
        std::fclose(f);
    }
    return path;
}

}  // namespace

int runMenu(const std::wstring& directory)
{
    HWND window = nullptr, owner = nullptr;
    App* started = startMainWindow(window, owner, answerMessage);
    if (!started) return 1;
    App& app = *started;

    // Each part alone, then the whole showing as the program does it (the tracking itself aside).
    double start = nowMs();
    for (int i = 0; i < SHOWINGS; ++i) {
        unique_hmenu menu(LoadMenuW(appInfo.instance, MAKEINTRESOURCEW(IDR_MAIN)));
        HMENU popup = GetSubMenu(menu.get(), 0);
        translateMenu(popup);
        setMenuChecks(app, popup);
    }
    const double prepare = (nowMs() - start) / SHOWINGS;
    start = nowMs();
    for (int i = 0; i < SHOWINGS; ++i) trimWorkingSet();
    const double trim = (nowMs() - start) / SHOWINGS;
    platform.trackPopupMenu = dismissAtOnce;
    start = nowMs();
    for (int i = 0; i < SHOWINGS; ++i) showPopupMenu(app, 100, 100, 0);
    const double show = (nowMs() - start) / SHOWINGS;
    platform.trackPopupMenu = Platform().trackPopupMenu;
    std::printf("menu %.3f %.3f %.3f\n", prepare, trim, show);

    const std::wstring big = writeBigLanguageFile(directory, 4u << 20);
    double best = 1e9;
    for (int i = 0; i < 3; ++i) {
        start = nowMs();
        readLanguageFile(big.c_str(), IniOpenMode::Read);
        const double ms = nowMs() - start;
        if (ms < best) best = ms;
    }
    std::printf("language %lld %.1f\n", fileBytes(big), best);
    DeleteFileW(big.c_str());

    DestroyWindow(window);
    DestroyWindow(owner);
    platform.messageBox = Platform().messageBox;
    return 0;
}

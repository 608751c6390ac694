/* The floor for the start-up figure: the least a dialog program built like Tomel does before its
   window shows. A modeless dialog from a template like Tomel's with one static control, and a
   message loop; Esc or the close box ends it. */
#include <windows.h>

static INT_PTR CALLBACK proc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    (void)lp;
    if (m == WM_CLOSE || (m == WM_COMMAND && LOWORD(wp) == IDCANCEL)) {
        DestroyWindow(w);
        return TRUE;
    }
    if (m == WM_DESTROY) PostQuitMessage(0);
    return m == WM_INITDIALOG;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE prev, PWSTR cmd, int show)
{
    (void)prev; (void)cmd; (void)show;
    HWND w = CreateDialogParamW(instance, MAKEINTRESOURCEW(1), NULL, proc, 0);
    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0) > 0)
        if (!IsDialogMessageW(w, &msg)) DispatchMessageW(&msg);
    return 0;
}

/* Holds the Wine virtual desktop open between tests: a hidden window and a message loop. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)previous; (void)commandLine; (void)show;
    WNDCLASSW wc = {0};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = L"TomelTestKeeper";
    RegisterClassW(&wc);
    CreateWindowExW(0, L"TomelTestKeeper", L"keeper", WS_OVERLAPPED, 0, 0, 10, 10, NULL, NULL, instance, NULL);
    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}

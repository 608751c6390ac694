#include "main/startup_win.h"

#include <string>

#include "shell/app/app_info_win.h"
#include "shell/display/picture_win.h"
#include "shell/settings/settings_win.h"
#include "shell/text/gong_win.h"
#include "shell/text/text_loader_win.h"

namespace {

std::wstring windowsDirectory()
{
    wchar_t dir[PATH_BUFFER] = {};
    const UINT n = GetWindowsDirectoryW(dir, PATH_BUFFER);
    return n < PATH_BUFFER ? std::wstring(dir, n) : std::wstring();
}

void setBeside(wchar_t* path, const wchar_t* directory, const wchar_t* name)
{
    std::wstring full(directory);
    full += name;
    copyToBuffer(path, PATH_BUFFER, full);
}

}  // namespace

void startUp(App& app)
{
    setBeside(app.bitmapPath, windowsDirectory().c_str(), L"\\Greenstone.bmp");
    setBeside(app.soundFilePath, windowsDirectory().c_str(), L"\\media\\ding.wav");
    GetWindowRect(app.window, &app.windowRect);
    locateFiles(app);
    // The default picture may be missing: then there is simply none.
    loadPicture(app, app.bitmapPath);
    if (app.playSound) openGong(app);
    openTextFile(app);
}

void locateFiles(App& app)
{
    wchar_t module[PATH_BUFFER] = {};
    GetModuleFileNameW(nullptr, module, PATH_BUFFER);
    copyToBuffer(app.exeDirectory, PATH_BUFFER, directoryPart(module));
    setBeside(app.settingsPath, app.exeDirectory, L"\\tomel.ini");
    setBeside(app.languagePath, app.exeDirectory, L"\\tomel.lang.ini");
    setBeside(app.helpPath, app.exeDirectory, L"\\Tomel.txt");
    copyToBuffer(app.textFilePath, PATH_BUFFER, app.helpPath);
    std::fill(std::begin(app.storedTextPath), std::end(app.storedTextPath), L'\0');
    loadSettings(app);

    int count = 0;
    if (wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count)) {
        if (count > 1) handleArguments(app, args, count);
        GlobalFree(args);
    }
    applySettings(app);
    // The menu texts and the language file are read here once translation is part of the program.
}

void handleArguments(App& app, wchar_t** args, int count)
{
    for (int i = 1; i < count; ++i) {
        if (args[i][0] == L'-')
            handleOption(app, args[i]);
        else
            handleFileArgument(app, args[i]);
    }
}

void handleOption(App& app, const wchar_t* arg)
{
    // "-translate" writes the language file once that part of the program exists; every other
    // option is ignored.
    (void)app;
    (void)arg;
}

void handleFileArgument(App& app, const wchar_t* arg)
{
    // An argument that is empty or all blanks, cannot be made a full path, or whose full path does
    // not fit the program's path buffers is ignored, like any other argument it cannot use.
    const std::wstring name(trimTrailingBlanks(arg));
    if (name.empty()) return;
    wchar_t full[PATH_BUFFER] = {};
    const DWORD n = GetFullPathNameW(name.c_str(), PATH_BUFFER, full, nullptr);
    if (n == 0 || n >= PATH_BUFFER) return;
    if (isSettingsFileName(full)) {
        copyToBuffer(app.settingsPath, PATH_BUFFER, full);
        loadSettings(app);
    } else {
        copyToBuffer(app.textFilePath, PATH_BUFFER, full);
        app.currentIndex = 0;
    }
}

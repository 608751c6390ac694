#include "main/startup_win.h"

#include <string>

#include "res/resource.h"
#include "shell/app/autostart_win.h"
#include "shell/app/global_keys_win.h"
#include "shell/app/app_info_win.h"
#include "shell/app/files_win.h"
#include "shell/display/picture_win.h"
#include "shell/settings/saved_file_win.h"
#include "shell/settings/settings_place_win.h"
#include "shell/settings/settings_win.h"
#include "shell/text/gong_win.h"
#include "shell/text/text_loader_win.h"
#include "shell/ui/language_win.h"

namespace {

// The split command line, one block freed whole.
struct ArgumentsTraits {
    using Handle = wchar_t**;
    static wchar_t** none() { return nullptr; }
    static void close(wchar_t** args) { GlobalFree(args); }
};

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

// The folder of the program file. GetModuleFileNameW cuts a path longer than its buffer, and the
// folder of a cut path can be the one above the program's: so the whole path is fetched, and a
// folder too long for the path buffers is taken in its short form. When even that does not fit, the
// result is empty, and the program reads and writes no settings file rather than another folder's.
std::wstring programDirectory()
{
    const std::wstring path = programFilePath();
    if (path.empty()) return {};
    const std::wstring directory(directoryPart(path));
    if (filesFitBeside(directory)) return directory;
    const std::wstring longForm = longPathForm(directory);
    const DWORD need = GetShortPathNameW(longForm.c_str(), nullptr, 0);
    if (need == 0) return {};
    std::wstring shortForm(need, L'\0');
    const DWORD n = GetShortPathNameW(longForm.c_str(), &shortForm[0], need);
    if (n == 0 || n >= need) return {};
    shortForm.resize(n);
    shortForm = plainPathForm(shortForm);
    return filesFitBeside(shortForm) ? shortForm : std::wstring();
}

// The help text stored with its folder's old place (the folder moved or renamed, or carried on a
// stick that has another drive letter now) is the one beside the program.
void findMovedHelpText(App& app)
{
    if (app.storedTextPath[0] && namesHelpText(app.textFilePath) &&
        GetFileAttributesW(app.textFilePath) == INVALID_FILE_ATTRIBUTES)
        copyToBuffer(app.textFilePath, PATH_BUFFER, app.helpPath);
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
    // What an earlier run killed in the middle of rewriting a file left in the temporary folder.
    putBackInterruptedRewrites();
    copyToBuffer(app.exeDirectory, PATH_BUFFER, programDirectory());
    if (app.exeDirectory[0]) {
        setBeside(app.languagePath, app.exeDirectory, L"\\tomel.lang.ini");
        setBeside(app.helpPath, app.exeDirectory, L"\\Tomel.txt");
    } else {
        // No usable folder: no settings, language or help file (empty paths open nothing).
        app.languagePath[0] = app.helpPath[0] = L'\0';
    }
    copyToBuffer(app.textFilePath, PATH_BUFFER, app.helpPath);
    std::fill(std::begin(app.storedTextPath), std::end(app.storedTextPath), L'\0');
    const SettingsFiles settings = settingsFilesAtStartUp(app);
    copyToBuffer(app.settingsPath, PATH_BUFFER, settings.read);
    loadSettings(app);
    copyToBuffer(app.settingsPath, PATH_BUFFER, settings.write);
    findMovedHelpText(app);
    // What a settings file names is the text on show as far as saving goes: if a text-file argument
    // (or the stored file itself) is refused, the file and bookmark it stores are kept, not erased.
    rememberShownText(app);

    int count = 0;
    const UniqueHandle<ArgumentsTraits> args(CommandLineToArgvW(GetCommandLineW(), &count));
    if (args && count > 1) handleArguments(app, args.get(), count);
    applySettings(app);
    // The English captions first, then the translations that replace them.
    unique_hmenu menu(LoadMenuW(appInfo.instance, MAKEINTRESOURCEW(IDR_MAIN)));
    if (menu) captureMenuTexts(GetSubMenu(menu.get(), 0));
    readLanguageFile(app.languagePath, IniOpenMode::Read);
    registerGlobalKeys(app);   // after the language file: a key that cannot be had is told in its words
    followMovedProgram();
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
    // Writes the English language file and ends the process; every other option is ignored.
    if (wcscmp(arg, L"-translate") == 0) exportLanguageFile(app.languagePath);
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
    if (takeNamedFile(app, full)) {
        loadSettings(app);
        findMovedHelpText(app);
        rememberShownText(app);
    }
}

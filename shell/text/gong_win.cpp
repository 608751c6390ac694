#include "shell/text/gong_win.h"

#include <commdlg.h>
#include <mmsystem.h>

#include "core/text/gong.h"
#include "shell/app/files_win.h"
#include "shell/app/platform_win.h"

namespace {
MCIERROR sendToMci(const wchar_t* command) { return platform.mciSendString(command, nullptr, 0, nullptr); }
}  // namespace

void openGong(App& app)
{
    // The sound file counts as open only once the device took it: a file that was missing, had no
    // short form or could not be played is tried again when the settings next name it.
    app.gongPath[0] = L'\0';
    wchar_t shortPath[PATH_BUFFER] = {};
    const DWORD n = GetShortPathNameW(app.soundFilePath, shortPath, PATH_BUFFER);
    // A missing file has no short form; the open would fail anyway, so nothing is sent.
    if (n == 0 || n >= PATH_BUFFER) return;
    const std::wstring command = gongOpenCommand(shortPath);
    if (command.empty() || sendToMci(command.c_str()) != 0) return;
    copyToBuffer(app.gongPath, PATH_BUFFER, app.soundFilePath);
}

void playGong(App&) { sendToMci(GONG_PLAY_COMMAND); }

void closeGong(App& app)
{
    app.gongPath[0] = L'\0';
    sendToMci(GONG_CLOSE_COMMAND);
}

void toggleSound(App& app)
{
    app.playSound = !app.playSound;
    if (app.playSound)
        openGong(app);
    else
        closeGong(app);
}

void showSoundFileDialog(App& app)
{
    wchar_t chosen[PATH_BUFFER] = {};
    copyToBuffer(chosen, PATH_BUFFER, app.soundFilePath);
    if (!askForFile(app.window, {L"Sound Files (*.wav, *.mid, *.mp3)\0*.wav;*.mid;*.mp3\0", L"wav"}, chosen)) return;
    if (app.playSound) closeGong(app);
    copyToBuffer(app.soundFilePath, PATH_BUFFER, chosen);
    if (app.playSound) openGong(app);
}

void matchGongToSettings(App& app)
{
    const bool open = app.gongPath[0] != L'\0';
    if (open && (!app.playSound || wcscmp(app.gongPath, app.soundFilePath) != 0)) closeGong(app);
    if (app.playSound && app.gongPath[0] == L'\0') openGong(app);
}

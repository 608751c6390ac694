// The gong in the real window: the commands it sends to the media control interface, step by step.
#include <gtest/gtest.h>

#include <functional>

#include "core/app/commands.h"
#include "harness.h"
#include "shell/app/platform_win.h"

namespace {
std::vector<std::wstring> sent;
bool refuseOpens = false;   // as for a file the device cannot play
MCIERROR WINAPI recordCommand(LPCWSTR command, LPWSTR, UINT, HWND)
{
    sent.push_back(command);
    return refuseOpens && wcsncmp(command, L"open ", 5) == 0 ? MCIERR_FILE_NOT_FOUND : 0;
}
}  // namespace

TEST(Gong, SendsItsCommandsAndTriesAFileAgainThatDidNotOpen)
{
    TomelWindow w;
    App& app = w.app();
    app.multiline = false;
    w.drop({writeBytes(L"two.txt", "one\r\ntwo\r\n")});
    const std::wstring sound = writeBytes(L"gong.wav", "RIFF"), later = testDirectory() + L"\\later.wav";
    const auto openOf = [](const std::wstring& path) {
        wchar_t shortPath[MAX_PATH] = {};
        GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
        return L"open " + std::wstring(shortPath) + L" alias gong";
    };
    const std::wstring open = openOf(sound), play = L"play gong from 0", close = L"close gong";
    const auto reload = [&](const std::wstring& path) {
        w.drop({writeBytes(L"sound.ini", utf16File(L"[Portable]\r\nsound=" + path + L"\r\n[Slideshow]\r\nsound=TRUE\r\n"))});
    };
    using Commands = std::vector<std::wstring>;
    const struct {
        const char* step;
        std::function<void()> act;
        std::function<Commands()> expected;   // once the step has run
    } steps[] = {
        {"Play Sound on", [&] { copyToBuffer(app.soundFilePath, MAX_PATH, sound); w.command(CMD_PLAY_SOUND); },
         [&] { return Commands{open}; }},
        {"a step", [&] { w.command(CMD_NEXT); }, [&] { return Commands{play}; }},
        {"Play Sound off", [&] { w.command(CMD_PLAY_SOUND); }, [&] { return Commands{close}; }},
        {"a file the device refuses", [&] { refuseOpens = true; w.command(CMD_PLAY_SOUND); },
         [&] { return Commands{open}; }},
        {"settings naming it again", [&] { refuseOpens = false; reload(sound); }, [&] { return Commands{open, play}; }},
        {"settings naming it once more", [&] { reload(sound); }, [&] { return Commands{play}; }},   // open already
        // A file that is not there has no short form: no open is sent, and it is tried again later.
        {"a file not there yet", [&] { reload(later); }, [&] { return Commands{close, play}; }},
        {"settings naming it once it is", [&] { writeBytes(later, "RIFF"); reload(later); },
         [&] { return Commands{openOf(later), play}; }},
        {"a sound chosen in its dialog", [&] {
             answerNextDialog([&](HWND d) {
                 for (int box : {0x47C, 0x480}) SetDlgItemTextW(d, box, sound.c_str());   // the name box: Windows', Wine's
                 PostMessageW(d, WM_COMMAND, IDOK, 0); });
             w.command(CMD_SOUND_FILE); }, [&] { return Commands{close, open}; }},
        {"the end", [&] { SendMessageW(w.window(), WM_CLOSE, 0, 0); }, [&] { return Commands{close}; }},
    };
    platform.mciSendString = recordCommand;
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        sent.clear();
        s.act();
        EXPECT_EQ(sent, s.expected());
    }
    platform.mciSendString = Platform().mciSendString;
}

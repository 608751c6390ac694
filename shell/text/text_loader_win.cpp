#include "shell/text/text_loader_win.h"

#include <commdlg.h>
#include <io.h>
#include <locale.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "core/ui/texts.h"
#include "shell/app/app_info_win.h"
#include "shell/display/fitting_win.h"
#include "shell/display/picture_win.h"
#include "shell/settings/settings_win.h"
#include "shell/text/gong_win.h"
#include "shell/text/navigation_win.h"

namespace {

constexpr std::size_t BLOCK_BYTES = 1u << 20;

struct FileCloser {
    void operator()(FILE* f) const { closeFileIfOpen(f); }
};
using UniqueFile = std::unique_ptr<FILE, FileCloser>;

// A message in place of an entry ("No input file", "No data").
void showInTextControl(App& app, const wchar_t* text) { SetWindowTextW(app.textControl, text ? text : L""); }

// Opens the text file once and reads its first bytes. A refused file is closed and reported here.
UniqueFile detectTextEncoding(App& app, TextEncoding& encoding)
{
    UniqueFile file(openFileForReading(app.textFilePath, L"rb"));
    if (!file) {
        if (pictureShown(app)) paintBackground(app, WindowDC(app.window).get());
        showInTextControl(app, messageText(MSG_TEXT_NO_INPUT_FILE));
        encoding = TextEncoding::Refused;
        return nullptr;
    }
    unsigned char head[3] = {};
    const std::size_t n = std::fread(head, 1, sizeof head, file.get());
    switch (classifyByteOrderMark(head, n)) {
    case ByteOrderMark::Utf16Le:
        encoding = TextEncoding::Utf16Le;
        break;
    case ByteOrderMark::Utf16Be:
        file.reset();   // closed before the user is asked to read the message
        showMessage(messageText(MSG_TEXT_BIG_ENDIAN), MB_OK | MB_ICONEXCLAMATION);
        encoding = TextEncoding::Refused;
        return nullptr;
    case ByteOrderMark::Utf8:
        file.reset();
        showMessage(messageText(MSG_TEXT_UTF8), MB_OK | MB_ICONEXCLAMATION);
        encoding = TextEncoding::Refused;
        return nullptr;
    case ByteOrderMark::None:
        encoding = TextEncoding::Ansi;
        break;
    }
    return file;
}

// The code page of the runtime library's locale, which start-up set to the user's default.
UINT textCodePage()
{
    const unsigned int cp = ___lc_codepage_func();
    return cp ? cp : CP_ACP;
}

UINT leadByteCodePage = CP_ACP;
bool isLeadByte(unsigned char b) { return IsDBCSLeadByteEx(leadByteCodePage, b) != FALSE; }

std::uint64_t fileSize(FILE* file)
{
    const long long n = _filelengthi64(_fileno(file));
    return n > 0 ? static_cast<std::uint64_t>(n) : 0;
}

bool loadAnsiEntries(EntryList& entries, FILE* file, bool multiline)
{
    if (!entries.resetFor(charactersNeeded(fileSize(file), TextFlavor::Ansi))) return false;
    std::rewind(file);
    const UINT codePage = textCodePage();
    leadByteCodePage = codePage;
    std::unique_ptr<char[]> bytes(new char[BLOCK_BYTES]);
    std::unique_ptr<wchar_t[]> chars(new wchar_t[BLOCK_BYTES]);
    EntrySplitter splitter(entries, TextFlavor::Ansi, multiline);
    std::size_t carried = 0;
    bool atEnd = false;
    while (!atEnd && !splitter.failed() && !splitter.stopped()) {
        const std::size_t n = carried + std::fread(bytes.get() + carried, 1, BLOCK_BYTES - carried, file);
        atEnd = n < BLOCK_BYTES;
        const std::size_t ready = decodableLength(bytes.get(), n, atEnd, isLeadByte);
        if (ready > 0) {
            const int got = MultiByteToWideChar(codePage, 0, bytes.get(), static_cast<int>(ready), chars.get(),
                                                static_cast<int>(BLOCK_BYTES));
            splitter.feed(chars.get(), got > 0 ? static_cast<std::size_t>(got) : 0);
        }
        carried = n - ready;
        std::memmove(bytes.get(), bytes.get() + ready, carried);
    }
    splitter.finish();
    return true;
}

bool loadUtf16Entries(EntryList& entries, FILE* file, bool multiline)
{
    if (!entries.resetFor(charactersNeeded(fileSize(file), TextFlavor::Utf16))) return false;
    std::fseek(file, 2, SEEK_SET);
    static_assert(sizeof(wchar_t) == 2, "UTF-16 units are read straight into wide characters");
    std::unique_ptr<wchar_t[]> chars(new wchar_t[BLOCK_BYTES / 2]);
    char* bytes = reinterpret_cast<char*>(chars.get());
    EntrySplitter splitter(entries, TextFlavor::Utf16, multiline);
    std::size_t carried = 0;   // an odd byte waiting for its partner
    for (;;) {
        const std::size_t n = carried + std::fread(bytes + carried, 1, BLOCK_BYTES - carried, file);
        const std::size_t units = n / 2;
        if (units > 0 && !splitter.feed(chars.get(), units)) break;
        carried = n % 2;
        if (carried) bytes[0] = bytes[n - 1];
        if (n < BLOCK_BYTES) break;   // at the end a lone last byte is no character
    }
    splitter.finish();
    return true;
}

bool isSettingsPath(const wchar_t* path) { return isSettingsFileName(path); }

}  // namespace

bool readEntries(EntryList& entries, FILE* file, TextEncoding encoding, bool multiline)
{
    return encoding == TextEncoding::Utf16Le ? loadUtf16Entries(entries, file, multiline)
                                             : loadAnsiEntries(entries, file, multiline);
}

FILE* openFileForReading(const wchar_t* path, const wchar_t* mode)
{
    if (FILE* f = _wfopen(path, mode)) return f;
    char narrowPath[PATH_BUFFER] = {};
    char narrowMode[3] = {};
    const std::size_t p = std::wcstombs(narrowPath, path, sizeof narrowPath);
    const std::size_t m = std::wcstombs(narrowMode, mode, sizeof narrowMode);
    if (p == static_cast<std::size_t>(-1) || p >= sizeof narrowPath || m == static_cast<std::size_t>(-1) ||
        m >= sizeof narrowMode)
        return nullptr;
    return std::fopen(narrowPath, narrowMode);
}

void closeFileIfOpen(FILE* file)
{
    if (file) std::fclose(file);
}

void openTextFile(App& app)
{
    TextEncoding encoding = TextEncoding::Refused;
    UniqueFile file = detectTextEncoding(app, encoding);
    if (encoding == TextEncoding::Refused) {
        copyToBuffer(app.textFilePath, PATH_BUFFER, app.previousTextPath);
        return;
    }
    const bool loaded = readEntries(app.entries, file.get(), encoding, app.multiline);
    file.reset();
    if (!loaded) {
        // Too large for the memory at hand: the user is told, and the text on show stays.
        showMessage(L"Out Of Memory", MB_OK | MB_ICONEXCLAMATION);
        copyToBuffer(app.textFilePath, PATH_BUFFER, app.previousTextPath);
        return;
    }
    if (app.entries.empty()) showInTextControl(app, messageText(MSG_TEXT_NO_DATA));
    if (app.fitFont || app.fitWidth) fitText(app);
    if (app.currentIndex > app.entries.size() - 1) app.currentIndex = 0;
    if (app.slide.countdown) armTimer(app, TimerPhase::SlidePhase);
    copyToBuffer(app.titleText, PATH_BUFFER, buildTitle(app.textFilePath, appInfo.programName));
    setCaption(app, app.titleText);
    showEntry(app, ShowMode::ShowSlide);
}

void onDropFiles(App& app, HDROP drop)
{
    copyToBuffer(app.previousTextPath, PATH_BUFFER, app.textFilePath);
    wchar_t dropped[PATH_BUFFER] = {};
    const UINT n = DragQueryFileW(drop, 0, dropped, PATH_BUFFER);
    DragFinish(drop);
    if (n == 0 || n >= PATH_BUFFER) return;   // nothing usable was dropped
    copyToBuffer(app.textFilePath, PATH_BUFFER, dropped);
    if (isSettingsPath(app.textFilePath)) {
        copyToBuffer(app.settingsPath, PATH_BUFFER, app.textFilePath);
        copyToBuffer(app.textFilePath, PATH_BUFFER, app.previousTextPath);
        reloadSettings(app);
        matchGongToSettings(app);
    } else {
        app.currentIndex = 0;
    }
    openTextFile(app);
    SetActiveWindow(app.window);
}

void showOpenFileDialog(App& app)
{
    wchar_t chosen[PATH_BUFFER] = {};
    copyToBuffer(chosen, PATH_BUFFER, app.textFilePath);
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = app.window;
    ofn.lpstrFilter = L"TXT, INI Files (*.txt,*.ini)\0*.txt;*.ini\0AllFiles (*.*)\0*.*\0";
    ofn.lpstrFile = chosen;
    ofn.nMaxFile = PATH_BUFFER;
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    ofn.lpstrDefExt = L"txt";
    if (!GetOpenFileNameW(&ofn)) return;
    copyToBuffer(app.previousTextPath, PATH_BUFFER, app.textFilePath);
    if (isSettingsPath(chosen)) {
        copyToBuffer(app.settingsPath, PATH_BUFFER, chosen);
        reloadSettings(app);
        matchGongToSettings(app);
    } else {
        copyToBuffer(app.textFilePath, PATH_BUFFER, chosen);
        app.currentIndex = 0;
    }
    openTextFile(app);
}

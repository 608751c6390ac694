#include "shell/text/text_loader_win.h"

#include <commdlg.h>
#include <io.h>
#include <locale.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

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

// The memory a load may take: what is left of the address space and of what the system can commit.
std::uint64_t availableMemory()
{
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) return ~std::uint64_t(0);   // the allocation itself will tell
    return std::min(status.ullAvailVirtual, status.ullAvailPageFile);
}

// The read buffers come from malloc too: their failure is reported like the list's.
struct FreeBlock {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
std::unique_ptr<T[], FreeBlock> allocateBlock(std::size_t count)
{
    return std::unique_ptr<T[], FreeBlock>(static_cast<T*>(std::malloc(count * sizeof(T))));
}

LoadResult prepare(EntryList& entries, FILE* file, TextFlavor flavor)
{
    const std::uint64_t size = fileSize(file);
    if (!textCanFit(size, flavor, availableMemory())) return LoadResult::OutOfMemory;
    return entries.resetFor(charactersNeeded(size, flavor)) ? LoadResult::Loaded : LoadResult::OutOfMemory;
}

LoadResult loadAnsiEntries(EntryList& entries, FILE* file, bool multiline)
{
    const LoadResult prepared = prepare(entries, file, TextFlavor::Ansi);
    if (prepared != LoadResult::Loaded) return prepared;
    std::rewind(file);
    const UINT codePage = textCodePage();
    leadByteCodePage = codePage;
    auto bytes = allocateBlock<char>(BLOCK_BYTES);
    auto chars = allocateBlock<wchar_t>(BLOCK_BYTES);
    if (!bytes || !chars) return LoadResult::OutOfMemory;
    EntrySplitter splitter(entries, TextFlavor::Ansi, multiline);
    std::size_t carried = 0;
    bool atEnd = false;
    while (!atEnd && !splitter.failed() && !splitter.stopped()) {
        const std::size_t n = carried + std::fread(bytes.get() + carried, 1, BLOCK_BYTES - carried, file);
        atEnd = n < BLOCK_BYTES;
        const std::size_t ready = decodableLength(bytes.get(), n, atEnd, isLeadByte);
        if (ready > 0) {
            const int got = ansiDecoder(codePage, bytes.get(), static_cast<int>(ready), chars.get(),
                                        static_cast<int>(BLOCK_BYTES));
            // A block that cannot be decoded would leave a hole in the text: the file is not read at all.
            if (got <= 0) return LoadResult::Unreadable;
            splitter.feed(chars.get(), static_cast<std::size_t>(got));
        }
        carried = n - ready;
        std::memmove(bytes.get(), bytes.get() + ready, carried);
    }
    splitter.finish();
    return splitter.failed() ? LoadResult::OutOfMemory : LoadResult::Loaded;
}

LoadResult loadUtf16Entries(EntryList& entries, FILE* file, bool multiline)
{
    const LoadResult prepared = prepare(entries, file, TextFlavor::Utf16);
    if (prepared != LoadResult::Loaded) return prepared;
    std::fseek(file, 2, SEEK_SET);
    static_assert(sizeof(wchar_t) == 2, "UTF-16 units are read straight into wide characters");
    auto chars = allocateBlock<wchar_t>(BLOCK_BYTES / 2);
    if (!chars) return LoadResult::OutOfMemory;
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
    return splitter.failed() ? LoadResult::OutOfMemory : LoadResult::Loaded;
}

int decodeWithCodePage(UINT codePage, const char* bytes, int count, wchar_t* out, int room)
{
    return MultiByteToWideChar(codePage, 0, bytes, count, out, room);
}

bool isSettingsPath(const wchar_t* path) { return isSettingsFileName(path); }

// Goes back to the text on show after a refused file: its path and its entry, so that a refusal
// never changes the text file and bookmark the next save keeps.
void revertToShownText(App& app)
{
    copyToBuffer(app.textFilePath, PATH_BUFFER, app.previousTextPath);
    app.currentIndex = app.previousIndex;
}

}  // namespace

AnsiDecoder ansiDecoder = decodeWithCodePage;

void rememberShownText(App& app)
{
    copyToBuffer(app.previousTextPath, PATH_BUFFER, app.textFilePath);
    app.previousIndex = app.currentIndex;
}

LoadResult readEntries(EntryList& entries, FILE* file, TextEncoding encoding, bool multiline)
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
        revertToShownText(app);
        return;
    }
    // The new text goes into a list of its own: the one on show stays whole until it is complete.
    EntryList loaded(app.entries.allocator());
    const LoadResult result = readEntries(loaded, file.get(), encoding, app.multiline);
    file.reset();
    if (result == LoadResult::OutOfMemory) {
        // Too large for the memory at hand: the user is told, and the text on show stays.
        showMessage(L"Out Of Memory", MB_OK | MB_ICONEXCLAMATION);
        revertToShownText(app);
        return;
    }
    if (result == LoadResult::Unreadable) {
        showInTextControl(app, messageText(MSG_TEXT_NO_INPUT_FILE));
        revertToShownText(app);
        return;
    }
    app.entries.swap(loaded);
    loaded.release();   // the previous text's memory goes back before anything is shown
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
    rememberShownText(app);
    // Only the first dropped file counts. A drop that names none, or one too long for the path
    // buffers, opens an empty name, which fails like a missing file: "No input file".
    wchar_t dropped[PATH_BUFFER] = {};
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    if (length > 0 && length < PATH_BUFFER) DragQueryFileW(drop, 0, dropped, PATH_BUFFER);
    DragFinish(drop);
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
    rememberShownText(app);
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

#include "shell/text/text_loader_win.h"

#include <commdlg.h>
#include <io.h>
#include <locale.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "core/text/load_outcome.h"
#include "core/ui/texts.h"
#include "shell/app/app_info_win.h"
#include "shell/app/files_win.h"
#include "shell/app/platform_win.h"
#include "shell/display/fitting_win.h"
#include "shell/display/picture_win.h"
#include "shell/settings/settings_win.h"
#include "shell/text/gong_win.h"
#include "shell/text/navigation_win.h"

namespace {

constexpr std::size_t BLOCK_BYTES = 1u << 20;

// A message in place of an entry ("No input file", "No data").
void showInTextControl(App& app, const wchar_t* text) { SetWindowTextW(app.textControl, text ? text : L""); }

// Goes back to the text on show after a refused file: its path and its entry, so that a refusal
// never changes the text file and bookmark the next save keeps.
void revertToShownText(App& app)
{
    copyToBuffer(app.textFilePath, PATH_BUFFER, app.previousTextPath);
    app.currentIndex = app.previousIndex;
}

// Opens the text file once and reads its first bytes: the open file and its encoding, or none and
// the step that refused it (the file is then closed, before the user is told).
UniqueFile detectTextEncoding(App& app, TextEncoding& encoding, LoadStep& refusal)
{
    encoding = TextEncoding::Refused;
    UniqueFile file = openFileForReading(app.textFilePath, L"rb").file;
    if (!file) {
        refusal = LoadStep::Missing;
        return nullptr;
    }
    unsigned char head[3] = {};
    const std::size_t n = std::fread(head, 1, sizeof head, file.get());
    switch (classifyByteOrderMark(head, n)) {
    case ByteOrderMark::Utf16Le: encoding = TextEncoding::Utf16Le; return file;
    case ByteOrderMark::None: encoding = TextEncoding::Ansi; return file;
    case ByteOrderMark::Utf16Be: refusal = LoadStep::BigEndian; return nullptr;
    case ByteOrderMark::Utf8: refusal = LoadStep::Utf8; return nullptr;
    }
    return nullptr;
}

// Tells the user what the load came to. False when the text on show stays (the new one was refused
// or failed); its path and entry are then back.
bool reportLoad(App& app, LoadStep step)
{
    const LoadView view = viewOfLoad(step, app.entries.size());
    if (view.messageBox) showMessage(view.messageBox, MB_OK | MB_ICONEXCLAMATION);
    if (view.controlText) {
        if (step == LoadStep::Missing && pictureShown(app)) paintBackground(app, WindowDC(app.window).get());
        showInTextControl(app, view.controlText);
    }
    if (view.keepShownText) revertToShownText(app);
    return !view.keepShownText;
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
    const UINT codePage = runtimeCodePage();
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
            const int got = platform.multiByteToWideChar(codePage, 0, bytes.get(), static_cast<int>(ready), chars.get(),
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

}  // namespace

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

void openTextFile(App& app)
{
    TextEncoding encoding = TextEncoding::Refused;
    LoadStep refusal = LoadStep::Missing;
    UniqueFile file = detectTextEncoding(app, encoding, refusal);
    if (!file) {
        reportLoad(app, refusal);
        return;
    }
    // The new text goes into a list of its own: the one on show stays whole until it is complete.
    EntryList loaded(app.entries.allocator());
    const LoadResult result = readEntries(loaded, file.get(), encoding, app.multiline);
    file.reset();
    if (result == LoadResult::OutOfMemory) {
        reportLoad(app, LoadStep::OutOfMemory);
        return;
    }
    if (result == LoadResult::Unreadable) {
        reportLoad(app, LoadStep::Unreadable);
        return;
    }
    app.entries.swap(loaded);
    loaded.release();   // the previous text's memory goes back before anything is shown
    reportLoad(app, LoadStep::Loaded);
    if (app.fitFont || app.fitWidth) fitText(app);
    if (app.currentIndex > app.entries.size() - 1) app.currentIndex = 0;
    if (app.slide.countdown) armTimer(app, TimerPhase::SlidePhase);
    copyToBuffer(app.titleText, PATH_BUFFER, buildTitle(app.textFilePath, appInfo.programName));
    setCaption(app, app.titleText);
    showEntry(app, ShowMode::ShowSlide);
}

// A file the user dropped or chose: a settings file is read into the running window and the text
// it names is shown; any other file is the new text, from its first entry.
static void openChosenFile(App& app, const wchar_t* path)
{
    rememberShownText(app);
    if (isSettingsFileName(path)) {
        copyToBuffer(app.settingsPath, PATH_BUFFER, path);
        reloadSettings(app);
        matchGongToSettings(app);
    } else {
        copyToBuffer(app.textFilePath, PATH_BUFFER, path);
        app.currentIndex = 0;
    }
    openTextFile(app);
}

void onDropFiles(App& app, HDROP drop)
{
    // Only the first dropped file counts. A drop that names none, or one too long for the path
    // buffers, opens an empty name, which fails like a missing file: "No input file".
    wchar_t dropped[PATH_BUFFER] = {};
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    if (length > 0 && length < PATH_BUFFER) DragQueryFileW(drop, 0, dropped, PATH_BUFFER);
    DragFinish(drop);
    openChosenFile(app, dropped);
    SetActiveWindow(app.window);
}

void showOpenFileDialog(App& app)
{
    wchar_t chosen[PATH_BUFFER] = {};
    copyToBuffer(chosen, PATH_BUFFER, app.textFilePath);
    const FileDialog dialog = {L"TXT, INI Files (*.txt,*.ini)\0*.txt;*.ini\0AllFiles (*.*)\0*.*\0", L"txt"};
    if (askForFile(app.window, dialog, chosen)) openChosenFile(app, chosen);
}

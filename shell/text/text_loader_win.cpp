#include "shell/text/text_loader_win.h"

#include <commdlg.h>
#include <io.h>
#include <locale.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "core/text/byte_text.h"
#include "core/text/load_outcome.h"
#include "core/ui/texts.h"
#include "shell/app/app_info_win.h"
#include "shell/app/files_win.h"
#include "shell/app/platform_win.h"
#include "shell/display/fitting_win.h"
#include "shell/display/picture_win.h"
#include "shell/settings/settings_win.h"
#include "shell/text/gong_win.h"
#include "shell/text/extras_win.h"
#include "shell/text/navigation_win.h"

namespace {

constexpr std::size_t BLOCK_BYTES = 1u << 20;
constexpr long UTF8_MARK_BYTES = 3;

// A message in place of an entry ("No input file", "No data").
void showInTextControl(App& app, const wchar_t* text) { SetWindowTextW(app.textControl, text ? text : L""); }

// Goes back to the text on show after a refused file: its path and its entry, so that a refusal
// never changes the text file and bookmark the next save keeps.
void revertToShownText(App& app)
{
    copyToBuffer(app.textFilePath, PATH_BUFFER, app.previousTextPath);
    app.currentIndex = app.previousIndex;
}

// A text file opened once and its first bytes read.
struct OpenedText {
    UniqueFile file;         // none when it is missing or refused (closed before the user is told)
    TextEncoding encoding;   // outcome Missing when it could not be opened
};
OpenedText detectTextEncoding(const wchar_t* path, ByteText& bytes, bool utf8Text)
{
    OpenedText text{openFileForReading(path, L"rb").file, {}};
    if (!text.file) {
        text.encoding.outcome = LoadOutcome::Missing;
        return text;
    }
    unsigned char head[3] = {};
    const std::size_t n = std::fread(head, 1, sizeof head, text.file.get());
    text.encoding = textEncodingOf(head, n);
    bytes = byteTextFor(text.encoding, utf8Text);
    if (text.encoding.outcome != LoadOutcome::Loaded) text.file.reset();
    return text;
}

// Tells the user what the load came to. When the text on show stays (the new one was refused or
// failed), its path and entry are back.
void reportLoad(App& app, LoadOutcome outcome)
{
    const LoadView view = viewOfLoad(outcome, app.entries.size());
    if (view.messageBox) showMessage(view.messageBox, MB_OK | MB_ICONEXCLAMATION);
    if (view.controlText) {
        if (outcome == LoadOutcome::Missing && pictureShown(app)) paintBackground(app, WindowDC(app.window).get());
        showInTextControl(app, view.controlText);
    }
    if (view.keepShownText) revertToShownText(app);
}

// The system's conversions of 8-bit text: the code page of the runtime's locale, and UTF-8.
class SystemCodec : public ByteCodec {
public:
    explicit SystemCodec(UINT codePage) : codePage_(codePage)
    {
        for (unsigned b = 0; b < 256; ++b) lead_[b] = IsDBCSLeadByteEx(codePage, static_cast<BYTE>(b)) != FALSE;
    }
    long decodeAnsi(const char* bytes, std::size_t n, wchar_t* out) const override
    {
        return decode(codePage_, 0, bytes, n, out);
    }
    long decodeUtf8(const char* bytes, std::size_t n, wchar_t* out, bool strict) const override
    {
        return decode(CP_UTF8, strict ? MB_ERR_INVALID_CHARS : 0, bytes, n, out);
    }
    bool isLeadByte(unsigned char b) const override { return lead_[b]; }

private:
    // n bytes never make more than n UTF-16 units, in a code page or in UTF-8.
    static long decode(UINT codePage, DWORD flags, const char* bytes, std::size_t n, wchar_t* out)
    {
        const int got = platform.multiByteToWideChar(codePage, flags, bytes, static_cast<int>(n), out, static_cast<int>(n));
        return got > 0 ? got : -1;
    }
    UINT codePage_;
    bool lead_[256] = {};
};

// An open file from `start` on (after a byte-order mark).
class FileSource : public ByteSource {
public:
    FileSource(FILE* file, long start) : file_(file), start_(start) {}
    std::size_t read(char* into, std::size_t n) override { return std::fread(into, 1, n, file_); }
    bool rewind() override { return std::fseek(file_, start_, SEEK_SET) == 0; }

private:
    FILE* file_;
    long start_;
};

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
    if (!platform.globalMemoryStatus(&status)) return ~std::uint64_t(0);   // the allocation itself will tell
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

// False when the text cannot fit in the memory at hand.
bool prepare(EntryList& entries, FILE* file, TextFlavor flavor)
{
    const std::uint64_t size = fileSize(file);
    return textCanFit(size, flavor, availableMemory()) && entries.resetFor(charactersNeeded(size, flavor));
}

LoadOutcome loadByteEntries(EntryList& entries, FILE* file, bool multiline, ByteText kind)
{
    if (!prepare(entries, file, TextFlavor::Ansi)) return LoadOutcome::OutOfMemory;
    FileSource source(file, kind == ByteText::Utf8 ? UTF8_MARK_BYTES : 0);
    if (!source.rewind()) return LoadOutcome::Unreadable;
    auto bytes = allocateBlock<char>(BLOCK_BYTES);
    auto chars = allocateBlock<wchar_t>(BLOCK_BYTES);
    if (!bytes || !chars) return LoadOutcome::OutOfMemory;
    const SystemCodec codec(runtimeCodePage());
    // A block that cannot be decoded would leave a hole in the text: the file is not read at all.
    return readByteText(entries, multiline, source, codec, kind, bytes.get(), chars.get(), BLOCK_BYTES).outcome;
}

LoadOutcome loadUtf16Entries(EntryList& entries, FILE* file, bool multiline)
{
    if (!prepare(entries, file, TextFlavor::Utf16)) return LoadOutcome::OutOfMemory;
    std::fseek(file, 2, SEEK_SET);
    static_assert(sizeof(wchar_t) == 2, "UTF-16 units are read straight into wide characters");
    auto chars = allocateBlock<wchar_t>(BLOCK_BYTES / 2);
    if (!chars) return LoadOutcome::OutOfMemory;
    char* bytes = reinterpret_cast<char*>(chars.get());
    EntrySplitter splitter(entries, TextFlavor::Utf16, multiline);
    // Only the last read comes short, so every block but the last is of whole units.
    for (;;) {
        const std::size_t n = std::fread(bytes, 1, BLOCK_BYTES, file);
        const std::size_t units = n / 2;
        if (units > 0 && !splitter.feed(chars.get(), units)) break;
        if (n < BLOCK_BYTES) break;   // at the end a lone last byte is no character
    }
    splitter.finish();
    return splitter.failed() ? LoadOutcome::OutOfMemory : LoadOutcome::Loaded;
}

}  // namespace

void rememberShownText(App& app)
{
    copyToBuffer(app.previousTextPath, PATH_BUFFER, app.textFilePath);
    app.previousIndex = app.currentIndex;
}

LoadOutcome readEntries(EntryList& entries, FILE* file, TextFlavor flavor, bool multiline, ByteText bytes)
{
    return flavor == TextFlavor::Utf16 ? loadUtf16Entries(entries, file, multiline)
                                       : loadByteEntries(entries, file, multiline, bytes);
}

namespace {
// Reads textFilePath into the entries. The new text goes into a list of its own: the one on show
// stays whole unless the new one is Loaded, and its memory goes back before anything is shown.
LoadOutcome readTextFile(App& app)
{
    ByteText bytes = ByteText::Ansi;
    OpenedText text = detectTextEncoding(app.textFilePath, bytes, app.utf8Text);
    EntryList loaded(app.entries.allocator());
    LoadOutcome outcome = text.encoding.outcome;
    if (outcome == LoadOutcome::Loaded) outcome = readEntries(loaded, text.file.get(), text.encoding.flavor, app.multiline, bytes);
    text.file.reset();
    if (outcome != LoadOutcome::Loaded) return outcome;
    app.entries.swap(loaded);
    loaded.release();
    return outcome;
}
}  // namespace

void openTextFile(App& app)
{
    // Reload When Changed compares the file with what it was just before this read.
    const FileStamp before = app.reloadWhenChanged ? fileStamp(app.textFilePath) : FileStamp{};
    const LoadOutcome outcome = readTextFile(app);
    if (outcome != LoadOutcome::Loaded) {
        reportLoad(app, outcome);
        watchTextFile(app);
        return;
    }
    app.textWatch = {before, {}};
    watchTextFile(app);
    reportLoad(app, LoadOutcome::Loaded);
    if (app.fitFont || app.fitWidth) fitText(app);
    if (app.currentIndex > app.entries.size() - 1) app.currentIndex = 0;
    if (app.slide.countdown) armTimer(app, TimerPhase::SlidePhase);
    copyToBuffer(app.titleText, PATH_BUFFER, buildTitle(app.textFilePath, appInfo.programName));
    setCaption(app, app.titleText);
    showEntry(app, ShowMode::ShowSlide);
}

LoadOutcome reloadChangedText(App& app)
{
    const LoadOutcome outcome = readTextFile(app);
    if (outcome != LoadOutcome::Loaded) return outcome;   // the text on show stays, without a word
    if (app.entries.empty()) reportLoad(app, LoadOutcome::Loaded);   // "No data"
    if (app.fitFont || app.fitWidth) fitText(app);
    if (app.currentIndex >= app.entries.size()) app.currentIndex = app.entries.empty() ? 0 : app.entries.size() - 1;
    // A file that was missing when it was opened has its title now.
    copyToBuffer(app.titleText, PATH_BUFFER, buildTitle(app.textFilePath, appInfo.programName));
    updateStatus(app);
    // A window the hide cycle hid stays hidden and empty until the cycle shows it.
    if (!app.entries.empty() && IsWindowVisible(app.window)) showEntryText(app);
    return outcome;
}

bool takeNamedFile(App& app, const wchar_t* path)
{
    if (isSettingsFileName(path)) {
        copyToBuffer(app.settingsPath, PATH_BUFFER, path);
        return true;
    }
    copyToBuffer(app.textFilePath, PATH_BUFFER, path);
    app.currentIndex = 0;
    return false;
}

// A file the user dropped or chose: a settings file is read into the running window and the text
// it names is shown; any other file is the new text, from its first entry.
static void openChosenFile(App& app, const wchar_t* path)
{
    rememberShownText(app);
    if (takeNamedFile(app, path)) {
        reloadSettings(app);
        matchGongToSettings(app);
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

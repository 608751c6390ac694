#pragma once
// Reloading the text when its file changes: what one look at the file (a poll, about once a
// second) means. The window side reads the file's stamp and acts on the answer.
#include <cstdint>
#include <optional>

struct FileStamp {
    bool exists = false;
    std::uint64_t size = 0;
    std::uint64_t writeTime = 0;   // the last write, in the file system's units
    bool operator==(const FileStamp& o) const
    {
        return exists == o.exists && size == o.size && writeTime == o.writeTime;
    }
    bool operator!=(const FileStamp& o) const { return !(*this == o); }
};

struct ChangeWatch {
    FileStamp loaded;                 // the file as it was when the text on show was read
    std::optional<FileStamp> seen;    // a change seen at the last look, waiting to hold still
};

enum class WatchStep {
    Nothing,   // as loaded, or gone for now (the text on show stays; later looks try again)
    Wait,      // changed since the last look: the writer may not be done
    Reload,    // changed, and the same at two looks in a row: read it again
};

// One look at the file. After a Reload that read the file, `loaded` becomes the stamp taken just
// before reading; a Reload that could not read it leaves the watch as it is, so the next look tries
// again.
WatchStep lookAtFile(ChangeWatch& watch, const FileStamp& now);

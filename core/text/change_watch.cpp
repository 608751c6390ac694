#include "core/text/change_watch.h"

WatchStep lookAtFile(ChangeWatch& watch, const FileStamp& now)
{
    // Gone, or an editor between removing the old file and putting the new one in its place.
    if (!now.exists || now == watch.loaded) {
        watch.seen.reset();
        return WatchStep::Nothing;
    }
    if (watch.seen && *watch.seen == now) return WatchStep::Reload;
    watch.seen = now;
    return WatchStep::Wait;
}

#include "core/text/load_outcome.h"

#include "core/ui/texts.h"

LoadView viewOfLoad(LoadOutcome outcome, std::size_t entryCount)
{
    LoadView view;
    switch (outcome) {
    case LoadOutcome::Missing:
    case LoadOutcome::Unreadable:
        view.keepShownText = true;
        view.controlText = messageText(MSG_TEXT_NO_INPUT_FILE);
        break;
    case LoadOutcome::BigEndian:
        view.keepShownText = true;
        view.messageBox = messageText(MSG_TEXT_BIG_ENDIAN);
        break;
    case LoadOutcome::Utf8:
        view.keepShownText = true;
        view.messageBox = messageText(MSG_TEXT_UTF8);
        break;
    case LoadOutcome::OutOfMemory:
        view.keepShownText = true;
        view.messageBox = L"Out Of Memory";   // the same text as when the program must end
        break;
    case LoadOutcome::Loaded:
        if (entryCount == 0) view.controlText = messageText(MSG_TEXT_NO_DATA);
        break;
    }
    return view;
}

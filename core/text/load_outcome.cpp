#include "core/text/load_outcome.h"

#include "core/ui/texts.h"

LoadView viewOfLoad(LoadStep step, std::size_t entryCount)
{
    LoadView view;
    switch (step) {
    case LoadStep::Missing:
    case LoadStep::Unreadable:
        view.keepShownText = true;
        view.controlText = messageText(MSG_TEXT_NO_INPUT_FILE);
        break;
    case LoadStep::BigEndian:
        view.keepShownText = true;
        view.messageBox = messageText(MSG_TEXT_BIG_ENDIAN);
        break;
    case LoadStep::Utf8:
        view.keepShownText = true;
        view.messageBox = messageText(MSG_TEXT_UTF8);
        break;
    case LoadStep::OutOfMemory:
        view.keepShownText = true;
        view.messageBox = L"Out Of Memory";   // the same text as when the program must end
        break;
    case LoadStep::Loaded:
        if (entryCount == 0) view.controlText = messageText(MSG_TEXT_NO_DATA);
        break;
    }
    return view;
}

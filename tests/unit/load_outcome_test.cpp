#include "core/text/load_outcome.h"

#include <gtest/gtest.h>

#include <string>

#include "core/ui/texts.h"

TEST(LoadOutcome, EachStepShowsItsTextAndOnlyALoadReplacesTheTextOnShow)
{
    const auto text = [](const wchar_t* t) { return std::wstring(t ? t : L"-"); };
    struct Case {
        LoadStep step;
        std::size_t entries;
        bool keep;
        std::wstring box, control;
    } const cases[] = {
        {LoadStep::Missing, 0, true, L"-", L"No input file"},
        {LoadStep::Unreadable, 0, true, L"-", L"No input file"},
        {LoadStep::BigEndian, 0, true, L"Unicode big endian unsupported", L"-"},
        {LoadStep::Utf8, 0, true, L"UTF-8 unsupported", L"-"},
        {LoadStep::OutOfMemory, 0, true, L"Out Of Memory", L"-"},
        {LoadStep::Loaded, 0, false, L"-", L"No data"},
        {LoadStep::Loaded, 1, false, L"-", L"-"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.step) * 10 + static_cast<int>(c.entries));
        const LoadView v = viewOfLoad(c.step, c.entries);
        EXPECT_EQ(v.keepShownText, c.keep);
        EXPECT_EQ(text(v.messageBox), c.box);
        EXPECT_EQ(text(v.controlText), c.control);
    }
}

// The window's look in the real window: the fast measure behind fitting the text, the caption and
// transparency.
#include <gtest/gtest.h>

#include <random>

#include "core/app/commands.h"
#include "harness.h"
#include "shell/display/fitting_win.h"

TEST(Fitting, SummedWidthsAreWhatTheSystemMeasuresLineByLine)
{
    TomelWindow w;
    std::mt19937 random(7);
    // Plain characters (summed from a table) and marks, joiners, other scripts and surrogate pairs.
    const std::wstring plain = L"AVAWTo.,;: iWlMx\tyV\x00C0\x00E9\x00DF\x03A9\x0416\x2014\x20AC";
    const std::wstring mixed = plain + L"\x0301\x05D0\x0627\xFB01\xD83D\xDE00\x4E2D";
    std::wstring text;
    for (int line = 0; line < 300; ++line) {
        const std::wstring& alphabet = line % 2 ? mixed : plain;
        for (int i = static_cast<int>(random() % 90); i > 0; --i) text += alphabet[random() % alphabet.size()];
        text += line % 7 == 6 ? L"\r\n\r\n" : L"\r\n";
    }
    w.drop({writeBytes(L"varied.txt", utf16File(text))});
    HDC dc = CreateCompatibleDC(nullptr);
    for (const wchar_t* face : {L"Courier New", L"Times New Roman", L"Arial"}) {
        LOGFONTW lf = {};
        lf.lfHeight = -17;
        lf.lfItalic = face[0] == L'T';
        wcscpy(lf.lfFaceName, face);
        HGDIOBJ old = SelectObject(dc, CreateFontIndirectW(&lf));
        for (std::int64_t limit : {1, 100000}) {
            SCOPED_TRACE(testing::Message() << face << " limit " << limit);
            const TextBlock fast = measureText(dc, w.app().entries, limit, true);
            const TextBlock system = measureText(dc, w.app().entries, limit, true, true);
            EXPECT_EQ(fast.width, system.width);
            EXPECT_EQ(fast.height, system.height);
        }
        DeleteObject(SelectObject(dc, old));
    }
    DeleteDC(dc);
}

TEST(Frame, TheCaptionKeepsTheClientAreaAndTransparencyKeysTheBackgroundWithoutIt)
{
    TomelWindow w;
    App& app = w.app();
    app.backgroundColour = 0x00336699;
    RECT client, now;
    GetClientRect(w.window(), &client);
    const auto style = [&](int which) { return GetWindowLongW(w.window(), which); };
    for (bool caption : {false, true}) {
        SCOPED_TRACE(caption);
        w.command(CMD_CAPTION);
        GetClientRect(w.window(), &now);
        EXPECT_TRUE(EqualRect(&client, &now));
        EXPECT_EQ((style(GWL_STYLE) & WS_CAPTION) == WS_CAPTION, caption);
        w.command(CMD_TRANSPARENT);
        COLORREF key = 0;
        DWORD flags = 0;
        ASSERT_TRUE(GetLayeredWindowAttributes(w.window(), &key, nullptr, &flags));
        EXPECT_EQ(key, 0x00336699u);
        EXPECT_TRUE(flags & LWA_COLORKEY);
        EXPECT_FALSE(style(GWL_STYLE) & WS_CAPTION);
        w.command(CMD_CAPTION);   // does nothing while transparent
        w.command(CMD_TRANSPARENT);
        EXPECT_FALSE(style(GWL_EXSTYLE) & WS_EX_LAYERED);
        EXPECT_EQ((style(GWL_STYLE) & WS_CAPTION) == WS_CAPTION, caption);
    }
}

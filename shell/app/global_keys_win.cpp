#include "shell/app/global_keys_win.h"

#include <string>

#include "core/ui/texts.h"
#include "shell/app/app_info_win.h"

namespace {

constexpr int FIRST_ID = 1;

// The settings' texts in the order of GLOBAL_ACTIONS.
const wchar_t* keyText(const App& app, std::size_t i)
{
    const wchar_t* const texts[] = {app.keyShow, app.keyNext, app.keyPrevious, app.keyPause};
    return texts[i];
}

}  // namespace

void unregisterGlobalKeys(HWND window)
{
    for (std::size_t i = 0; i < GLOBAL_ACTIONS.size(); ++i) UnregisterHotKey(window, FIRST_ID + static_cast<int>(i));
}

void registerGlobalKeys(App& app)
{
    unregisterGlobalKeys(app.window);
    std::wstring refused;
    for (std::size_t i = 0; i < GLOBAL_ACTIONS.size(); ++i) {
        const wchar_t* text = keyText(app, i);
        if (!*text) continue;
        const std::optional<GlobalKey> key = parseGlobalKey(text);
        // A key held down gives one press, not a stream of them.
        if (!key || !RegisterHotKey(app.window, FIRST_ID + static_cast<int>(i), key->modifiers | MOD_NOREPEAT,
                                    key->virtualKey))
            refused += std::wstring(L"\n") + text;
    }
    if (!refused.empty())
        showMessage((std::wstring(messageText(MSG_TEXT_GLOBAL_KEY)) + refused).c_str(), MB_OK | MB_ICONEXCLAMATION);
}

std::optional<GlobalAction> globalActionOf(WPARAM id)
{
    if (id < FIRST_ID || id >= FIRST_ID + GLOBAL_ACTIONS.size()) return std::nullopt;
    return GLOBAL_ACTIONS[id - FIRST_ID];
}

static_assert(KEY_ALT == MOD_ALT && KEY_CTRL == MOD_CONTROL && KEY_SHIFT == MOD_SHIFT && KEY_WIN == MOD_WIN,
              "the settings' modifiers are the system's");

// Push buttons drawn flat in the skin: face, border and text, with hover,
// pressed, default and disabled looks. Clicking, focus and keyboard stay the
// system button's own.
#pragma once

#include <windows.h>

#include "skin/skinned_window.h"

namespace skin {

// True for the styles of a plain push button with text; buttons of other
// kinds, and those showing a picture, keep the system's look.
bool IsPushButtonStyle(LONG style);

LRESULT PushButtonMessage(HWND hwnd, SkinnedWindow& window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace skin

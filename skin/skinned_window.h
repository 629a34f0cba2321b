// A window the skin has taken over the drawing of: the window's original
// procedure, what the skin paints of it, and the little state painting needs.
// The record hangs on the window as a property, because the program already
// uses the windows' user data for itself.
#pragma once

#include <windows.h>

namespace skin {

enum class SkinnedKind {
  Container,   // a window or picture box that holds controls
  PushButton,  // a "Button" window of the push-button kind
};

struct SkinnedWindow {
  WNDPROC original = nullptr;
  SkinnedKind kind = SkinnedKind::Container;

  // Containers
  bool paintsFrame = false;        // caption and borders
  bool erasesBackground = false;   // client area on WM_ERASEBKGND
  bool coloursControls = false;    // answers WM_CTLCOLOR* for its children
  bool active = false;             // caption drawn as the active window's
  int hotCaptionButton = HTNOWHERE;      // caption button under the mouse
  int pressedCaptionButton = HTNOWHERE;  // caption button held down
  bool pressedStillInside = false;       // the mouse is still over it

  // Push buttons
  bool mouseInside = false;
};

// Takes over the window's procedure. Returns false when it could not.
bool SkinWindow(HWND hwnd, const SkinnedWindow& settings);

// The window's record, or nullptr once the window is gone or was never
// skinned. Message handlers fetch it again after calling the original
// procedure, which may have destroyed the window.
SkinnedWindow* SkinnedWindowOf(HWND hwnd);

LRESULT CallOriginal(HWND hwnd, const SkinnedWindow& window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace skin

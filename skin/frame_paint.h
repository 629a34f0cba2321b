// The caption and borders of a framed top-level window, drawn flat in the
// skin's colours inside the frame the system gives the window. The skin
// never changes the frame's size, so the client area keeps its size and the
// window its layout; where the caption buttons are, and what a click there
// does, stays the system's.
#pragma once

#include <windows.h>

#include "skin/active_skin.h"
#include "skin/skinned_window.h"

namespace skin {

// Rectangles in window coordinates (0, 0 is the window's top left corner).
struct FrameLayout {
  SIZE window;
  RECT client;
  RECT caption;  // the caption band, within the borders
  RECT inside;   // all within the borders below the caption: menu bar,
                 // scroll bars and the client area, drawn by the system
  RECT icon;     // empty when the caption shows no icon
  RECT text;
  RECT close;    // each empty when the window has no such button
  RECT maximize;
  RECT minimize;
  bool closeEnabled;
  bool maximizeEnabled;
  bool minimizeEnabled;
};

FrameLayout MeasureFrame(HWND hwnd);

// Draws borders and caption over what lies outside layout.inside.
void PaintFrame(HWND hwnd, const SkinnedWindow& window, const ActiveSkin& skin);

}  // namespace skin

// Messages of skinned containers: framed top-level windows (caption and
// borders), and windows and picture boxes whose background and child
// controls take the skin's background colour.
#pragma once

#include <windows.h>

#include "skin/skinned_window.h"

namespace skin {

LRESULT ContainerMessage(HWND hwnd, SkinnedWindow& window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace skin

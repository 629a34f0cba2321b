#include "skin/creation_hook.h"

#include <windows.h>

#include "skin/active_skin.h"
#include "skin/push_button.h"
#include "skin/skinned_window.h"

namespace skin {

namespace {

HHOOK g_hook = nullptr;

// The program's own window classes, and the system's dialog class (message
// boxes), whose client areas take the skin's background.
const wchar_t kProgramWindowClass[] = L"JunkcleanWindow";
const wchar_t kProgramPictureClass[] = L"JunkcleanPicture";
const wchar_t kDialogClass[] = L"#32770";
const wchar_t kButtonClass[] = L"Button";

bool HasClass(HWND hwnd, const wchar_t* name) {
  wchar_t className[64] = {};
  if (!GetClassNameW(hwnd, className, 64)) return false;
  return lstrcmpiW(className, name) == 0;
}

void SkinChild(HWND hwnd, LONG style) {
  if (HasClass(hwnd, kButtonClass) && IsPushButtonStyle(style)) {
    SkinnedWindow settings;
    settings.kind = SkinnedKind::PushButton;
    SkinWindow(hwnd, settings);
  } else if (HasClass(hwnd, kProgramPictureClass)) {
    // The picture box paints its own background; only the controls on it
    // ask it for theirs.
    SkinnedWindow settings;
    settings.coloursControls = true;
    SkinWindow(hwnd, settings);
  }
}

void SkinTopLevel(HWND hwnd, LONG style) {
  SkinnedWindow settings;
  settings.paintsFrame = (style & WS_CAPTION) == WS_CAPTION;
  const bool knownClass = HasClass(hwnd, kProgramWindowClass) || HasClass(hwnd, kDialogClass);
  settings.erasesBackground = knownClass;
  settings.coloursControls = knownClass;
  if (settings.paintsFrame || knownClass) SkinWindow(hwnd, settings);
}

void SkinNewWindow(HWND hwnd, const CREATESTRUCTW& create) {
  const LONG style = static_cast<LONG>(create.style);
  if (style & WS_CHILD) {
    SkinChild(hwnd, style);
  } else {
    SkinTopLevel(hwnd, style);
  }
}

LRESULT CALLBACK CreationHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && CurrentSkin()) {
    const auto* creation = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
    if (creation && creation->lpcs) SkinNewWindow(reinterpret_cast<HWND>(wParam), *creation->lpcs);
  }
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

}  // namespace

bool InstallCreationHook() {
  if (g_hook) return true;
  g_hook = SetWindowsHookExW(WH_CBT, CreationHookProc, nullptr, GetCurrentThreadId());
  return g_hook != nullptr;
}

}  // namespace skin

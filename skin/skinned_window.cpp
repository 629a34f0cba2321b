#include "skin/skinned_window.h"

#include "skin/frame_window.h"
#include "skin/push_button.h"

namespace skin {

namespace {

const wchar_t kRecordProperty[] = L"SkinH_EL.SkinnedWindow";

// Gives the window its own procedure back and frees the record. When
// another procedure was put on top of ours since, that one keeps calling
// ours, so ours stays and only passes messages on.
LRESULT Unskin(HWND hwnd, SkinnedWindow* window, WPARAM wParam, LPARAM lParam);

LRESULT CALLBACK SkinnedProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  SkinnedWindow* window = SkinnedWindowOf(hwnd);
  if (!window) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) return Unskin(hwnd, window, wParam, lParam);
  switch (window->kind) {
    case SkinnedKind::Container:
      return ContainerMessage(hwnd, *window, message, wParam, lParam);
    case SkinnedKind::PushButton:
      return PushButtonMessage(hwnd, *window, message, wParam, lParam);
  }
  return CallOriginal(hwnd, *window, message, wParam, lParam);
}

LRESULT Unskin(HWND hwnd, SkinnedWindow* window, WPARAM wParam, LPARAM lParam) {
  const WNDPROC original = window->original;
  if (GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&SkinnedProc)) {
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
  }
  RemovePropW(hwnd, kRecordProperty);
  delete window;
  return CallWindowProcW(original, hwnd, WM_NCDESTROY, wParam, lParam);
}

}  // namespace

bool SkinWindow(HWND hwnd, const SkinnedWindow& settings) {
  auto* window = new SkinnedWindow(settings);
  if (!SetPropW(hwnd, kRecordProperty, window)) {
    delete window;
    return false;
  }
  // The original is stored before ours is put in, as ours may be called at
  // once.
  window->original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
  if (!window->original || !SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SkinnedProc))) {
    RemovePropW(hwnd, kRecordProperty);
    delete window;
    return false;
  }
  return true;
}

SkinnedWindow* SkinnedWindowOf(HWND hwnd) { return static_cast<SkinnedWindow*>(GetPropW(hwnd, kRecordProperty)); }

LRESULT CallOriginal(HWND hwnd, const SkinnedWindow& window, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(window.original, hwnd, message, wParam, lParam);
}

}  // namespace skin

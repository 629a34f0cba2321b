#include "platform/win32/win32_events.h"

#include <windows.h>

#include "platform/win32/controls.h"
#include "platform/win32/text_convert.h"
#include "platform/win32/top_window.h"

namespace jc {

namespace {

bool ModifierDown() {
  return GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_MENU) < 0;
}

// Keys that our windows handle themselves before a control sees them: Esc
// closes a window that allows it, Tab moves the focus between tab stops.
bool HandleWindowKey(const MSG& message) {
  if (message.message != WM_KEYDOWN) return false;
  TopWindow* window = TopWindow::FromHwnd(GetAncestor(message.hwnd, GA_ROOT));
  if (!window) return false;
  if (message.wParam == VK_ESCAPE && !ModifierDown() && window->Definition().escCloses) {
    SendMessageW(window->Hwnd(), WM_CLOSE, 0, 0);
    return true;
  }
  if (message.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0) {
    HWND next = GetNextDlgTabItem(window->Hwnd(), GetFocus(), GetKeyState(VK_SHIFT) < 0);
    if (next) SetFocus(next);
    return true;
  }
  return false;
}

}  // namespace

QueueState Win32EventPlatform::PeekQueue() {
  SyncDeferredControls();
  MSG message;
  if (!PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) return QueueState::Empty;
  return message.message == WM_QUIT ? QueueState::Quit : QueueState::Event;
}

bool Win32EventPlatform::DispatchNextEvent(int32_t& quitCode) {
  SyncDeferredControls();
  MSG message;
  const BOOL got = GetMessageW(&message, nullptr, 0, 0);
  if (got == 0) {
    quitCode = static_cast<int32_t>(message.wParam);
    return false;
  }
  if (got < 0) return true;
  if (HandleWindowKey(message)) return true;
  TranslateMessage(&message);
  DispatchMessageW(&message);
  return true;
}

void Win32EventPlatform::PostQuit(int32_t code) { PostQuitMessage(code); }

uint32_t Win32EventPlatform::TickCount() { return GetTickCount(); }

void Win32EventPlatform::ShowFatalBox(const Text& report) {
  MessageBoxW(nullptr, WideFromBuiltIn(report).c_str(), WideFromBuiltIn("错误").c_str(), MB_ICONERROR);
}

void Win32EventPlatform::EndProcess(int32_t code) { ExitProcess(static_cast<UINT>(code)); }

}  // namespace jc

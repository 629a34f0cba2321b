#include "skin/frame_window.h"

#include "skin/active_skin.h"
#include "skin/frame_paint.h"

namespace skin {

namespace {

// Messages that themed Windows sends to have the caption and frame redrawn
// by DefWindowProc outside WM_NCPAINT. They are not in the headers; the
// skin draws the frame itself, so they are swallowed.
const UINT kThemeDrawCaption = 0x00AE;
const UINT kThemeDrawFrame = 0x00AF;

// Asks the desktop window manager of Windows Vista and later to leave the
// frame to the window; otherwise it draws its own over ours. Older systems
// and Wine without it simply have no dwmapi entry to call.
void LeaveFrameToWindow(HWND hwnd) {
  using SetAttribute = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
  static SetAttribute setAttribute = [] {
    HMODULE dwm = LoadLibraryW(L"dwmapi.dll");
    FARPROC found = dwm ? GetProcAddress(dwm, "DwmSetWindowAttribute") : nullptr;
    return reinterpret_cast<SetAttribute>(reinterpret_cast<void*>(found));
  }();
  if (!setAttribute) return;
  const DWORD kNonClientRenderingPolicy = 2;
  const int kRenderingDisabled = 1;
  setAttribute(hwnd, kNonClientRenderingPolicy, &kRenderingDisabled, sizeof(kRenderingDisabled));
}

bool IsCaptionButton(WPARAM hit) { return hit == HTCLOSE || hit == HTMAXBUTTON || hit == HTMINBUTTON; }

// Paints the frame again if the window is still there: the original
// procedure may have destroyed it.
void RepaintFrame(HWND hwnd) {
  const SkinnedWindow* window = SkinnedWindowOf(hwnd);
  const ActiveSkin* skin = CurrentSkin();
  if (window && skin && !IsIconic(hwnd)) PaintFrame(hwnd, *window, *skin);
}

// Where the system would find the mouse, given a point in client
// coordinates as mouse messages carry it.
LRESULT HitTestClientPoint(HWND hwnd, LPARAM clientPoint) {
  POINT point{static_cast<short>(LOWORD(clientPoint)), static_cast<short>(HIWORD(clientPoint))};
  ClientToScreen(hwnd, &point);
  return SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
}

void SetHotCaptionButton(HWND hwnd, SkinnedWindow& window, int hit) {
  if (window.hotCaptionButton == hit) return;
  window.hotCaptionButton = hit;
  if (hit != HTNOWHERE) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE | TME_NONCLIENT, hwnd, 0};
    TrackMouseEvent(&track);
  }
  RepaintFrame(hwnd);
}

bool CaptionButtonEnabled(HWND hwnd, int hit) {
  const FrameLayout layout = MeasureFrame(hwnd);
  switch (hit) {
    case HTCLOSE:
      return layout.closeEnabled;
    case HTMAXBUTTON:
      return layout.maximizeEnabled;
    case HTMINBUTTON:
      return layout.minimizeEnabled;
    default:
      return false;
  }
}

WPARAM CommandOf(HWND hwnd, int hit) {
  if (hit == HTCLOSE) return SC_CLOSE;
  if (hit == HTMINBUTTON) return SC_MINIMIZE;
  return IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE;
}

// A caption button acts when the mouse goes up over the button it went
// down on, as the system's buttons do; the skin tracks the press itself so
// that the system does not draw its own pressed button over the skin.
void StartPress(HWND hwnd, SkinnedWindow& window, int hit) {
  window.pressedCaptionButton = hit;
  window.pressedStillInside = true;
  SetCapture(hwnd);
  RepaintFrame(hwnd);
}

void FollowPress(HWND hwnd, SkinnedWindow& window, LPARAM clientPoint) {
  const bool inside = HitTestClientPoint(hwnd, clientPoint) == window.pressedCaptionButton;
  if (inside == window.pressedStillInside) return;
  window.pressedStillInside = inside;
  RepaintFrame(hwnd);
}

void FinishPress(HWND hwnd, SkinnedWindow& window, LPARAM clientPoint) {
  const int pressed = window.pressedCaptionButton;
  const bool inside = HitTestClientPoint(hwnd, clientPoint) == pressed;
  window.pressedCaptionButton = HTNOWHERE;
  window.hotCaptionButton = HTNOWHERE;
  ReleaseCapture();
  RepaintFrame(hwnd);
  if (!inside) return;
  POINT screen{static_cast<short>(LOWORD(clientPoint)), static_cast<short>(HIWORD(clientPoint))};
  ClientToScreen(hwnd, &screen);
  SendMessageW(hwnd, WM_SYSCOMMAND, CommandOf(hwnd, pressed), MAKELPARAM(screen.x, screen.y));
}

// Returns true when the message was a frame message and result is its answer.
bool FrameMessage(HWND hwnd, SkinnedWindow& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const ActiveSkin* skin = CurrentSkin();
  if (!skin) return false;
  switch (message) {
    case WM_CREATE:
      result = CallOriginal(hwnd, window, message, wParam, lParam);
      if (result != -1) LeaveFrameToWindow(hwnd);
      return true;
    case WM_NCPAINT: {
      if (IsIconic(hwnd)) return false;
      // Menu bar, scroll bars and client edges stay the system's to draw.
      const FrameLayout layout = MeasureFrame(hwnd);
      if (!EqualRect(&layout.inside, &layout.client)) CallOriginal(hwnd, window, message, wParam, lParam);
      RepaintFrame(hwnd);
      result = 0;
      return true;
    }
    case WM_NCACTIVATE:
      window.active = wParam != FALSE;
      // -1 tells DefWindowProc not to draw the caption itself.
      result = CallOriginal(hwnd, window, message, wParam, -1);
      RepaintFrame(hwnd);
      return true;
    case WM_SETTEXT:
    case WM_SETICON:
      // DefWindowProc draws the new caption at once, bypassing WM_NCPAINT.
      result = CallOriginal(hwnd, window, message, wParam, lParam);
      RepaintFrame(hwnd);
      return true;
    case kThemeDrawCaption:
    case kThemeDrawFrame:
      result = 0;
      return true;
    case WM_NCMOUSEMOVE:
      SetHotCaptionButton(hwnd, window, IsCaptionButton(wParam) ? static_cast<int>(wParam) : HTNOWHERE);
      return false;
    case WM_NCMOUSELEAVE:
      SetHotCaptionButton(hwnd, window, HTNOWHERE);
      return false;
    case WM_ENABLE:
      // A disabled window (behind a message box) gets no mouse messages,
      // so a lit button would stay lit.
      if (!wParam) SetHotCaptionButton(hwnd, window, HTNOWHERE);
      return false;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (!IsCaptionButton(wParam)) return false;
      if (CaptionButtonEnabled(hwnd, static_cast<int>(wParam))) StartPress(hwnd, window, static_cast<int>(wParam));
      result = 0;
      return true;
    default:
      break;
  }
  if (window.pressedCaptionButton == HTNOWHERE) return false;
  switch (message) {
    case WM_MOUSEMOVE:
      FollowPress(hwnd, window, lParam);
      result = 0;
      return true;
    case WM_LBUTTONUP:
      FinishPress(hwnd, window, lParam);
      result = 0;
      return true;
    case WM_CAPTURECHANGED:
      window.pressedCaptionButton = HTNOWHERE;
      RepaintFrame(hwnd);
      return false;
    default:
      return false;
  }
}

bool IsControlColourMessage(UINT message) {
  return message == WM_CTLCOLORDLG || message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN ||
         message == WM_CTLCOLORMSGBOX;
}

LRESULT ControlColour(HDC dc, const ActiveSkin& skin) {
  SetTextColor(dc, ToColorRef(skin.look.windowText));
  SetBkColor(dc, ToColorRef(skin.look.windowBackground));
  return reinterpret_cast<LRESULT>(skin.windowBackgroundBrush);
}

LRESULT EraseBackground(HWND hwnd, HDC dc, const ActiveSkin& skin) {
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, skin.windowBackgroundBrush);
  return 1;
}

}  // namespace

LRESULT ContainerMessage(HWND hwnd, SkinnedWindow& window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (window.paintsFrame && FrameMessage(hwnd, window, message, wParam, lParam, result)) return result;
  const ActiveSkin* skin = CurrentSkin();
  if (skin && window.erasesBackground && message == WM_ERASEBKGND) {
    return EraseBackground(hwnd, reinterpret_cast<HDC>(wParam), *skin);
  }
  if (skin && window.coloursControls && IsControlColourMessage(message)) {
    return ControlColour(reinterpret_cast<HDC>(wParam), *skin);
  }
  return CallOriginal(hwnd, window, message, wParam, lParam);
}

}  // namespace skin

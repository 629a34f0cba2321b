#include "skin/push_button.h"

#include <string>

#include "skin/active_skin.h"
#include "skin/paint_buffer.h"

namespace skin {

namespace {

const LONG kButtonTypeMask = 0x0000000F;
const int kTextPadding = 2;

struct ButtonState {
  bool enabled;
  bool pressed;
  bool hot;
  bool emphasised;  // the default button, or the one with the focus
  bool hidePrefix;  // the & mnemonics are not underlined until Alt is used
};

ButtonState StateOf(HWND hwnd, const SkinnedWindow& window) {
  ButtonState state{};
  state.enabled = IsWindowEnabled(hwnd) != FALSE;
  state.pressed = (SendMessageW(hwnd, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
  state.hot = window.mouseInside;
  const LONG type = GetWindowLongW(hwnd, GWL_STYLE) & kButtonTypeMask;
  state.emphasised = type == BS_DEFPUSHBUTTON || GetFocus() == hwnd;
  state.hidePrefix = (SendMessageW(hwnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL) != 0;
  return state;
}

// The colour around the rounded corners is the parent's background, asked
// for the way the system's own buttons ask for it.
void FillParentBackground(HWND hwnd, HDC dc, const RECT& rect) {
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessageW(GetParent(hwnd), WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)));
  FillRect(dc, &rect, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
}

// A rounded rectangle filled with colour; a plain one without a radius.
void FillRounded(HDC dc, const RECT& rect, int radius, Rgb colour) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  HRGN region = radius > 0 ? CreateRoundRectRgn(rect.left, rect.top, rect.right + 1, rect.bottom + 1, 2 * radius,
                                                2 * radius)
                           : CreateRectRgn(rect.left, rect.top, rect.right, rect.bottom);
  if (!region) return;
  HBRUSH brush = CreateSolidBrush(ToColorRef(colour));
  FillRgn(dc, region, brush);
  DeleteObject(brush);
  DeleteObject(region);
}

Rgb FaceColour(const ButtonState& state, const SkinLook& look) {
  if (!state.enabled) return look.buttonFaceDisabled;
  if (state.pressed) return look.buttonFacePressed;
  if (state.hot) return look.buttonFaceHot;
  return look.buttonFace;
}

Rgb BorderColour(const ButtonState& state, const SkinLook& look) {
  return state.enabled && state.emphasised ? look.buttonBorderDefault : look.buttonBorder;
}

// The system button's alignment styles, centred when none is given.
UINT TextFormat(LONG style, bool hidePrefix) {
  UINT format = hidePrefix ? DT_HIDEPREFIX : 0;
  switch (style & BS_CENTER) {
    case BS_LEFT:
      format |= DT_LEFT;
      break;
    case BS_RIGHT:
      format |= DT_RIGHT;
      break;
    default:
      format |= DT_CENTER;
      break;
  }
  format |= (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
  return format;
}

// DrawText centres vertically only single lines, so the block of text is
// measured first and placed by hand.
void DrawButtonText(HWND hwnd, HDC dc, const RECT& area, Rgb colour, bool hidePrefix) {
  const int length = GetWindowTextLengthW(hwnd);
  if (length <= 0) return;
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(hwnd, &text[0], length + 1);
  const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  const UINT format = TextFormat(style, hidePrefix);

  auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
  HGDIOBJ oldFont = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ToColorRef(colour));

  RECT measured = area;
  DrawTextW(dc, text.c_str(), copied, &measured, format | DT_CALCRECT);
  const int height = measured.bottom - measured.top;
  RECT placed = area;
  switch (style & BS_VCENTER) {
    case BS_TOP:
      placed.bottom = placed.top + height;
      break;
    case BS_BOTTOM:
      placed.top = placed.bottom - height;
      break;
    default:
      placed.top = area.top + (area.bottom - area.top - height) / 2;
      placed.bottom = placed.top + height;
      break;
  }
  DrawTextW(dc, text.c_str(), copied, &placed, format);
  SelectObject(dc, oldFont);
}

void DrawButton(HWND hwnd, HDC dc, const RECT& client, const ButtonState& state, const SkinLook& look) {
  FillParentBackground(hwnd, dc, client);
  const int border = look.buttonBorderWidth;
  const int radius = look.buttonCornerRadius;
  FillRounded(dc, client, radius, border > 0 ? BorderColour(state, look) : FaceColour(state, look));
  if (border > 0) {
    const RECT face{client.left + border, client.top + border, client.right - border, client.bottom - border};
    FillRounded(dc, face, radius > border ? radius - border : 0, FaceColour(state, look));
  }
  const int inset = border + kTextPadding;
  const RECT textArea{client.left + inset, client.top + inset, client.right - inset, client.bottom - inset};
  DrawButtonText(hwnd, dc, textArea, state.enabled ? look.buttonText : look.buttonTextDisabled, state.hidePrefix);
}

void PaintButton(HWND hwnd, const SkinnedWindow& window, HDC dc) {
  const ActiveSkin* skin = CurrentSkin();
  if (!skin) return;
  RECT client;
  GetClientRect(hwnd, &client);
  PaintBuffer buffer(dc, client.right, client.bottom);
  DrawButton(hwnd, buffer.Dc(), client, StateOf(hwnd, window), skin->look);
  buffer.CopyToTarget();
}

// The system button draws itself at once, outside WM_PAINT, on these; the
// skin draws over it right after.
bool RedrawnBySystem(UINT message) {
  switch (message) {
    case WM_SETTEXT:
    case WM_ENABLE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_SETFONT:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CAPTURECHANGED:
    case WM_UPDATEUISTATE:
    case WM_STYLECHANGED:
    case WM_SYSCOLORCHANGE:
    case WM_MOUSELEAVE:
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case BM_SETCHECK:
      return true;
    default:
      return false;
  }
}

// Fetches the record again: the original procedure may have destroyed the
// button (a click that closes its window).
void RepaintNow(HWND hwnd) {
  const SkinnedWindow* window = SkinnedWindowOf(hwnd);
  if (!window || !IsWindowVisible(hwnd)) return;
  HDC dc = GetDC(hwnd);
  if (!dc) return;
  PaintButton(hwnd, *window, dc);
  ReleaseDC(hwnd, dc);
}

// Hover is the one state the system button does not keep.
bool FollowMouse(HWND hwnd, SkinnedWindow& window, UINT message) {
  if (message == WM_MOUSELEAVE) {
    window.mouseInside = false;
    return true;
  }
  if (message != WM_MOUSEMOVE || window.mouseInside) return false;
  window.mouseInside = true;
  TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd, 0};
  TrackMouseEvent(&track);
  return true;
}

}  // namespace

bool IsPushButtonStyle(LONG style) {
  const LONG type = style & kButtonTypeMask;
  return (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) && !(style & (BS_BITMAP | BS_ICON));
}

LRESULT PushButtonMessage(HWND hwnd, SkinnedWindow& window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!CurrentSkin() || !IsPushButtonStyle(GetWindowLongW(hwnd, GWL_STYLE))) {
    return CallOriginal(hwnd, window, message, wParam, lParam);
  }
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd, &paint);
      PaintButton(hwnd, window, dc);
      EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintButton(hwnd, window, reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    default:
      break;
  }
  const bool hoverChanged = FollowMouse(hwnd, window, message);
  const LRESULT result = CallOriginal(hwnd, window, message, wParam, lParam);
  if (hoverChanged || RedrawnBySystem(message)) RepaintNow(hwnd);
  return result;
}

}  // namespace skin

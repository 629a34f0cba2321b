#include "skin/frame_paint.h"

#include <string>

#include "skin/paint_buffer.h"

namespace skin {

namespace {

const RECT kNoRect{0, 0, 0, 0};
const int kCaptionPadding = 6;

bool IsToolWindow(HWND hwnd) { return (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0; }

// Close is greyed when the class forbids it or the system menu has its
// entry greyed, as message boxes without a cancel answer do.
bool CloseEnabled(HWND hwnd) {
  if (GetClassLongPtrW(hwnd, GCL_STYLE) & CS_NOCLOSE) return false;
  HMENU menu = GetSystemMenu(hwnd, FALSE);
  if (!menu) return true;
  const UINT state = GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND);
  return state == static_cast<UINT>(-1) || !(state & (MF_GRAYED | MF_DISABLED));
}

// Caption buttons from the right, one cell each, as the system hit-tests
// them: close, then maximise and minimise, which come as a pair when the
// window has either.
void PlaceCaptionButtons(HWND hwnd, FrameLayout& layout) {
  const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  const bool tool = IsToolWindow(hwnd);
  const int cell = GetSystemMetrics(tool ? SM_CXSMSIZE : SM_CXSIZE);
  RECT next = layout.caption;
  next.left = next.right - cell;
  layout.close = layout.maximize = layout.minimize = kNoRect;
  layout.closeEnabled = layout.maximizeEnabled = layout.minimizeEnabled = false;
  if (!(style & WS_SYSMENU)) return;
  layout.close = next;
  layout.closeEnabled = CloseEnabled(hwnd);
  if (tool || !(style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX))) return;
  OffsetRect(&next, -cell, 0);
  layout.maximize = next;
  layout.maximizeEnabled = (style & WS_MAXIMIZEBOX) != 0;
  OffsetRect(&next, -cell, 0);
  layout.minimize = next;
  layout.minimizeEnabled = (style & WS_MINIMIZEBOX) != 0;
}

int LeftmostButtonEdge(const FrameLayout& layout) {
  if (!IsRectEmpty(&layout.minimize)) return layout.minimize.left;
  if (!IsRectEmpty(&layout.close)) return layout.close.left;
  return layout.caption.right;
}

HICON CaptionIcon(HWND hwnd) {
  auto icon = reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(hwnd, GCLP_HICONSM));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(hwnd, GCLP_HICON));
  return icon;
}

// The system draws an icon for windows with a system menu, except tool
// windows and dialogs with a modal frame.
bool ShowsIcon(HWND hwnd) {
  const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  const LONG extended = GetWindowLongW(hwnd, GWL_EXSTYLE);
  return (style & WS_SYSMENU) && !(extended & (WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME)) && CaptionIcon(hwnd);
}

void PlaceIconAndText(HWND hwnd, FrameLayout& layout) {
  const int captionHeight = layout.caption.bottom - layout.caption.top;
  int textLeft = layout.caption.left + kCaptionPadding;
  layout.icon = kNoRect;
  if (ShowsIcon(hwnd)) {
    const int size = GetSystemMetrics(SM_CXSMICON);
    const int top = layout.caption.top + (captionHeight - size) / 2;
    layout.icon = RECT{textLeft, top, textLeft + size, top + size};
    textLeft = layout.icon.right + kCaptionPadding;
  }
  layout.text = RECT{textLeft, layout.caption.top, LeftmostButtonEdge(layout) - kCaptionPadding, layout.caption.bottom};
}

Rgb Mix(Rgb a, Rgb b) {
  return Rgb{static_cast<uint8_t>((a.red + b.red) / 2), static_cast<uint8_t>((a.green + b.green) / 2),
             static_cast<uint8_t>((a.blue + b.blue) / 2)};
}

// The outline around the whole window, `width` pixels thick.
void DrawOutline(HDC dc, SIZE window, int width, Rgb colour) {
  if (width <= 0) return;
  FillWithColour(dc, RECT{0, 0, window.cx, width}, colour);
  FillWithColour(dc, RECT{0, window.cy - width, window.cx, window.cy}, colour);
  FillWithColour(dc, RECT{0, 0, width, window.cy}, colour);
  FillWithColour(dc, RECT{window.cx - width, 0, window.cx, window.cy}, colour);
}

void DrawCaptionText(HWND hwnd, HDC dc, const RECT& rect, Rgb colour) {
  const int length = GetWindowTextLengthW(hwnd);
  if (length <= 0 || rect.right <= rect.left) return;
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(hwnd, &text[0], length + 1);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  HFONT font = nullptr;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    LOGFONTW description = IsToolWindow(hwnd) ? metrics.lfSmCaptionFont : metrics.lfCaptionFont;
    // A flat caption reads better in regular weight.
    description.lfWeight = FW_NORMAL;
    font = CreateFontIndirectW(&description);
  }
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ToColorRef(colour));
  RECT bounds = rect;
  DrawTextW(dc, text.c_str(), copied, &bounds, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (font) {
    SelectObject(dc, oldFont);
    DeleteObject(font);
  }
}

enum class Glyph { Close, Maximize, Restore, Minimize };

// Thin line glyphs centred in their cell, about half the cell's height.
void DrawGlyph(HDC dc, const RECT& cell, Glyph glyph, Rgb colour) {
  const int half = (cell.bottom - cell.top) / 4;
  const int x = (cell.left + cell.right) / 2;
  const int y = (cell.top + cell.bottom) / 2;
  HPEN pen = CreatePen(PS_SOLID, 1, ToColorRef(colour));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  switch (glyph) {
    case Glyph::Close:
      // LineTo leaves out the last point, so each line runs one further.
      MoveToEx(dc, x - half, y - half, nullptr);
      LineTo(dc, x + half + 1, y + half + 1);
      MoveToEx(dc, x + half, y - half, nullptr);
      LineTo(dc, x - half - 1, y + half + 1);
      break;
    case Glyph::Maximize:
      Rectangle(dc, x - half, y - half, x + half + 1, y + half + 1);
      break;
    case Glyph::Restore:
      Rectangle(dc, x - half, y - half + 2, x + half - 1, y + half + 1);
      MoveToEx(dc, x - half + 2, y - half + 2, nullptr);
      LineTo(dc, x - half + 2, y - half);
      LineTo(dc, x + half, y - half);
      LineTo(dc, x + half, y + half - 2);
      LineTo(dc, x + half - 2, y + half - 2);
      break;
    case Glyph::Minimize:
      MoveToEx(dc, x - half, y, nullptr);
      LineTo(dc, x + half + 1, y);
      break;
  }
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

struct CaptionColours {
  Rgb band;
  Rgb text;
};

void DrawCaptionButton(HDC dc, const RECT& cell, Glyph glyph, bool enabled, bool lit, Rgb litColour,
                       const CaptionColours& colours) {
  if (IsRectEmpty(&cell)) return;
  if (enabled && lit) FillWithColour(dc, cell, litColour);
  DrawGlyph(dc, cell, glyph, enabled ? colours.text : Mix(colours.band, colours.text));
}

// A button is lit while the mouse is over it, and while it is held down with
// the mouse still on it.
bool IsLit(const SkinnedWindow& window, int hit) {
  if (window.pressedCaptionButton != HTNOWHERE) {
    return window.pressedCaptionButton == hit && window.pressedStillInside;
  }
  return window.hotCaptionButton == hit;
}

void DrawFrame(HWND hwnd, HDC dc, const FrameLayout& layout, const SkinnedWindow& window, const SkinLook& look) {
  const CaptionColours colours = window.active ? CaptionColours{look.captionActive, look.captionTextActive}
                                               : CaptionColours{look.captionInactive, look.captionTextInactive};
  FillWithColour(dc, RECT{0, 0, layout.window.cx, layout.window.cy}, colours.band);
  DrawOutline(dc, layout.window, look.frameLineWidth, look.frameLine);
  if (!IsRectEmpty(&layout.icon)) {
    DrawIconEx(dc, layout.icon.left, layout.icon.top, CaptionIcon(hwnd), layout.icon.right - layout.icon.left,
               layout.icon.bottom - layout.icon.top, 0, nullptr, DI_NORMAL);
  }
  DrawCaptionText(hwnd, dc, layout.text, colours.text);
  DrawCaptionButton(dc, layout.close, Glyph::Close, layout.closeEnabled, IsLit(window, HTCLOSE), look.closeButtonHot,
                    colours);
  DrawCaptionButton(dc, layout.maximize, IsZoomed(hwnd) ? Glyph::Restore : Glyph::Maximize, layout.maximizeEnabled,
                    IsLit(window, HTMAXBUTTON), look.captionButtonHot, colours);
  DrawCaptionButton(dc, layout.minimize, Glyph::Minimize, layout.minimizeEnabled, IsLit(window, HTMINBUTTON),
                    look.captionButtonHot, colours);
}

}  // namespace

FrameLayout MeasureFrame(HWND hwnd) {
  FrameLayout layout{};
  RECT window;
  GetWindowRect(hwnd, &window);
  layout.window = SIZE{window.right - window.left, window.bottom - window.top};
  GetClientRect(hwnd, &layout.client);
  MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&layout.client), 2);
  OffsetRect(&layout.client, -window.left, -window.top);

  // The side borders are as thick as the gap left of the client area; the
  // top and bottom ones are as thick as the sides.
  const int border = layout.client.left;
  const int captionHeight = GetSystemMetrics(IsToolWindow(hwnd) ? SM_CYSMCAPTION : SM_CYCAPTION);
  int captionBottom = border + captionHeight;
  if (captionBottom > layout.client.top || !GetMenu(hwnd)) captionBottom = layout.client.top;
  layout.caption = RECT{border, border, layout.window.cx - border, captionBottom};
  layout.inside = RECT{border, captionBottom, layout.window.cx - border, layout.window.cy - border};

  PlaceCaptionButtons(hwnd, layout);
  PlaceIconAndText(hwnd, layout);
  return layout;
}

void PaintFrame(HWND hwnd, const SkinnedWindow& window, const ActiveSkin& skin) {
  const FrameLayout layout = MeasureFrame(hwnd);
  HDC dc = GetWindowDC(hwnd);
  if (!dc) return;
  ExcludeClipRect(dc, layout.inside.left, layout.inside.top, layout.inside.right, layout.inside.bottom);
  PaintBuffer buffer(dc, layout.window.cx, layout.window.cy);
  DrawFrame(hwnd, buffer.Dc(), layout, window, skin.look);
  buffer.CopyToTarget();
  ReleaseDC(hwnd, dc);
}

}  // namespace skin

#include "platform/win32/controls.h"

#include <commctrl.h>
#include <olectl.h>

#include <algorithm>
#include <vector>

#include "platform/win32/text_convert.h"

namespace jc {

namespace {

const wchar_t kLabelClass[] = L"JunkcleanLabel";
const wchar_t kPictureClass[] = L"JunkcleanPicture";

COLORREF ToColorRef(Colour colour) { return RGB(colour.red, colour.green, colour.blue); }

// The system's default GUI font. Where the system code page is not 936 that
// font has no Chinese letters, so the program asks for what a Chinese system
// gives as its default GUI font instead (宋体, 9 points); it lives as long as
// the program.
HFONT DefaultGuiFont() {
  static HFONT font = nullptr;
  if (font) return font;
  auto* stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  if (GetACP() == 936) return font = stock;
  LOGFONTW description{};
  GetObjectW(stock, sizeof(description), &description);
  description.lfHeight = -12;
  description.lfWidth = 0;
  description.lfCharSet = GB2312_CHARSET;
  lstrcpynW(description.lfFaceName, WideFromBuiltIn("宋体").c_str(), LF_FACESIZE);
  font = CreateFontIndirectW(&description);
  if (!font) font = stock;
  return font;
}

// Asks the parent to draw its client area (background, picture) into dc,
// shifted so that the part beneath the child lands at the child's origin.
void PaintParentBeneath(HWND child, HDC dc) {
  HWND parent = GetParent(child);
  POINT origin{0, 0};
  MapWindowPoints(child, parent, &origin, 1);
  POINT old;
  SetViewportOrgEx(dc, -origin.x, -origin.y, &old);
  SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
  SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

// ---- labels ---------------------------------------------------------------

// An opaque label's background: the parent's answer for static controls,
// which is the button face unless a skin says otherwise.
HBRUSH BackgroundBrush(HWND label, HDC dc) {
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessageW(GetParent(label), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label)));
  return brush ? brush : GetSysColorBrush(COLOR_BTNFACE);
}

struct LabelData {
  const ControlDefinition* definition;
  HFONT font;
  bool ownsFont;
};

LabelData* LabelDataOf(HWND hwnd) { return reinterpret_cast<LabelData*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

bool IsTransparent(const LabelData& data) { return data.definition->kind == ControlKind::TransparentLabel; }

void PaintLabel(HWND hwnd, const LabelData& data) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd, &paint);
  RECT client;
  GetClientRect(hwnd, &client);
  if (IsTransparent(data)) {
    PaintParentBeneath(hwnd, dc);
  } else {
    FillRect(dc, &client, BackgroundBrush(hwnd, dc));
  }
  const int length = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(hwnd, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));

  const LabelStyle& style = data.definition->label;
  UINT format = DT_NOPREFIX | (style.centredHorizontally ? DT_CENTER : DT_LEFT);
  format |= style.wordWrap ? DT_WORDBREAK : (DT_SINGLELINE | DT_VCENTER);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ToColorRef(style.textColour));
  HGDIOBJ oldFont = SelectObject(dc, data.font);
  DrawTextW(dc, text.c_str(), length, &client, format);
  SelectObject(dc, oldFont);
  EndPaint(hwnd, &paint);
}

int CALLBACK NoteFontFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FontInstalled(const std::wstring& face) {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(wanted.lfFaceName, face.c_str(), LF_FACESIZE);
  bool found = false;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExW(screen, &wanted, NoteFontFound, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

// A label's own font; where that face is missing (as under Wine), any font
// with Chinese letters of the same height and weight stands in.
HFONT CreateLabelFont(const LabelStyle& style) {
  if (style.fontName.empty()) return nullptr;
  std::wstring face = WideFromBuiltIn(style.fontName);
  BYTE charset = DEFAULT_CHARSET;
  if (!FontInstalled(face)) {
    face.clear();
    charset = GB2312_CHARSET;
  }
  return CreateFontW(style.fontHeight, 0, 0, 0, style.fontWeight, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
}

LRESULT CALLBACK LabelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  LabelData* data = LabelDataOf(hwnd);
  switch (message) {
    case WM_NCCREATE: {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
      auto* definition = static_cast<const ControlDefinition*>(create->lpCreateParams);
      HFONT own = CreateLabelFont(definition->label);
      auto* fresh = new LabelData{definition, own ? own : DefaultGuiFont(), own != nullptr};
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(fresh));
      break;
    }
    case WM_NCDESTROY:
      if (data) {
        if (data->ownsFont) DeleteObject(data->font);
        delete data;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      }
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      if (data) {
        PaintLabel(hwnd, *data);
        return 0;
      }
      break;
    case WM_SETFONT:
      if (data && !data->ownsFont) data->font = wParam ? reinterpret_cast<HFONT>(wParam) : DefaultGuiFont();
      return 0;
    case WM_GETFONT:
      return data ? reinterpret_cast<LRESULT>(data->font) : 0;
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
      if (data && IsTransparent(*data)) {
        // Nothing of the old text may stay: repaint what lies beneath now.
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      } else {
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      return result;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// ---- picture box ----------------------------------------------------------

// The embedded picture, decoded by the system and stretched once to the size
// of the box; painting then only copies it.
HBITMAP StretchedPicture(HINSTANCE instance, int32_t resource, int width, int height) {
  HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(resource), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!found) return nullptr;
  const DWORD size = SizeofResource(instance, found);
  const void* bytes = LockResource(LoadResource(instance, found));
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!bytes || !copy) return nullptr;
  CopyMemory(GlobalLock(copy), bytes, size);
  GlobalUnlock(copy);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(copy, TRUE, &stream))) {
    GlobalFree(copy);
    return nullptr;
  }
  IPicture* picture = nullptr;
  const HRESULT loaded = OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                        reinterpret_cast<void**>(&picture));
  stream->Release();
  if (FAILED(loaded) || !picture) return nullptr;

  OLE_XSIZE_HIMETRIC pictureWidth = 0;
  OLE_YSIZE_HIMETRIC pictureHeight = 0;
  picture->get_Width(&pictureWidth);
  picture->get_Height(&pictureHeight);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  // Averaging keeps the thin lines of a large picture from dropping out.
  SetStretchBltMode(memory, HALFTONE);
  SetBrushOrgEx(memory, 0, 0, nullptr);
  picture->Render(memory, 0, 0, width, height, 0, pictureHeight, pictureWidth, -pictureHeight, nullptr);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  picture->Release();
  return bitmap;
}

HBITMAP PictureOf(HWND hwnd) { return reinterpret_cast<HBITMAP>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

void PaintPicture(HWND hwnd, HDC dc) {
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  HBITMAP bitmap = PictureOf(hwnd);
  if (!bitmap) return;
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
}

LRESULT CALLBACK PictureProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE: {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
      auto* definition = static_cast<const ControlDefinition*>(create->lpCreateParams);
      if (definition->pictureResource != 0) {
        HBITMAP bitmap =
            StretchedPicture(create->hInstance, definition->pictureResource, create->cx, create->cy);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(bitmap));
      }
      break;
    }
    case WM_NCDESTROY:
      if (HBITMAP bitmap = PictureOf(hwnd)) DeleteObject(bitmap);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PRINTCLIENT:
      PaintPicture(hwnd, reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd, &paint);
      PaintPicture(hwnd, dc);
      EndPaint(hwnd, &paint);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// ---- progress bar ---------------------------------------------------------

// The stock bar keeps its position inside its range; the program's bar keeps
// whatever it is written (limited to 0..32767) and only draws it clamped.
// The stock bar is told the new values when events are next processed, as
// nothing is drawn before then; a scan steps the bar once per file.
struct ProgressData {
  WNDPROC original;
  int32_t minimum = 0;
  int32_t maximum = 100;
  int32_t position = 0;
};

// Kept in the window's user data rather than a window property: the bar is
// asked for its position once per file, and under Wine a property lookup
// costs a round trip to the server.
ProgressData* ProgressDataOf(HWND hwnd) {
  return reinterpret_cast<ProgressData*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void ShowStoredRange(HWND hwnd, const ProgressData& data) {
  CallWindowProcW(data.original, hwnd, PBM_SETRANGE32, static_cast<WPARAM>(data.minimum), data.maximum);
  CallWindowProcW(data.original, hwnd, PBM_SETPOS,
                  static_cast<WPARAM>(DrawnProgressPosition(data.minimum, data.maximum, data.position)), 0);
}

std::vector<HWND> g_progressBarsToSync;

void SyncLater(HWND hwnd) {
  if (std::find(g_progressBarsToSync.begin(), g_progressBarsToSync.end(), hwnd) == g_progressBarsToSync.end()) {
    g_progressBarsToSync.push_back(hwnd);
  }
}

LRESULT StoreRange(HWND hwnd, ProgressData& data, int32_t minimum, int32_t maximum) {
  const LRESULT previous = MAKELRESULT(data.minimum, data.maximum);
  data.minimum = ClampProgressValue(minimum);
  data.maximum = ClampProgressValue(maximum);
  SyncLater(hwnd);
  return previous;
}

LRESULT StorePosition(HWND hwnd, ProgressData& data, int32_t position) {
  const LRESULT previous = data.position;
  data.position = ClampProgressValue(position);
  SyncLater(hwnd);
  return previous;
}

LRESULT CALLBACK ProgressProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  ProgressData* data = ProgressDataOf(hwnd);
  if (!data) return DefWindowProcW(hwnd, message, wParam, lParam);
  switch (message) {
    case PBM_SETRANGE32:
      return StoreRange(hwnd, *data, static_cast<int32_t>(wParam), static_cast<int32_t>(lParam));
    case PBM_SETRANGE:
      return StoreRange(hwnd, *data, LOWORD(lParam), HIWORD(lParam));
    case PBM_SETPOS:
      return StorePosition(hwnd, *data, static_cast<int32_t>(wParam));
    case PBM_DELTAPOS:
      return StorePosition(hwnd, *data, data->position + static_cast<int32_t>(wParam));
    case PBM_GETPOS:
      return data->position;
    case PBM_GETRANGE:
      if (lParam) {
        auto* range = reinterpret_cast<PBRANGE*>(lParam);
        range->iLow = data->minimum;
        range->iHigh = data->maximum;
      }
      return wParam ? data->minimum : data->maximum;
    case WM_NCDESTROY: {
      g_progressBarsToSync.erase(std::remove(g_progressBarsToSync.begin(), g_progressBarsToSync.end(), hwnd),
                                 g_progressBarsToSync.end());
      WNDPROC original = data->original;
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      delete data;
      return CallWindowProcW(original, hwnd, message, wParam, lParam);
    }
    default:
      return CallWindowProcW(data->original, hwnd, message, wParam, lParam);
  }
}

void StoreProgressValues(HWND hwnd) {
  auto* data = new ProgressData;
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
  data->original = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ProgressProc)));
  ShowStoredRange(hwnd, *data);
}

// ---- list view ------------------------------------------------------------

class ListViewControl;
std::vector<ListViewControl*> g_listViewsToSync;

class ListViewControl : public Control, public ResultListObserver {
 public:
  ListViewControl(HWND hwnd, const ControlDefinition& definition, ResultList* results)
      : Control(hwnd, definition), results_(results) {
    if (results_) results_->SetObserver(this);
    AddColumns();
  }

  ~ListViewControl() override {
    if (results_) results_->SetObserver(nullptr);
    NotSyncing();
  }

  void ResultListChanged() override {
    if (std::find(g_listViewsToSync.begin(), g_listViewsToSync.end(), this) == g_listViewsToSync.end()) {
      g_listViewsToSync.push_back(this);
    }
  }

  void Sync() {
    if (!IsWindow(hwnd_) || !results_) return;
    SendMessageW(hwnd_, LVM_SETITEMCOUNT, static_cast<WPARAM>(results_->RowCount()), LVSICF_NOSCROLL);
    InvalidateRect(hwnd_, nullptr, FALSE);
  }

  LRESULT OnNotify(NMHDR* header) override {
    if (header->code == LVN_GETDISPINFOW) FillCell(reinterpret_cast<NMLVDISPINFOW*>(header)->item);
    return 0;
  }

 private:
  void AddColumns() {
    int index = 0;
    for (const ColumnDefinition& column : definition_.columns) {
      std::wstring title = WideFromBuiltIn(column.title);
      LVCOLUMNW lvc{};
      lvc.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
      lvc.fmt = LVCFMT_LEFT;
      lvc.cx = column.width;
      lvc.pszText = title.data();
      lvc.iSubItem = index;
      SendMessageW(hwnd_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&lvc));
      ++index;
    }
  }

  // Column 0 holds a path (system code page); the others hold the program's texts.
  void FillCell(LVITEMW& item) {
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
    const Text* cell = results_ ? results_->Cell(item.iItem, item.iSubItem) : nullptr;
    std::wstring text;
    if (cell) text = item.iSubItem == 0 ? WideFromPath(*cell) : WideFromBuiltIn(*cell);
    lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
  }

  void NotSyncing() {
    g_listViewsToSync.erase(std::remove(g_listViewsToSync.begin(), g_listViewsToSync.end(), this),
                            g_listViewsToSync.end());
  }

  ResultList* results_;
};

void SetUpListView(HWND hwnd) {
  const DWORD extended = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES;
  SendMessageW(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
  SendMessageW(hwnd, LVM_SETTEXTCOLOR, 0, RGB(0, 0, 0));
  SendMessageW(hwnd, LVM_SETTEXTBKCOLOR, 0, RGB(255, 255, 255));
  SendMessageW(hwnd, LVM_SETBKCOLOR, 0, RGB(255, 255, 255));
}

// ---- buttons --------------------------------------------------------------

class ButtonControl : public Control {
 public:
  using Control::Control;
  void OnCommand(WORD notification) override {
    if (notification == BN_CLICKED && definition_.clicked) definition_.clicked();
  }
};

struct NativeKind {
  const wchar_t* className;
  DWORD style;
  DWORD extendedStyle;
};

NativeKind NativeKindOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::ListView:
      return {WC_LISTVIEWW, LVS_REPORT | LVS_SINGLESEL | LVS_OWNERDATA, WS_EX_CLIENTEDGE};
    case ControlKind::PushButton:
      return {WC_BUTTONW, BS_PUSHBUTTON | BS_CENTER | BS_VCENTER, 0};
    case ControlKind::Label:
    case ControlKind::TransparentLabel:
      return {kLabelClass, 0, 0};
    case ControlKind::ProgressBar:
      return {PROGRESS_CLASSW, PBS_SMOOTH, WS_EX_STATICEDGE};
    case ControlKind::PictureBox:
      return {kPictureClass, WS_CLIPCHILDREN, 0};
  }
  return {kLabelClass, 0, 0};
}

}  // namespace

LRESULT Control::OnNotify(NMHDR*) { return 0; }
void Control::OnCommand(WORD) {}

void RegisterControlClasses(HINSTANCE instance) {
  INITCOMMONCONTROLSEX common{sizeof(common), ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&common);

  WNDCLASSW label{};
  label.lpfnWndProc = LabelProc;
  label.hInstance = instance;
  label.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  label.lpszClassName = kLabelClass;
  RegisterClassW(&label);

  WNDCLASSW picture = label;
  picture.lpfnWndProc = PictureProc;
  picture.lpszClassName = kPictureClass;
  RegisterClassW(&picture);
}

std::unique_ptr<Control> CreateControl(const ControlDefinition& definition, const ControlContext& context) {
  const NativeKind native = NativeKindOf(definition.kind);
  DWORD style = WS_CHILD | native.style;
  if (definition.visible) style |= WS_VISIBLE;
  if (!definition.enabled) style |= WS_DISABLED;
  if (definition.tabStop) style |= WS_TABSTOP;

  HWND hwnd = CreateWindowExW(native.extendedStyle, native.className, WideFromBuiltIn(definition.text).c_str(),
                              style, definition.left, definition.top, definition.width, definition.height,
                              context.parent, nullptr, context.instance,
                              const_cast<ControlDefinition*>(&definition));
  if (!hwnd) return nullptr;
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultGuiFont()), FALSE);

  switch (definition.kind) {
    case ControlKind::ListView:
      SetUpListView(hwnd);
      return std::make_unique<ListViewControl>(hwnd, definition, context.results);
    case ControlKind::PushButton:
      return std::make_unique<ButtonControl>(hwnd, definition);
    case ControlKind::ProgressBar:
      StoreProgressValues(hwnd);
      return std::make_unique<Control>(hwnd, definition);
    default:
      return std::make_unique<Control>(hwnd, definition);
  }
}

void SetLabelText(HWND label, const Text& text) { SetWindowTextW(label, WideFromBuiltIn(text).c_str()); }

Text LabelText(HWND label) {
  const int length = GetWindowTextLengthW(label);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(label, text.data(), length + 1);
  text.resize(static_cast<size_t>(copied));
  return BuiltInFromWide(text);
}

void SetProgressMaximum(HWND bar, int32_t maximum) {
  const auto minimum = static_cast<int32_t>(SendMessageW(bar, PBM_GETRANGE, TRUE, 0));
  SendMessageW(bar, PBM_SETRANGE32, static_cast<WPARAM>(minimum), maximum);
}

void SetProgressPosition(HWND bar, int32_t position) {
  SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

int32_t ProgressPosition(HWND bar) { return static_cast<int32_t>(SendMessageW(bar, PBM_GETPOS, 0, 0)); }

void SyncDeferredControls() {
  std::vector<ListViewControl*> lists;
  lists.swap(g_listViewsToSync);
  for (ListViewControl* view : lists) view->Sync();
  std::vector<HWND> bars;
  bars.swap(g_progressBarsToSync);
  for (HWND bar : bars) {
    if (ProgressData* data = ProgressDataOf(bar)) ShowStoredRange(bar, *data);
  }
}

}  // namespace jc

#include "platform/win32/top_window.h"

#include "platform/win32/text_convert.h"

namespace jc {

namespace {

const wchar_t kWindowClass[] = L"JunkcleanWindow";
const UINT kDestroyRequest = WM_APP + 1;
const int kProgramIconId = 1;

DWORD WindowStyle(const WindowDefinition& definition) {
  DWORD style = WS_CLIPCHILDREN;
  if (definition.frame == FrameKind::None) return style | WS_POPUP;
  style |= WS_OVERLAPPED | WS_CAPTION;
  if (definition.systemMenu) style |= WS_SYSMENU;
  if (definition.minimizeButton) style |= WS_MINIMIZEBOX;
  if (definition.maximizeButton) style |= WS_MAXIMIZEBOX;
  return style;
}

}  // namespace

TopWindow::TopWindow(const WindowDefinition& definition, Application& app) : definition_(definition), app_(app) {}

TopWindow::~TopWindow() {
  controls_.clear();
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void TopWindow::RegisterWindowClass(HINSTANCE instance) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = Proc;
  windowClass.hInstance = instance;
  windowClass.hIcon = static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(kProgramIconId), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kWindowClass;
  RegisterClassW(&windowClass);
}

bool TopWindow::Create(HINSTANCE instance, ResultList* results) {
  int left = CW_USEDEFAULT;
  int top = CW_USEDEFAULT;
  if (definition_.centred) {
    const Point origin = CentredOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                       definition_.width, definition_.height);
    left = origin.x;
    top = origin.y;
  }
  const DWORD extended = definition_.taskbarButton ? WS_EX_APPWINDOW : WS_EX_TOOLWINDOW;
  hwnd_ = CreateWindowExW(extended, kWindowClass, WideFromBuiltIn(definition_.title).c_str(),
                          WindowStyle(definition_), left, top, definition_.width, definition_.height, nullptr,
                          nullptr, instance, this);
  if (!hwnd_) return false;
  if (!CreateControls(instance, results)) {
    DestroyNow();
    return false;
  }
  return true;
}

// Window-level controls first, in stacking order, so the first listed lies on
// top; controls inside a picture box follow their parent.
bool TopWindow::CreateControls(HINSTANCE instance, ResultList* results) {
  for (int pass = 0; pass < 2; ++pass) {
    for (const ControlDefinition& definition : definition_.controls) {
      const bool inPicture = !definition.parentName.empty();
      if (inPicture != (pass == 1)) continue;
      HWND parent = inPicture ? ControlHwnd(definition.parentName) : hwnd_;
      if (!parent) return false;
      std::unique_ptr<Control> control = CreateControl(definition, ControlContext{parent, instance, results});
      if (!control) return false;
      controls_.push_back(std::move(control));
    }
  }
  return true;
}

bool TopWindow::Exists() const { return hwnd_ && IsWindow(hwnd_); }
bool TopWindow::IsMinimized() const { return IsIconic(hwnd_) != FALSE; }
void TopWindow::Restore() { ShowWindow(hwnd_, SW_RESTORE); }
void TopWindow::Activate() { SetForegroundWindow(hwnd_); }

void TopWindow::Show() {
  ShowWindow(hwnd_, SW_SHOW);
  if (!GetFocus() || GetAncestor(GetFocus(), GA_ROOT) != hwnd_) {
    HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
    if (first) SetFocus(first);
  }
}

void TopWindow::DestroyNow() {
  if (hwnd_) DestroyWindow(hwnd_);
}

void TopWindow::PostDestroyRequest() { PostMessageW(hwnd_, kDestroyRequest, 0, 0); }

HWND TopWindow::ControlHwnd(const Text& name) const {
  for (const auto& control : controls_) {
    if (control->Definition().name == name) return control->Hwnd();
  }
  return nullptr;
}

Control* TopWindow::ControlOf(HWND child) const {
  for (const auto& control : controls_) {
    if (control->Hwnd() == child) return control.get();
  }
  return nullptr;
}

TopWindow* TopWindow::FromHwnd(HWND hwnd) {
  if (!hwnd) return nullptr;
  wchar_t className[64] = {};
  GetClassNameW(hwnd, className, 64);
  if (lstrcmpW(className, kWindowClass) != 0) return nullptr;
  return reinterpret_cast<TopWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

LRESULT CALLBACK TopWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* window = static_cast<TopWindow*>(create->lpCreateParams);
    window->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  }
  auto* window = reinterpret_cast<TopWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!window) return DefWindowProcW(hwnd, message, wParam, lParam);
  return window->Handle(message, wParam, lParam);
}

LRESULT TopWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (Control* control = ControlOf(reinterpret_cast<HWND>(lParam))) control->OnCommand(HIWORD(wParam));
      return 0;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (Control* control = ControlOf(header->hwndFrom)) return control->OnNotify(header);
      return 0;
    }
    case WM_PRINTCLIENT:
      // The background as the window erases it, so that a skin's colour
      // shows through transparent labels too.
      SendMessageW(hwnd_, WM_ERASEBKGND, wParam, 0);
      return 0;
    case WM_ACTIVATE:
      // Give the keyboard focus back to the control that had it, as dialogs do.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
      } else if (lastFocus_ && IsWindow(lastFocus_)) {
        SetFocus(lastFocus_);
        return 0;
      }
      break;
    case kDestroyRequest:
      app_.OnDestroyRequest(definition_.id);
      return 0;
    case WM_NCDESTROY: {
      const LRESULT result = DefWindowProcW(hwnd_, message, wParam, lParam);
      SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      lastFocus_ = nullptr;
      app_.OnNativeWindowDestroyed(definition_.id);
      return result;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

std::unique_ptr<NativeWindow> Win32WindowFactory::Create(const WindowDefinition& definition) {
  auto window = std::make_unique<TopWindow>(definition, *app_);
  if (!window->Create(instance_, results_)) return nullptr;
  return window;
}

HWND ControlOfWindow(Application& app, WindowId id, const Text& name) {
  auto* window = static_cast<TopWindow*>(app.Native(id));
  return window ? window->ControlHwnd(name) : nullptr;
}

}  // namespace jc

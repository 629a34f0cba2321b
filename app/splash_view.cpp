#include "app/splash_view.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/win32/text_convert.h"
#include "platform/win32/top_window.h"

namespace jc {

namespace {
const char kStatusLine[] = "透明标签1";
const char kVersionLabel[] = "标签1";
}  // namespace

void SplashView::ShowMessage(const Text& text) {
  MessageBoxW(nullptr, WideFromBuiltIn(text).c_str(), WideFromBuiltIn("信息：").c_str(), MB_OK | MB_TASKMODAL);
}

void SplashView::ShowSplash() {
  if (NativeWindow* splash = app_.Native(WindowId::Splash)) splash->Show();
}

Text SplashView::StatusCaption() {
  HWND label = ControlOfWindow(app_, WindowId::Splash, kStatusLine);
  return label && app_.IsAlive(WindowId::Splash) ? LabelText(label) : Text();
}

void SplashView::SetStatusCaption(const Text& text) {
  app_.RequireLoaded(WindowId::Splash);
  SetLabelText(ControlOfWindow(app_, WindowId::Splash, kStatusLine), text);
}

Text SplashView::VersionCaption() {
  HWND label = ControlOfWindow(app_, WindowId::Splash, kVersionLabel);
  return label && app_.IsAlive(WindowId::Splash) ? LabelText(label) : Text();
}

void SplashView::OpenUrl(const Text& url) {
  HWND owner = FindWindowExA(nullptr, nullptr, nullptr, "Microsoft Internet Explorer");
  ShellExecuteA(owner, "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace jc

#include "app/main_window_view.h"

#include "platform/win32/top_window.h"

namespace jc {

namespace {
const char kStatusLine[] = "标签1";
const char kProgressBar[] = "进度条1";
}  // namespace

void MainWindowView::SetStatusText(const Text& text) {
  app_.RequireLoaded(WindowId::Main);
  SetLabelText(ControlOfWindow(app_, WindowId::Main, kStatusLine), text);
}

void MainWindowView::SetProgressMaximum(int32_t maximum) {
  app_.RequireLoaded(WindowId::Main);
  jc::SetProgressMaximum(ControlOfWindow(app_, WindowId::Main, kProgressBar), maximum);
}

void MainWindowView::SetProgressPosition(int32_t position) {
  app_.RequireLoaded(WindowId::Main);
  jc::SetProgressPosition(ControlOfWindow(app_, WindowId::Main, kProgressBar), position);
}

int32_t MainWindowView::ProgressPosition() {
  if (!app_.IsAlive(WindowId::Main)) return 0;
  return jc::ProgressPosition(ControlOfWindow(app_, WindowId::Main, kProgressBar));
}

void MainWindowView::DelayWithEvents(int32_t milliseconds) { app_.DelayWithEvents(milliseconds); }

}  // namespace jc

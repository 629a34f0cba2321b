// The quick scan's and the clean's view of the main window: its progress bar
// and its status line. Writing either after the window closed is fatal.
#pragma once

#include "app/application.h"
#include "cleaner/scan_view.h"

namespace jc {

class MainWindowView : public ScanView {
 public:
  explicit MainWindowView(Application& app) : app_(app) {}
  void SetStatusText(const Text& text) override;
  void SetProgressMaximum(int32_t maximum) override;
  void SetProgressPosition(int32_t position) override;
  int32_t ProgressPosition() override;
  void DelayWithEvents(int32_t milliseconds) override;

 private:
  Application& app_;
};

}  // namespace jc

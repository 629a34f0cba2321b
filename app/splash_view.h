// The start sequence's view: the message box, the splash window's labels,
// and the browser.
#pragma once

#include "app/application.h"
#include "startup/start_view.h"

namespace jc {

class SplashView : public StartView {
 public:
  explicit SplashView(Application& app) : app_(app) {}
  void ShowMessage(const Text& text) override;
  void ShowSplash() override;
  Text StatusCaption() override;
  void SetStatusCaption(const Text& text) override;
  Text VersionCaption() override;
  void OpenUrl(const Text& url) override;

 private:
  Application& app_;
};

}  // namespace jc

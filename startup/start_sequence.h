// What the user sees between starting the program and the main window: the
// skin, the welcome, the splash window's status texts, the update check and
// the hand-over to the main window.
#pragma once

#include <functional>

#include "app/application.h"
#include "startup/start_view.h"

namespace jc {

struct StartJob {
  Application& app;
  StartView& view;
  std::function<void()> skinDeployment;
  std::function<void()> updateCheck;
};

void StartSequence(StartJob& job);

}  // namespace jc

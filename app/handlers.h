// The event handlers of the program's windows.
#pragma once

namespace jc {

void OnQuickScanClicked();
void OnCleanJunkClicked();
void OnSplashCreated();

}  // namespace jc

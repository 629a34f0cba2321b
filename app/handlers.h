// The click handlers of the main window.
#pragma once

namespace jc {

void OnQuickScanClicked();
void OnCleanJunkClicked();

}  // namespace jc

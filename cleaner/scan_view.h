// What the scan and the clean show on the main window while they work.
#pragma once

#include <cstdint>

#include "app/text.h"

namespace jc {

class ScanView {
 public:
  virtual ~ScanView() = default;
  virtual void SetStatusText(const Text& text) = 0;
  virtual void SetProgressMaximum(int32_t maximum) = 0;
  virtual void SetProgressPosition(int32_t position) = 0;
  virtual int32_t ProgressPosition() = 0;
  // Waits while window events go on being processed.
  virtual void DelayWithEvents(int32_t milliseconds) = 0;
};

// Advances the progress bar by one.
void StepProgress(ScanView& view);

}  // namespace jc

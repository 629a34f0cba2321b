// The event queue, ticks, error box and process end over Win32.
#pragma once

#include "platform/event_platform.h"

namespace jc {

class Win32EventPlatform : public EventPlatform {
 public:
  QueueState PeekQueue() override;
  bool DispatchNextEvent(int32_t& quitCode) override;
  void PostQuit(int32_t code) override;
  uint32_t TickCount() override;
  void ShowFatalBox(const Text& report) override;
  [[noreturn]] void EndProcess(int32_t code) override;
};

}  // namespace jc

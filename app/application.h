// The frame: window lifetimes, the quit rule, the event loop, the waits that
// keep events flowing, the orderly exit and the fatal stop.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "app/text.h"
#include "app/window_definition.h"
#include "platform/event_platform.h"

namespace jc {

class Application {
 public:
  Application(EventPlatform& events, WindowFactory& factory);

  void SetProgramFolder(const Text& folder) { programFolder_ = folder; }
  const Text& ProgramFolder() const { return programFolder_; }

  void AddWindow(WindowDefinition definition);
  const WindowDefinition& Definition(WindowId id) const;
  NativeWindow* Native(WindowId id);

  void RegisterExitCleanup(Handler cleanup) { exitCleanup_ = cleanup; }
  void AddExternalLibrary(std::unique_ptr<ExternalLibrary> library);

  bool LoadWindow(WindowId id, std::optional<WindowId> owner = std::nullopt);
  void DestroyWindowLater(WindowId id);
  bool IsAlive(WindowId id) const;
  bool AnyWindowAlive() const;
  // Writing a control of a window that is not loaded is a fatal error.
  void RequireLoaded(WindowId id);

  // Start-up from the loop on: runs the event loop while a window is alive,
  // shuts down and gives the exit code.
  int32_t RunUntilLastWindowCloses();
  int32_t RunEventLoop();
  void ProcessPendingEvents();
  void DelayWithEvents(int32_t milliseconds);
  bool LoopEntered() const { return loopEntered_; }

  [[noreturn]] void ExitProgram(int32_t code);
  [[noreturn]] void ReportFatalError(const Text& message, int32_t code);

  // Called by the native windows.
  void OnDestroyRequest(WindowId id);
  void OnNativeWindowDestroyed(WindowId id);

 private:
  struct WindowEntry {
    WindowDefinition definition;
    std::unique_ptr<NativeWindow> native;
    bool pendingDestroy = false;
  };

  WindowEntry& Entry(WindowId id);
  const WindowEntry* FindEntry(WindowId id) const;
  void Shutdown();

  EventPlatform& events_;
  WindowFactory& factory_;
  Text programFolder_;
  Handler exitCleanup_ = nullptr;
  bool loopEntered_ = false;
  std::vector<WindowEntry> windows_;
  std::vector<std::unique_ptr<ExternalLibrary>> externalLibraries_;
};

}  // namespace jc

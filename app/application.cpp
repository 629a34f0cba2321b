#include "app/application.h"

#include <cstdlib>

#include "app/fatal_report.h"

namespace jc {

Application::Application(EventPlatform& events, WindowFactory& factory) : events_(events), factory_(factory) {}

void Application::AddWindow(WindowDefinition definition) {
  windows_.push_back(WindowEntry{std::move(definition), nullptr, false});
}

const WindowDefinition& Application::Definition(WindowId id) const {
  return FindEntry(id)->definition;
}

NativeWindow* Application::Native(WindowId id) {
  return Entry(id).native.get();
}

void Application::AddExternalLibrary(std::unique_ptr<ExternalLibrary> library) {
  externalLibraries_.push_back(std::move(library));
}

Application::WindowEntry& Application::Entry(WindowId id) {
  return *const_cast<WindowEntry*>(FindEntry(id));
}

const Application::WindowEntry* Application::FindEntry(WindowId id) const {
  for (const WindowEntry& entry : windows_) {
    if (entry.definition.id == id) return &entry;
  }
  return nullptr;
}

bool Application::IsAlive(WindowId id) const {
  const WindowEntry* entry = FindEntry(id);
  return entry && entry->native && entry->native->Exists();
}

bool Application::AnyWindowAlive() const {
  for (const WindowEntry& entry : windows_) {
    if (IsAlive(entry.definition.id)) return true;
  }
  return false;
}

bool Application::LoadWindow(WindowId id, std::optional<WindowId> owner) {
  WindowEntry& entry = Entry(id);
  if (IsAlive(id)) {
    if (!entry.pendingDestroy) {
      if (entry.native->IsMinimized()) {
        entry.native->Restore();
      } else {
        entry.native->Activate();
      }
      return true;
    }
    entry.pendingDestroy = false;
    entry.native->DestroyNow();
  }
  if (owner && !IsAlive(*owner)) return false;

  std::unique_ptr<NativeWindow> native = factory_.Create(entry.definition);
  if (!native) return false;
  entry.native = std::move(native);
  entry.pendingDestroy = false;

  if (entry.definition.created) entry.definition.created();
  // The created handler may have loaded or destroyed windows: look again.
  WindowEntry& after = Entry(id);
  if (!after.native || !after.native->Exists()) return true;
  if (after.definition.visible) after.native->Show();
  return true;
}

void Application::DestroyWindowLater(WindowId id) {
  if (!IsAlive(id)) ReportFatalError("指定窗口或窗口组件不存在或尚未载入", 0);
  WindowEntry& entry = Entry(id);
  entry.pendingDestroy = true;
  entry.native->PostDestroyRequest();
}

void Application::OnDestroyRequest(WindowId id) {
  WindowEntry& entry = Entry(id);
  if (!entry.pendingDestroy) return;
  entry.pendingDestroy = false;
  if (IsAlive(id)) entry.native->DestroyNow();
}

void Application::OnNativeWindowDestroyed(WindowId id) {
  Entry(id).pendingDestroy = false;
  if (loopEntered_ && !AnyWindowAlive()) events_.PostQuit(0);
}

void Application::RequireLoaded(WindowId id) {
  if (!IsAlive(id)) ReportFatalError("指定窗口尚未载入", 0);
}

int32_t Application::RunUntilLastWindowCloses() {
  loopEntered_ = true;
  int32_t exitCode = 0;
  if (AnyWindowAlive()) exitCode = RunEventLoop();
  Shutdown();
  return exitCode;
}

int32_t Application::RunEventLoop() {
  int32_t quitCode = 0;
  while (events_.DispatchNextEvent(quitCode)) {
  }
  return quitCode;
}

void Application::ProcessPendingEvents() {
  int32_t quitCode = 0;
  while (events_.PeekQueue() == QueueState::Event) {
    events_.DispatchNextEvent(quitCode);
  }
}

void Application::DelayWithEvents(int32_t milliseconds) {
  if (milliseconds <= 0) return;
  // The tick counter wraps after 49.7 days; comparing the elapsed time rather
  // than against an absolute deadline keeps the wait bounded across the wrap.
  const uint32_t start = events_.TickCount();
  const auto wait = static_cast<uint32_t>(milliseconds);
  for (;;) {
    ProcessPendingEvents();
    ProcessPendingEvents();
    if (events_.TickCount() - start > wait) return;
    ProcessPendingEvents();
    ProcessPendingEvents();
  }
}

void Application::Shutdown() {
  if (exitCleanup_) {
    Handler cleanup = exitCleanup_;
    exitCleanup_ = nullptr;
    cleanup();
  }
  externalLibraries_.clear();
}

void Application::ExitProgram(int32_t code) {
  Shutdown();
  events_.EndProcess(code);
  std::abort();  // not reached: ending the process does not return
}

void Application::ReportFatalError(const Text& message, int32_t code) {
  events_.ShowFatalBox(FatalReportText(message, code));
  exitCleanup_ = nullptr;
  ExitProgram(-1);
}

}  // namespace jc

// What the frame needs of the windowing system: the event queue, the tick
// counter, the error box and the end of the process.
#pragma once

#include <cstdint>
#include <memory>

#include "app/text.h"
#include "app/window_definition.h"

namespace jc {

enum class QueueState { Empty, Event, Quit };

class EventPlatform {
 public:
  virtual ~EventPlatform() = default;
  // Looks at the next event without taking it.
  virtual QueueState PeekQueue() = 0;
  // Waits for the next event and dispatches it. A quit request is taken, not
  // dispatched: then the result is false and quitCode holds its code.
  virtual bool DispatchNextEvent(int32_t& quitCode) = 0;
  virtual void PostQuit(int32_t code) = 0;
  virtual uint32_t TickCount() = 0;
  // The error box: title "错误", error icon, OK; waits until it is closed.
  virtual void ShowFatalBox(const Text& report) = 0;
  [[noreturn]] virtual void EndProcess(int32_t code) = 0;
};

// A live window made from a definition.
class NativeWindow {
 public:
  virtual ~NativeWindow() = default;
  virtual bool Exists() const = 0;
  virtual bool IsMinimized() const = 0;
  virtual void Restore() = 0;
  virtual void Activate() = 0;
  virtual void Show() = 0;
  virtual void DestroyNow() = 0;
  // Queues a private message; its dispatch calls Application::OnDestroyRequest.
  virtual void PostDestroyRequest() = 0;
};

class WindowFactory {
 public:
  virtual ~WindowFactory() = default;
  // Creates the window hidden, with all of its controls; nullptr on failure.
  virtual std::unique_ptr<NativeWindow> Create(const WindowDefinition& definition) = 0;
};

// A library loaded for external calls; destroying it releases the library.
class ExternalLibrary {
 public:
  virtual ~ExternalLibrary() = default;
};

}  // namespace jc

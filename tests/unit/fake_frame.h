// Fakes of the windowing system for testing the frame and what runs in it:
// an event queue of routines, a tick counter that moves on every reading,
// and windows that only remember what was done to them.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

#include "app/application.h"

namespace jc {

struct ProcessEnded {
  int32_t code;
};

// An event queue where events are routines and a quit request is a marker.
class FakeEvents : public EventPlatform {
 public:
  struct Event {
    std::function<void()> run;
    bool quit = false;
    int32_t code = 0;
  };
  std::deque<Event> queue;
  uint32_t tick = 1000;
  int peeks = 0;
  int dispatched = 0;
  std::vector<Text> fatalBoxes;

  void Post(std::function<void()> run) { queue.push_back(Event{std::move(run)}); }

  QueueState PeekQueue() override {
    ++peeks;
    if (queue.empty()) return QueueState::Empty;
    return queue.front().quit ? QueueState::Quit : QueueState::Event;
  }
  bool DispatchNextEvent(int32_t& quitCode) override {
    if (queue.empty()) throw std::runtime_error("the loop would wait for ever");
    Event event = queue.front();
    queue.pop_front();
    if (event.quit) {
      quitCode = event.code;
      return false;
    }
    ++dispatched;
    event.run();
    return true;
  }
  void PostQuit(int32_t code) override { queue.push_back(Event{nullptr, true, code}); }
  uint32_t TickCount() override { return tick++; }
  void ShowFatalBox(const Text& report) override { fatalBoxes.push_back(report); }
  void EndProcess(int32_t code) override { throw ProcessEnded{code}; }
};

class FakeWindow : public NativeWindow {
 public:
  FakeWindow(Application& app, FakeEvents& events, WindowId id) : app_(app), events_(events), id_(id) {}
  bool exists = true;
  bool shown = false;
  int activations = 0;
  bool Exists() const override { return exists; }
  bool IsMinimized() const override { return false; }
  void Restore() override {}
  void Activate() override { ++activations; }
  void Show() override { shown = true; }
  void DestroyNow() override {
    if (!exists) return;
    exists = false;
    app_.OnNativeWindowDestroyed(id_);
  }
  void PostDestroyRequest() override {
    // Like a posted message, the request outlives the object that posted it.
    Application* app = &app_;
    const WindowId id = id_;
    events_.Post([app, id] { app->OnDestroyRequest(id); });
  }

 private:
  Application& app_;
  FakeEvents& events_;
  WindowId id_;
};

class FakeFactory : public WindowFactory {
 public:
  Application* app = nullptr;
  FakeEvents* events = nullptr;
  int created = 0;
  std::unique_ptr<NativeWindow> Create(const WindowDefinition& definition) override {
    ++created;
    return std::make_unique<FakeWindow>(*app, *events, definition.id);
  }
};

// The exit code with which run ends the process; a test failure when it returns.
inline int32_t ExitCodeOf(const std::function<void()>& run) {
  try {
    run();
  } catch (const ProcessEnded& ended) {
    return ended.code;
  }
  ADD_FAILURE() << "the process did not end";
  return 12345;
}

}  // namespace jc

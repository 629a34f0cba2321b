// A top-level window made from a definition, with its controls.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "app/application.h"
#include "platform/win32/controls.h"

namespace jc {

class TopWindow : public NativeWindow {
 public:
  TopWindow(const WindowDefinition& definition, Application& app);
  ~TopWindow() override;

  bool Create(HINSTANCE instance, ResultList* results);

  bool Exists() const override;
  bool IsMinimized() const override;
  void Restore() override;
  void Activate() override;
  void Show() override;
  void DestroyNow() override;
  void PostDestroyRequest() override;

  HWND Hwnd() const { return hwnd_; }
  const WindowDefinition& Definition() const { return definition_; }
  // The control of that name, or nullptr.
  HWND ControlHwnd(const Text& name) const;
  // Our window whose native window is hwnd, or nullptr.
  static TopWindow* FromHwnd(HWND hwnd);

  static void RegisterWindowClass(HINSTANCE instance);

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  Control* ControlOf(HWND child) const;
  bool CreateControls(HINSTANCE instance, ResultList* results);

  const WindowDefinition& definition_;
  Application& app_;
  HWND hwnd_ = nullptr;
  HWND lastFocus_ = nullptr;
  std::vector<std::unique_ptr<Control>> controls_;
};

class Win32WindowFactory : public WindowFactory {
 public:
  explicit Win32WindowFactory(HINSTANCE instance) : instance_(instance) {}
  // The frame that the windows report to, and the rows that list views show.
  void Bind(Application* app, ResultList* results) {
    app_ = app;
    results_ = results;
  }
  std::unique_ptr<NativeWindow> Create(const WindowDefinition& definition) override;

 private:
  HINSTANCE instance_;
  Application* app_ = nullptr;
  ResultList* results_ = nullptr;
};

// The control of a loaded window, or nullptr.
HWND ControlOfWindow(Application& app, WindowId id, const Text& name);

}  // namespace jc

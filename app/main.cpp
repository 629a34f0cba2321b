// Start-up: the program's folder becomes the current directory, the windows
// are defined, the first window is loaded and the event loop runs until the
// last window closes.
#include <windows.h>
#include <objbase.h>

#include "app/handlers.h"
#include "app/main_window_definition.h"
#include "app/splash_window_definition.h"
#include "app/program.h"
#include "platform/win32/top_window.h"
#include "platform/win32/win32_events.h"

namespace {

jc::Text ProgramFolder() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  jc::Text folder(path, length);
  const size_t separator = folder.rfind('\\');
  return separator == jc::Text::npos ? jc::Text() : folder.substr(0, separator);
}

// The wide name survives folders whose names the ANSI code page cannot spell.
void MakeProgramFolderCurrent() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  wchar_t* separator = wcsrchr(path, L'\\');
  if (!separator) return;
  *separator = L'\0';
  SetCurrentDirectoryW(path);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // The splash picture is decoded through COM.
  CoInitialize(nullptr);
  jc::TopWindow::RegisterWindowClass(instance);
  jc::RegisterControlClasses(instance);

  static jc::Win32EventPlatform events;
  static jc::Win32WindowFactory factory(instance);
  static jc::Program program(events, factory);
  factory.Bind(&program.app, &program.results);
  jc::SetTheProgram(&program);

  jc::Application& app = program.app;
  app.SetProgramFolder(ProgramFolder());
  MakeProgramFolderCurrent();
  app.AddWindow(jc::MainWindowDefinition(jc::OnQuickScanClicked, jc::OnCleanJunkClicked));
  app.AddWindow(jc::SplashWindowDefinition(jc::OnSplashCreated));
  app.RegisterExitCleanup(jc::ExitCleanup);

  if (!app.LoadWindow(jc::WindowId::Splash)) app.ReportFatalError("载入启动窗口失败", 0);
  return app.RunUntilLastWindowCloses();
}

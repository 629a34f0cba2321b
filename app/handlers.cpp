#include "app/handlers.h"

#include "app/main_window_view.h"
#include "app/splash_view.h"
#include "app/program.h"
#include "cleaner/quick_scan.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_folders.h"
#include "platform/win32/win32_http.h"
#include "platform/win32/win32_skin.h"
#include "startup/skin_deployment.h"
#include "startup/start_sequence.h"
#include "startup/update_check.h"

namespace jc {

namespace {

JunkJob MakeJob() {
  static Win32FileSystem files;
  static Win32FolderSource folders;
  static MainWindowView view(TheProgram().app);
  Program& program = TheProgram();
  return JunkJob{files, folders, program.results, program.scan, view};
}

}  // namespace

void OnQuickScanClicked() {
  JunkJob job = MakeJob();
  QuickScan(job);
}

void OnCleanJunkClicked() {
  JunkJob job = MakeJob();
  CleanJunk(job);
}

// The whole start: skin, welcome, status texts, update check, main window.
void OnSplashCreated() {
  static Win32SkinFiles files(GetModuleHandleW(nullptr));
  static Win32LibraryLoader loader;
  static SkinEngineBinding binding;
  static WinInetClient http;
  Application& app = TheProgram().app;
  static SplashView view(app);
  SkinJob skin{app, files, loader, binding};
  UpdateJob update{app, http, view};
  StartJob start{app, view, [&skin] { SkinDeployment(skin); }, [&update] { UpdateCheck(update); }};
  StartSequence(start);
}

}  // namespace jc

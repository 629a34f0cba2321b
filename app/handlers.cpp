#include "app/handlers.h"

#include "app/main_window_view.h"
#include "app/program.h"
#include "cleaner/quick_scan.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_folders.h"
#include "platform/win32/win32_skin.h"
#include "startup/skin_deployment.h"

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

// The skin is attached before anything is shown; then the splash window
// stands for a moment and hands over to the main window.
void OnSplashCreated() {
  static Win32SkinFiles files(GetModuleHandleW(nullptr));
  static Win32LibraryLoader loader;
  static SkinEngineBinding binding;
  Application& app = TheProgram().app;
  SkinJob job{app, files, loader, binding};
  SkinDeployment(job);
  app.Native(WindowId::Splash)->Show();
  app.DelayWithEvents(3000);
  app.LoadWindow(WindowId::Main);
  app.DestroyWindowLater(WindowId::Splash);
}

}  // namespace jc

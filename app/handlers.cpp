#include "app/handlers.h"

#include "app/main_window_view.h"
#include "app/program.h"
#include "cleaner/quick_scan.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_folders.h"

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

}  // namespace jc

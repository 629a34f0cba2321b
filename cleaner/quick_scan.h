// The quick scan fills the result list with the junk files it finds; the
// clean deletes the listed files from the top down.
#pragma once

#include <memory>

#include "app/text.h"
#include "cleaner/result_list.h"
#include "cleaner/scan_state.h"
#include "cleaner/scan_view.h"
#include "platform/files.h"
#include "platform/folders.h"

namespace jc {

// The category of every row the scan writes; the clean takes only these.
extern const char kJunkCategory[];

struct JunkJob {
  FileSystem& files;
  FolderSource& folders;
  ResultList& results;
  ScanState& state;
  ScanView& view;
};

// One run's directory search: at most one open at a time.
struct FindHandle {
  std::unique_ptr<DirectorySearch> search;
  Text namePattern;  // the wildcard that long names must match
};

// A non-empty search path starts a new search, the empty text continues the
// open one. Gives the next matching file's bare name, or the empty text when
// there is none. Folders are passed over, and so are names that match the
// wildcard only through their short 8.3 names.
Text FindFile(FileSystem& files, const Text& searchPath, FindHandle& handle);
void CloseFind(FindHandle& handle);

// The low 32 bits of the file's size taken as signed; -1 when not found.
int32_t FileSizeOf(FileSystem& files, const Text& path);

void QuickScan(JunkJob& job);
void CleanJunk(JunkJob& job);

}  // namespace jc

#include "cleaner/quick_scan.h"

#include "cleaner/junk_targets.h"
#include "cleaner/wildcard.h"

namespace jc {

const char kJunkCategory[] = "系统垃圾";

namespace {

Text NamePart(const Text& searchPath) {
  const size_t separator = searchPath.rfind('\\');
  return separator == Text::npos ? searchPath : searchPath.substr(separator + 1);
}

// A file counts only when its long name matches: the system also matches
// wildcards against short names, so "*.bak" would find "notes.bakery".
bool Matches(const FindHandle& handle, const FoundEntry& entry) {
  return !entry.isFolder && WildcardMatches(handle.namePattern, entry.name);
}

Text NextMatch(FindHandle& handle, FoundEntry& entry) {
  while (handle.search) {
    if (!handle.search->Next(entry)) {
      handle.search.reset();
      return Text();
    }
    if (Matches(handle, entry)) return entry.name;
  }
  return Text();
}

// The search path of a target, or the empty text when its folder is unknown:
// an unresolvable folder must not turn into the root of the current drive.
Text SearchPath(const Text& folder, const JunkTarget& target) {
  if (folder.empty()) return Text();
  return TextConcat({folder, target.pattern});
}

// The folder the targets are searched in switches once, to the Windows folder.
void SwitchFolderIfNeeded(JunkJob& job, const JunkTarget& target, FolderKind& current) {
  if (target.folder == current) return;
  current = target.folder;
  job.state.currentFolder = ResolveFolder(current, job.folders);
}

void CountPass(JunkJob& job, FindHandle& handle) {
  ScanState& state = job.state;
  state.fileCount = 1;
  FolderKind current = FolderKind::TempFolder;
  for (const JunkTarget& target : CountTargets()) {
    SwitchFolderIfNeeded(job, target, current);
    const Text searchPath = SearchPath(state.currentFolder, target);
    state.foundName = searchPath.empty() ? Text() : FindFile(job.files, searchPath, handle);
    state.rowIndex = 0;
    while (!state.foundName.empty()) {
      ++state.fileCount;
      state.foundName = FindFile(job.files, Text(), handle);
    }
  }
}

void ListPass(JunkJob& job, FindHandle& handle) {
  ScanState& state = job.state;
  FolderKind current = FolderKind::TempFolder;
  bool first = true;
  for (const JunkTarget& target : ListTargets()) {
    SwitchFolderIfNeeded(job, target, current);
    const Text searchPath = SearchPath(state.currentFolder, target);
    state.foundName = searchPath.empty() ? Text() : FindFile(job.files, searchPath, handle);
    if (first) state.rowIndex = 0;
    first = false;
    const Text subfolder = SubfolderPart(target.pattern);
    while (!state.foundName.empty()) {
      job.results.InsertRow(state.rowIndex);
      const Text path = TextConcat({state.currentFolder, subfolder, state.foundName});
      job.results.SetCellText(state.rowIndex, 0, path);
      state.lastFileSize = FileSizeOf(job.files, path);
      job.results.SetCellText(state.rowIndex, 1, IntegerToText(state.lastFileSize));
      job.results.SetCellText(state.rowIndex, 2, state.category);
      state.foundName = FindFile(job.files, Text(), handle);
      StepProgress(job.view);
    }
  }
}

}  // namespace

void StepProgress(ScanView& view) { view.SetProgressPosition(view.ProgressPosition() + 1); }

Text FindFile(FileSystem& files, const Text& searchPath, FindHandle& handle) {
  FoundEntry entry;
  if (searchPath.empty()) return NextMatch(handle, entry);

  CloseFind(handle);
  handle.search = files.StartSearch(searchPath, entry);
  if (!handle.search) return Text();
  handle.namePattern = NamePart(searchPath);
  if (Matches(handle, entry)) return entry.name;
  return NextMatch(handle, entry);
}

void CloseFind(FindHandle& handle) { handle.search.reset(); }

int32_t FileSizeOf(FileSystem& files, const Text& path) {
  FoundEntry entry;
  if (!files.StartSearch(path, entry)) return -1;
  return static_cast<int32_t>(static_cast<uint32_t>(entry.size & 0xFFFFFFFFu));
}

void QuickScan(JunkJob& job) {
  FindHandle handle;
  ScanState& state = job.state;
  job.view.SetProgressPosition(0);
  job.view.SetStatusText("正在扫描系统垃圾...");
  state.currentFolder = ResolveFolder(FolderKind::TempFolder, job.folders);
  state.category = kJunkCategory;
  job.view.DelayWithEvents(10);

  CountPass(job, handle);
  state.currentFolder = ResolveFolder(FolderKind::TempFolder, job.folders);
  job.view.SetProgressMaximum(state.fileCount);
  ListPass(job, handle);

  StepProgress(job.view);
  job.view.SetStatusText("系统垃圾扫描完成");
  CloseFind(handle);
}

void CleanJunk(JunkJob& job) {
  job.view.SetProgressPosition(0);
  job.view.SetProgressMaximum(job.results.RowCount());
  while (TextCompare(job.results.GetCellText(0, 2), kJunkCategory) == 0) {
    job.files.RemoveFile(job.results.GetCellText(0, 0));
    job.results.DeleteRow(0);
    StepProgress(job.view);
  }
  StepProgress(job.view);
  job.view.SetStatusText("系统垃圾清理完毕");
}

}  // namespace jc

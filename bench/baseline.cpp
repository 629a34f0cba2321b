// The bare file-system work of a quick scan and a clean, with no window: the
// same two find passes over the junk targets, the same size lookup per file,
// then the deletion of every listed file in the program's order. The
// benchmark compares the program against this. Prints
// "scan_ms=<n> clean_ms=<n> files=<n> counted=<n>".
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cleaner/junk_targets.h"
#include "bench/file_work.h"
#include "platform/win32/win32_folders.h"

namespace {

using bench::CountPass;
using bench::Folders;
using bench::SizeOf;

std::vector<std::string> ListPass(const Folders& folders) {
  std::vector<std::string> paths;
  for (const jc::JunkTarget& target : jc::ListTargets()) {
    const std::string folder = folders.Of(target.folder) + jc::SubfolderPart(target.pattern);
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((folders.Of(target.folder) + target.pattern).c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) continue;
    do {
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      paths.push_back(folder + data.cFileName);
      SizeOf(paths.back());
    } while (FindNextFileA(search, &data));
    FindClose(search);
  }
  return paths;
}

}  // namespace

int main() {
  jc::Win32FolderSource source;
  Folders folders{jc::ResolveFolder(jc::FolderKind::TempFolder, source),
                  jc::ResolveFolder(jc::FolderKind::WindowsFolder, source)};
  const DWORD scanStart = GetTickCount();
  const int counted = CountPass(folders);
  const std::vector<std::string> paths = ListPass(folders);
  const DWORD scanEnd = GetTickCount();
  // Last found first, as the program's clean always takes the top row. The
  // order costs time under Wine: every .chk file is listed twice, and the
  // second delete of one fails only after a search of the whole folder, so
  // it matters how many files are still there when that happens.
  for (auto it = paths.rbegin(); it != paths.rend(); ++it) DeleteFileA(it->c_str());
  const DWORD cleanEnd = GetTickCount();
  std::printf("scan_ms=%lu clean_ms=%lu files=%zu counted=%d\n", scanEnd - scanStart, cleanEnd - scanEnd,
              paths.size(), counted - 1);
  return 0;
}

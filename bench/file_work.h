// The file-system work both benchmark programs share with the program's
// scan: the folders, the count pass and the size lookup of one file.
#pragma once

#include <windows.h>

#include <string>

#include "cleaner/junk_targets.h"

namespace bench {

struct Folders {
  std::string temp, windows;
  const std::string& Of(jc::FolderKind kind) const { return kind == jc::FolderKind::TempFolder ? temp : windows; }
};

inline int CountPass(const Folders& folders) {
  int count = 1;
  for (const jc::JunkTarget& target : jc::CountTargets()) {
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((folders.Of(target.folder) + target.pattern).c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) continue;
    do {
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
    } while (FindNextFileA(search, &data));
    FindClose(search);
  }
  return count;
}

// The size lookup the scan makes for each listed file: a search of its own.
inline long long SizeOf(const std::string& path) {
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA(path.c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return -1;
  FindClose(search);
  return static_cast<int>(data.nFileSizeLow);
}

}  // namespace bench

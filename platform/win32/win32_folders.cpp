#include "platform/win32/win32_folders.h"

#include <windows.h>

#include <vector>

namespace jc {

bool Win32FolderSource::QueryFolder(FolderKind kind, Text& path) {
  // Ask with a growing buffer so that the caller sees the real length and
  // can apply its own limit.
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const auto size = static_cast<UINT>(buffer.size());
    const UINT length = kind == FolderKind::TempFolder ? GetTempPathA(size, buffer.data())
                                                       : GetWindowsDirectoryA(buffer.data(), size);
    if (length == 0) return false;
    if (length < size) {
      path.assign(buffer.data(), length);
      return true;
    }
    buffer.resize(length + 1);
  }
}

}  // namespace jc

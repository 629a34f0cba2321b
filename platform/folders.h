// What the junk model needs to know about the system's special folders.
#pragma once

#include <cstdint>

#include "app/text.h"

namespace jc {

// Numbered as the program's special-folder numbering has them.
enum class FolderKind : int32_t { TempFolder = 11, WindowsFolder = 9 };

class FolderSource {
 public:
  virtual ~FolderSource() = default;
  // The folder's path exactly as the system gives it, whatever its length;
  // false when the system reports a failure.
  virtual bool QueryFolder(FolderKind kind, Text& path) = 0;
};

}  // namespace jc

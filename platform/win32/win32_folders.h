#pragma once

#include "platform/folders.h"

namespace jc {

class Win32FolderSource : public FolderSource {
 public:
  bool QueryFolder(FolderKind kind, Text& path) override;
};

}  // namespace jc

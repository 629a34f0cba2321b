#pragma once

#include "platform/files.h"

namespace jc {

class Win32FileSystem : public FileSystem {
 public:
  std::unique_ptr<DirectorySearch> StartSearch(const Text& searchPath, FoundEntry& first) override;
  bool RemoveFile(const Text& path) override;
};

}  // namespace jc

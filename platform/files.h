// What the scan and the clean need of the file system.
#pragma once

#include <cstdint>
#include <memory>

#include "app/text.h"

namespace jc {

struct FoundEntry {
  Text name;  // the long name, without folder
  bool isFolder = false;
  uint64_t size = 0;
};

// One open directory search; destroying it closes the search.
class DirectorySearch {
 public:
  virtual ~DirectorySearch() = default;
  // The next entry; false when the search has no more.
  virtual bool Next(FoundEntry& entry) = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Opens a search on a path ending in a wildcard and gives its first entry;
  // nullptr when nothing matches or the folder cannot be read. The system
  // may also match the wildcard against short 8.3 names.
  virtual std::unique_ptr<DirectorySearch> StartSearch(const Text& searchPath, FoundEntry& first) = 0;
  // True when the file was deleted.
  virtual bool RemoveFile(const Text& path) = 0;
};

}  // namespace jc

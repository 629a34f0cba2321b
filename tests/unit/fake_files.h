// An in-memory file system that searches like Windows does, short names included.
#pragma once

#include <map>
#include <set>
#include <vector>

#include "cleaner/wildcard.h"
#include "platform/files.h"
#include "platform/folders.h"

namespace jc {

struct FakeFile {
  FakeFile(Text fileName, uint64_t fileSize = 0, bool folder = false, Text shortFileName = Text())
      : name(std::move(fileName)), size(fileSize), isFolder(folder), shortName(std::move(shortFileName)) {}
  Text name;
  uint64_t size = 0;
  bool isFolder = false;
  Text shortName;  // the generated 8.3 name, when the system keeps one
};

class FakeFileSystem : public FileSystem {
 public:
  std::map<Text, std::vector<FakeFile>> folders;  // folder path with final "\" -> entries
  std::vector<Text> searches;                     // every search path asked for
  std::vector<Text> removals;                     // every path a deletion was asked for
  std::set<Text> locked;                          // paths that cannot be deleted

  void Add(const Text& folder, FakeFile file) { folders[folder].push_back(std::move(file)); }

  bool Exists(const Text& path) const {
    const size_t cut = path.rfind('\\');
    auto folder = folders.find(path.substr(0, cut + 1));
    if (folder == folders.end()) return false;
    for (const FakeFile& file : folder->second) {
      if (file.name == path.substr(cut + 1)) return true;
    }
    return false;
  }

  std::unique_ptr<DirectorySearch> StartSearch(const Text& searchPath, FoundEntry& first) override {
    searches.push_back(searchPath);
    const size_t cut = searchPath.rfind('\\');
    const Text folder = searchPath.substr(0, cut + 1);
    const Text pattern = searchPath.substr(cut + 1);
    auto found = folders.find(folder);
    if (found == folders.end()) return nullptr;
    std::vector<FoundEntry> matches;
    for (const FakeFile& file : found->second) {
      const bool byShortName = !file.shortName.empty() && WildcardMatches(pattern, file.shortName);
      if (WildcardMatches(pattern, file.name) || byShortName) {
        matches.push_back(FoundEntry{file.name, file.isFolder, file.size});
      }
    }
    if (matches.empty()) return nullptr;
    auto search = std::make_unique<Search>(std::move(matches));
    search->Next(first);
    return search;
  }

  bool RemoveFile(const Text& path) override {
    removals.push_back(path);
    if (locked.count(path)) return false;
    const size_t cut = path.rfind('\\');
    auto folder = folders.find(path.substr(0, cut + 1));
    if (folder == folders.end()) return false;
    auto& files = folder->second;
    for (auto it = files.begin(); it != files.end(); ++it) {
      if (it->name == path.substr(cut + 1) && !it->isFolder) {
        files.erase(it);
        return true;
      }
    }
    return false;
  }

 private:
  class Search : public DirectorySearch {
   public:
    explicit Search(std::vector<FoundEntry> entries) : entries_(std::move(entries)) {}
    bool Next(FoundEntry& entry) override {
      if (next_ >= entries_.size()) return false;
      entry = entries_[next_++];
      return true;
    }

   private:
    std::vector<FoundEntry> entries_;
    size_t next_ = 0;
  };
};

class FakeFolders : public FolderSource {
 public:
  Text temp = "C:\\T\\";
  Text windows = "C:\\W";
  bool QueryFolder(FolderKind kind, Text& path) override {
    path = kind == FolderKind::TempFolder ? temp : windows;
    return !path.empty();
  }
};

}  // namespace jc

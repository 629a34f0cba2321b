#include "platform/win32/win32_files.h"

#include <windows.h>

namespace jc {

namespace {

void ToEntry(const WIN32_FIND_DATAA& data, FoundEntry& entry) {
  entry.name = data.cFileName;
  entry.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  entry.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

class Win32Search : public DirectorySearch {
 public:
  explicit Win32Search(HANDLE handle) : handle_(handle) {}
  ~Win32Search() override { FindClose(handle_); }
  bool Next(FoundEntry& entry) override {
    WIN32_FIND_DATAA data;
    if (!FindNextFileA(handle_, &data)) return false;
    ToEntry(data, entry);
    return true;
  }

 private:
  HANDLE handle_;
};

}  // namespace

std::unique_ptr<DirectorySearch> Win32FileSystem::StartSearch(const Text& searchPath, FoundEntry& first) {
  WIN32_FIND_DATAA data;
  HANDLE handle = FindFirstFileA(searchPath.c_str(), &data);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  ToEntry(data, first);
  return std::make_unique<Win32Search>(handle);
}

bool Win32FileSystem::RemoveFile(const Text& path) { return DeleteFileA(path.c_str()) != FALSE; }

}  // namespace jc

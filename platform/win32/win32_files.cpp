#include "platform/win32/win32_files.h"

#include <windows.h>

#include <string>

#include "platform/win32/text_convert.h"

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

namespace {

using GetFinalPathFunction = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);

std::wstring WithoutLongPathPrefix(const std::wstring& path) {
  const std::wstring prefix = L"\\\\?\\";
  return path.compare(0, prefix.size(), prefix) == 0 ? path.substr(prefix.size()) : path;
}

// The path the system reached when it opened the file; empty when it cannot say.
std::wstring FinalPathOf(HANDLE file, GetFinalPathFunction finalPath) {
  std::wstring reached(MAX_PATH, L'\0');
  DWORD length = finalPath(file, reached.data(), static_cast<DWORD>(reached.size()), 0);
  if (length >= reached.size()) {
    reached.assign(length + 1, L'\0');
    length = finalPath(file, reached.data(), static_cast<DWORD>(reached.size()), 0);
  }
  if (length == 0 || length >= reached.size()) return std::wstring();
  reached.resize(length);
  return reached;
}

// True when the file that opening the path reaches is not the entry the path
// names: a link. Under Wine a Unix link to a file looks like a plain file,
// and deleting it by name deletes the file it points to. Where the system
// cannot tell (no GetFinalPathNameByHandleW before Vista), it is not a link.
bool LeadsElsewhere(const Text& path) {
  static const auto finalPath = reinterpret_cast<GetFinalPathFunction>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetFinalPathNameByHandleW")));
  if (!finalPath) return false;
  const std::wstring wide = WideFromPath(path);
  HANDLE file = CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const std::wstring final = WithoutLongPathPrefix(FinalPathOf(file, finalPath));
  CloseHandle(file);
  if (final.empty() || lstrcmpiW(final.c_str(), wide.c_str()) == 0) return false;
  // The path may still name the same file in other words (short 8.3 names).
  std::wstring named(wide.size() + MAX_PATH, L'\0');
  const DWORD namedLength = GetLongPathNameW(wide.c_str(), named.data(), static_cast<DWORD>(named.size()));
  return namedLength == 0 || namedLength >= named.size() || lstrcmpiW(final.c_str(), named.c_str()) != 0;
}

}  // namespace

bool Win32FileSystem::RemoveFile(const Text& path) {
  if (LeadsElsewhere(path)) return false;
  return DeleteFileA(path.c_str()) != FALSE;
}

}  // namespace jc

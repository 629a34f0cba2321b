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
using SetFileInformationFunction = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);

// The two calls that let a file be checked and deleted through one handle;
// both come with Windows Vista. Without them, files are deleted by name.
struct HandleCalls {
  GetFinalPathFunction finalPath;
  SetFileInformationFunction setInformation;
};

template <typename Function>
Function Kernel32Function(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name)));
}

const HandleCalls& Calls() {
  static const HandleCalls calls{Kernel32Function<GetFinalPathFunction>("GetFinalPathNameByHandleW"),
                                 Kernel32Function<SetFileInformationFunction>("SetFileInformationByHandle")};
  return calls;
}

std::wstring WithoutLongPathPrefix(const std::wstring& path) {
  const std::wstring prefix = L"\\\\?\\";
  return path.compare(0, prefix.size(), prefix) == 0 ? path.substr(prefix.size()) : path;
}

// The path the system reached when it opened the file; empty when it cannot say.
std::wstring FinalPathOf(HANDLE file) {
  std::wstring reached(MAX_PATH, L'\0');
  DWORD length = Calls().finalPath(file, reached.data(), static_cast<DWORD>(reached.size()), 0);
  if (length >= reached.size()) {
    reached.assign(length + 1, L'\0');
    length = Calls().finalPath(file, reached.data(), static_cast<DWORD>(reached.size()), 0);
  }
  if (length == 0 || length >= reached.size()) return std::wstring();
  reached.resize(length);
  return reached;
}

// True when the file that opening the path reached is not the entry the path
// names: a link. Under Wine a Unix link to a file looks like a plain file,
// and deleting it by name deletes the file it points to.
bool LeadsElsewhere(HANDLE file, const std::wstring& path) {
  const std::wstring final = WithoutLongPathPrefix(FinalPathOf(file));
  if (final.empty() || lstrcmpiW(final.c_str(), path.c_str()) == 0) return false;
  // The path may still name the same file in other words (short 8.3 names).
  std::wstring named(path.size() + MAX_PATH, L'\0');
  const DWORD namedLength = GetLongPathNameW(path.c_str(), named.data(), static_cast<DWORD>(named.size()));
  return namedLength == 0 || namedLength >= named.size() || lstrcmpiW(final.c_str(), named.c_str()) != 0;
}

}  // namespace

// Opens the file once, makes sure it is the entry the path names and not
// what a link points to, and deletes it through the same handle.
bool Win32FileSystem::RemoveFile(const Text& path) {
  if (!Calls().finalPath || !Calls().setInformation) return DeleteFileA(path.c_str()) != FALSE;
  const std::wstring wide = WideFromPath(path);
  HANDLE file = CreateFileW(wide.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool deleted = false;
  if (!LeadsElsewhere(file, wide)) {
    const int kFileDispositionInfo = 4;
    BOOLEAN deleteFile = TRUE;
    deleted = Calls().setInformation(file, kFileDispositionInfo, &deleteFile, sizeof(deleteFile)) != FALSE;
  }
  CloseHandle(file);
  return deleted;
}

}  // namespace jc

// Variants of baseline.exe that change, one at a time, what the program does
// per row beyond the bare file-system work, to find where its extra time
// goes: the order it deletes in, the two progress-bar messages it sends per
// row, and how it deletes a file.
//
//   bench_variants.exe [oldestfirst] [messages] [scanmessages] [storedbar] [handledelete]
//
// (none)        exactly the work of baseline.exe, newest row first
// oldestfirst   delete in the order found instead
// messages      per deleted file, ask a progress bar for its position and
//               set it one further (a bar of our own window, same thread)
// scanmessages  the same two messages per file found in the list pass
// storedbar     the bar only keeps the values, as the program's does,
//               instead of redrawing itself: what is left is the cost of
//               the message calls themselves
// handledelete  delete as the program does, so as never to delete through
//               a link: open the file, compare the path the system reached
//               with the path asked for, and delete through that handle
//
// Prints "scan_ms=<n> clean_ms=<n> files=<n> counted=<n> not_deleted=<n>".
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cleaner/junk_targets.h"
#include "bench/file_work.h"
#include "platform/win32/win32_folders.h"

namespace {

using bench::CountPass;
using bench::Folders;
using bench::SizeOf;

struct Options {
  bool oldestFirst = false, messages = false, scanMessages = false, storedBar = false, handleDelete = false;
};

HWND g_frame = nullptr;
HWND g_bar = nullptr;

void Step() {
  const LRESULT pos = SendMessageW(g_bar, PBM_GETPOS, 0, 0);
  SendMessageW(g_bar, PBM_SETPOS, static_cast<WPARAM>(pos + 1), 0);
}

std::vector<std::string> ListPass(const Folders& folders, const Options& options) {
  std::vector<std::string> paths;
  for (const jc::JunkTarget& target : jc::ListTargets()) {
    const std::string folder = folders.Of(target.folder) + jc::SubfolderPart(target.pattern);
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((folders.Of(target.folder) + target.pattern).c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) continue;
    do {
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      paths.push_back(folder + data.cFileName);
      SizeOf(paths.back());
      if (options.scanMessages) Step();
    } while (FindNextFileA(search, &data));
    FindClose(search);
  }
  return paths;
}

LRESULT g_storedPosition = 0;

LRESULT CALLBACK StoredBarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case PBM_GETPOS:
      return g_storedPosition;
    case PBM_SETPOS: {
      const LRESULT previous = g_storedPosition;
      g_storedPosition = static_cast<LRESULT>(wParam);
      return previous;
    }
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

void CreateBar(bool stored) {
  INITCOMMONCONTROLSEX common{sizeof(common), ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&common);
  WNDCLASSW storedClass{};
  storedClass.lpfnWndProc = StoredBarProc;
  storedClass.hInstance = GetModuleHandleW(nullptr);
  storedClass.lpszClassName = L"StoredBar";
  RegisterClassW(&storedClass);
  g_frame = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 400, 100, nullptr, nullptr, nullptr, nullptr);
  g_bar = CreateWindowExW(0, stored ? L"StoredBar" : PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 360, 16,
                          g_frame, nullptr, nullptr, nullptr);
  SendMessageW(g_bar, PBM_SETRANGE32, 0, 32767);
}

std::wstring Wide(const std::string& path) {
  const int n = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), n);
  wide.resize(static_cast<size_t>(n > 0 ? n - 1 : 0));
  return wide;
}

// The same calls as the program's clean: one handle opened for deleting,
// the path it reached compared with the path asked for (and, only when they
// differ, with its long form), then the delete through that handle.
bool DeleteThroughHandle(const std::string& path) {
  const std::wstring wide = Wide(path);
  HANDLE file = CreateFileW(wide.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::wstring reached(MAX_PATH, L'\0');
  const DWORD length = GetFinalPathNameByHandleW(file, reached.data(), static_cast<DWORD>(reached.size()), 0);
  bool same = false;
  if (length > 0 && length < reached.size()) {
    reached.resize(length);
    if (reached.compare(0, 4, L"\\\\?\\") == 0) reached.erase(0, 4);
    same = lstrcmpiW(reached.c_str(), wide.c_str()) == 0;
    if (!same) {
      std::wstring named(wide.size() + MAX_PATH, L'\0');
      const DWORD namedLength = GetLongPathNameW(wide.c_str(), named.data(), static_cast<DWORD>(named.size()));
      same = namedLength > 0 && namedLength < named.size() && lstrcmpiW(reached.c_str(), named.c_str()) == 0;
    }
  }
  bool deleted = false;
  if (same) {
    FILE_DISPOSITION_INFO disposition{TRUE};
    deleted = SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof(disposition)) != FALSE;
  }
  CloseHandle(file);
  return deleted;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "oldestfirst")) options.oldestFirst = true;
    else if (!std::strcmp(argv[i], "messages")) options.messages = true;
    else if (!std::strcmp(argv[i], "scanmessages")) options.scanMessages = true;
    else if (!std::strcmp(argv[i], "storedbar")) options.storedBar = true;
    else if (!std::strcmp(argv[i], "handledelete")) options.handleDelete = true;
    else {
      std::fprintf(stderr, "unknown variant %s\n", argv[i]);
      return 2;
    }
  }
  if (options.messages || options.scanMessages) CreateBar(options.storedBar);

  jc::Win32FolderSource source;
  Folders folders{jc::ResolveFolder(jc::FolderKind::TempFolder, source),
                  jc::ResolveFolder(jc::FolderKind::WindowsFolder, source)};
  const DWORD scanStart = GetTickCount();
  const int counted = CountPass(folders);
  const std::vector<std::string> paths = ListPass(folders, options);
  const DWORD scanEnd = GetTickCount();
  std::vector<std::string> order(paths.rbegin(), paths.rend());
  if (options.oldestFirst) order = paths;
  int kept = 0;
  for (const std::string& path : order) {
    const bool deleted = options.handleDelete ? DeleteThroughHandle(path) : DeleteFileA(path.c_str()) != FALSE;
    if (!deleted) ++kept;
    if (options.messages) Step();
  }
  const DWORD cleanEnd = GetTickCount();
  std::printf("scan_ms=%lu clean_ms=%lu files=%zu counted=%d not_deleted=%d\n", scanEnd - scanStart,
              cleanEnd - scanEnd, paths.size(), counted - 1, kept);
  return 0;
}

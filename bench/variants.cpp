// Variants of baseline.exe that change, one at a time, what the program does
// per row beyond the bare file-system work, to find where its extra time
// goes: the order it deletes in, the two progress-bar messages it sends per
// row, and how its bar finds its values.
//
//   bench_variants.exe [oldestfirst] [messages] [scanmessages] [storedbar] [props] [linkcheck]
//
// (none)        exactly the work of baseline.exe, newest row first
// oldestfirst   delete in the order found instead
// messages      per deleted file, ask a progress bar for its position and
//               set it one further (a bar of our own window, same thread)
// scanmessages  the same two messages per file found in the list pass
// storedbar     the bar only stores the position, as the program's does,
//               instead of redrawing itself: what is left is the cost of
//               the message calls themselves
// props         the stored bar looks its values up as a window property on
//               every message, as the program's bar does
// linkcheck     before each delete, open the file and compare the path the
//               system reached with the path asked for, as the program does
//               so as not to delete through a link
//
// Prints "scan_ms=<n> clean_ms=<n> files=<n> counted=<n> not_deleted=<n>".
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cleaner/junk_targets.h"
#include "platform/win32/win32_folders.h"

namespace {

struct Options {
  bool oldestFirst = false, messages = false, scanMessages = false, storedBar = false, props = false,
       linkCheck = false;
};

struct Folders {
  std::string temp, windows;
  const std::string& Of(jc::FolderKind kind) const { return kind == jc::FolderKind::TempFolder ? temp : windows; }
};

HWND g_frame = nullptr;
HWND g_bar = nullptr;

void Step() {
  const LRESULT pos = SendMessageW(g_bar, PBM_GETPOS, 0, 0);
  SendMessageW(g_bar, PBM_SETPOS, static_cast<WPARAM>(pos + 1), 0);
}

int CountPass(const Folders& folders) {
  int count = 1;
  for (const jc::JunkTarget& target : jc::CountTargets()) {
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((folders.Of(target.folder) + target.pattern).c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) continue;
    do {
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
    } while (FindNextFileA(search, &data));
    FindClose(search);
  }
  return count;
}

void SizeOf(const std::string& path) {
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA(path.c_str(), &data);
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
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
bool g_props = false;
const wchar_t kBarProp[] = L"VariantsBar";

LRESULT CALLBACK StoredBarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (g_props && !GetPropW(hwnd, kBarProp)) return DefWindowProcW(hwnd, message, wParam, lParam);
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
  SetPropW(g_bar, kBarProp, &g_storedPosition);
  SendMessageW(g_bar, PBM_SETRANGE32, 0, 32767);
}

// The same calls as the program's check: open, ask where the open led,
// close, and when that differs from the path, its long form.
bool LeadsElsewhere(const std::string& path) {
  const int n = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), n);
  wide.resize(static_cast<size_t>(n > 0 ? n - 1 : 0));
  HANDLE file = CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::wstring reached(MAX_PATH, L'\0');
  const DWORD length = GetFinalPathNameByHandleW(file, reached.data(), static_cast<DWORD>(reached.size()), 0);
  CloseHandle(file);
  if (length == 0 || length >= reached.size()) return false;
  reached.resize(length);
  if (reached.compare(0, 4, L"\\\\?\\") == 0) reached.erase(0, 4);
  if (lstrcmpiW(reached.c_str(), wide.c_str()) == 0) return false;
  std::wstring named(wide.size() + MAX_PATH, L'\0');
  const DWORD namedLength = GetLongPathNameW(wide.c_str(), named.data(), static_cast<DWORD>(named.size()));
  return namedLength == 0 || namedLength >= named.size() || lstrcmpiW(reached.c_str(), named.c_str()) != 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "oldestfirst")) options.oldestFirst = true;
    else if (!std::strcmp(argv[i], "messages")) options.messages = true;
    else if (!std::strcmp(argv[i], "scanmessages")) options.scanMessages = true;
    else if (!std::strcmp(argv[i], "storedbar")) options.storedBar = true;
    else if (!std::strcmp(argv[i], "props")) options.props = true;
    else if (!std::strcmp(argv[i], "linkcheck")) options.linkCheck = true;
    else {
      std::fprintf(stderr, "unknown variant %s\n", argv[i]);
      return 2;
    }
  }
  g_props = options.props;
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
    if ((options.linkCheck && LeadsElsewhere(path)) || !DeleteFileA(path.c_str())) ++kept;
    if (options.messages) Step();
  }
  const DWORD cleanEnd = GetTickCount();
  std::printf("scan_ms=%lu clean_ms=%lu files=%zu counted=%d not_deleted=%d\n", scanEnd - scanStart,
              cleanEnd - scanEnd, paths.size(), counted - 1, kept);
  return 0;
}

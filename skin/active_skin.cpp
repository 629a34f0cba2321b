#include "skin/active_skin.h"

#include <vector>

namespace skin {

namespace {

ActiveSkin* g_skin = nullptr;

bool ReadWholeFile(const char* path, std::vector<uint8_t>& bytes) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  // One byte more than a skin may have, so that an oversized file is seen
  // as such by the reader instead of being cut to a valid length.
  bytes.resize(kMaxSkinFileSize + 1);
  DWORD read = 0;
  const BOOL ok = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  if (!ok) return false;
  bytes.resize(read);
  return true;
}

}  // namespace

LoadFailure LoadSkinFile(const char* path, SkinLook& look) {
  if (!path || !*path) return LoadFailure::Unreadable;
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes)) return LoadFailure::Unreadable;
  if (ParseSkinFile(bytes.data(), bytes.size(), look) != SkinFileStatus::Ok) return LoadFailure::Malformed;
  return LoadFailure::None;
}

// A later attach replaces the look. The earlier brush is kept: a window may
// still hold it from a WM_CTLCOLOR* answer.
void SetActiveSkin(const SkinLook& look) {
  auto* skin = new ActiveSkin{look, CreateSolidBrush(ToColorRef(look.windowBackground))};
  g_skin = skin;
}

const ActiveSkin* CurrentSkin() { return g_skin; }

COLORREF ToColorRef(Rgb colour) { return RGB(colour.red, colour.green, colour.blue); }

void FillWithColour(HDC dc, const RECT& rect, Rgb colour) {
  HBRUSH brush = CreateSolidBrush(ToColorRef(colour));
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

}  // namespace skin

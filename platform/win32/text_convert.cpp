#include "platform/win32/text_convert.h"

#include <windows.h>

namespace jc {

namespace {

constexpr UINT kBuiltInCodePage = 936;

std::wstring ToWide(UINT codePage, const Text& text) {
  if (text.empty()) return std::wstring();
  const int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

Text FromWide(UINT codePage, const std::wstring& wide) {
  if (wide.empty()) return Text();
  const int length =
      WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  Text text(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length, nullptr,
                      nullptr);
  return text;
}

}  // namespace

std::wstring WideFromBuiltIn(const Text& text) { return ToWide(kBuiltInCodePage, text); }
Text BuiltInFromWide(const std::wstring& text) { return FromWide(kBuiltInCodePage, text); }
std::wstring WideFromPath(const Text& path) { return ToWide(CP_ACP, path); }
Text PathFromWide(const std::wstring& path) { return FromWide(CP_ACP, path); }

}  // namespace jc

// Conversions at the boundary to the wide-character Windows calls, so the
// program shows and reads back the same texts whatever the system code page.
#pragma once

#include <string>

#include "app/text.h"

namespace jc {

// The program's own texts are code page 936.
std::wstring WideFromBuiltIn(const Text& text);
Text BuiltInFromWide(const std::wstring& text);

// Paths are in the system's ANSI code page.
std::wstring WideFromPath(const Text& path);
Text PathFromWide(const std::wstring& path);

}  // namespace jc

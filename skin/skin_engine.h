// The skin engine's interface as callers see it: one function, exported
// undecorated as SkinH_AttachEx from the library named SkinH_EL (shipped as
// jedata.dll), with the standard Win32 calling convention.
#pragma once

#include <windows.h>

// skinPath: the skin file, in the system code page.
// secondText: reserved for options; any text, or null, is accepted and
// ignored.
// From the call on, windows the calling thread creates are drawn in the
// skin. When the skin cannot be read nothing is installed and the result is
// not zero; the default look stays.
extern "C" int WINAPI SkinH_AttachEx(const char* skinPath, const char* secondText);

// What SkinH_AttachEx returns. The program does not look at it; it tells a
// person debugging why the default look stayed.
enum SkinAttachResult : int {
  kSkinAttached = 0,
  kSkinUnreadable = 1,    // no path, or the file could not be opened or read
  kSkinMalformed = 2,     // the file is not a skin this engine can read
  kSkinHookRefused = 3,   // the system would not let the engine watch windows
  kSkinNotPinned = 4,     // the engine could not keep itself loaded
};

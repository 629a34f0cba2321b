// The engine's one entry, called by the program once at start, before it
// creates its windows.
#include "skin/skin_engine.h"

#include "skin/active_skin.h"
#include "skin/creation_hook.h"

namespace {

// Skinned windows call into this library until they are gone, which may be
// after the program frees it on its way out; so it stays loaded for the
// life of the process.
bool KeepEngineLoaded() {
  HMODULE self = nullptr;
  return GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                            reinterpret_cast<LPCWSTR>(&KeepEngineLoaded), &self) != FALSE;
}

}  // namespace

extern "C" int WINAPI SkinH_AttachEx(const char* skinPath, const char* secondText) {
  (void)secondText;
  skin::SkinLook look;
  switch (skin::LoadSkinFile(skinPath, look)) {
    case skin::LoadFailure::Unreadable:
      return kSkinUnreadable;
    case skin::LoadFailure::Malformed:
      return kSkinMalformed;
    case skin::LoadFailure::None:
      break;
  }
  if (!KeepEngineLoaded()) return kSkinNotPinned;
  if (!skin::InstallCreationHook()) return kSkinHookRefused;
  skin::SetActiveSkin(look);
  return kSkinAttached;
}

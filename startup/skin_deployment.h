// Writes the skin engine and its skin file into the program's folder at every
// start and attaches the skin.
#pragma once

#include "app/application.h"
#include "platform/libraries.h"

namespace jc {

// The skin engine's entry, once found; the library itself belongs to the
// frame's list of external libraries until shutdown.
struct SkinEngineBinding {
  void* entry = nullptr;
};

struct SkinJob {
  Application& app;
  SkinFiles& files;
  LibraryLoader& loader;
  SkinEngineBinding& binding;
};

void SkinDeployment(SkinJob& job);

// Calls the engine's SkinH_AttachEx, loading it first when needed. A missing
// engine or entry, or an unbalanced call, is a fatal error.
int32_t AttachSkin(SkinJob& job, const Text& skinPath, const Text& second);

}  // namespace jc

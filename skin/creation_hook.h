// Watches the windows the attaching thread creates and skins each one that
// the skin knows how to draw, before it receives its first message.
#pragma once

namespace skin {

// Installs the hook on the calling thread, once; later calls do nothing.
// Returns false when the system refused the hook.
bool InstallCreationHook();

}  // namespace skin

#pragma once

#include "app/window_definition.h"

namespace jc {

// The window in which the user works. The two handlers are the quick scan
// and the clean; the program binds them when it builds the definition.
WindowDefinition MainWindowDefinition(Handler quickScan, Handler cleanJunk);

}  // namespace jc

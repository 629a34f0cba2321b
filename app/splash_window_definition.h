#pragma once

#include "app/window_definition.h"

namespace jc {

// The embedded splash picture.
constexpr int32_t kSplashPictureResource = 101;

// The borderless first window. Its hidden 标签1 holds the program's own
// version; the created handler runs the start sequence.
WindowDefinition SplashWindowDefinition(Handler created);

}  // namespace jc

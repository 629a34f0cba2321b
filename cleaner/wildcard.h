#pragma once

#include "app/text.h"

namespace jc {

// Matches a file name against a wildcard the way the file search treats long
// names: letter case is ignored, "*" is any run of bytes, "?" any one byte,
// and "*.*" matches every name, with or without a dot.
bool WildcardMatches(const Text& pattern, const Text& name);

}  // namespace jc

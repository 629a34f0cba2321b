// The fixed tables of junk targets and how a folder kind becomes a path.
#pragma once

#include <vector>

#include "app/text.h"
#include "platform/folders.h"

namespace jc {

struct JunkTarget {
  FolderKind folder;
  Text pattern;  // a wildcard, optionally behind one subfolder name and "\"
};

// The count pass of the quick scan. "*.chk" stands twice and "*.old" is
// counted, exactly as the progress maximum has always been worked out.
const std::vector<JunkTarget>& CountTargets();

// The list pass. "*.chk" stands twice; ".old" files are never listed.
const std::vector<JunkTarget>& ListTargets();

// Everything of a pattern up to and including its last "\"; empty for plain patterns.
Text SubfolderPart(const Text& pattern);

// The folder with a final "\", or the empty text when the system cannot give
// it or it does not fit a 260-byte buffer with its terminating NUL.
Text ResolveFolder(FolderKind kind, FolderSource& source);

}  // namespace jc

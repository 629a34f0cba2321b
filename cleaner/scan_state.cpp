#include "cleaner/scan_state.h"

namespace jc {

void ScanState::ReleaseTexts() {
  Text().swap(currentFolder);
  Text().swap(category);
  Text().swap(foundName);
}

}  // namespace jc

// The program-wide variables that the quick scan keeps between its steps.
#pragma once

#include <cstdint>

#include "app/text.h"

namespace jc {

struct ScanState {
  Text currentFolder;        // the folder being searched, with a final "\"
  Text category;             // written into column 2 of every row
  Text foundName;            // bare name of the file most recently found
  int32_t rowIndex = 0;      // where rows are inserted; stays 0
  int32_t fileCount = 0;     // 1 plus the files of the count pass
  int32_t lastFileSize = 0;  // the size most recently read for column 1

  // The exit clean-up gives back the three texts.
  void ReleaseTexts();
};

}  // namespace jc

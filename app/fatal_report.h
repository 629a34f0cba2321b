// The text of the fatal-error box.
#pragma once

#include <cstdint>

#include "app/text.h"

namespace jc {

Text FatalReportText(const Text& message, int32_t errorCode);

}  // namespace jc

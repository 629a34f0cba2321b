#pragma once

#include <cstdint>
#include <vector>

namespace jc {

// A counted run of bytes that may hold zero bytes.
using ByteBlock = std::vector<uint8_t>;

}  // namespace jc

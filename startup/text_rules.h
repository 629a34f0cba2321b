// The text and number rules of the update check. Positions are 1-based byte
// positions; a byte of 0x80 or above and the byte behind it form one
// two-byte character (code page 936).
#pragma once

#include <cstdint>

#include "app/byte_block.h"
#include "app/text.h"

namespace jc {

// Position of the first occurrence of needle, or -1. The search never starts
// inside a two-byte character. An empty needle is found at 1 in any
// non-empty text.
int32_t TextFind(const Text& text, const Text& needle);
int32_t TextLength(const Text& text);
// The first min(n, length) bytes; empty for n <= 0.
Text TextLeft(const Text& text, int32_t n);
// What stands between the first start marker and the first end marker
// behind it; empty when either is missing.
Text TextBetween(const Text& text, const Text& startMarker, const Text& endMarker);
// The block up to its first zero byte.
Text BytesToText(const ByteBlock& block);
// A decimal number at the start of the text (after white space; full-width
// forms count as their ASCII letters), rounded to single precision; 0 when
// there is none.
float TextToNumber(const Text& text);

}  // namespace jc

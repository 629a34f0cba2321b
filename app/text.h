// Texts are 8-bit byte strings: built-in texts in code page 936, paths in the
// system's ANSI code page. Lengths and positions count bytes.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

namespace jc {

using Text = std::string;

// Byte-wise comparison as unsigned values: -1, 0 or 1. A prefix is smaller.
int TextCompare(const Text& a, const Text& b);

// The given texts one after another.
Text TextConcat(std::initializer_list<Text> parts);

// The last min(n, length) bytes; empty for n <= 0.
Text TextRight(const Text& text, int32_t n);

// Signed decimal form of a 32-bit integer.
Text IntegerToText(int32_t n);

}  // namespace jc

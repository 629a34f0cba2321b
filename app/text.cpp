#include "app/text.h"

namespace jc {

int TextCompare(const Text& a, const Text& b) {
  const size_t common = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < common; ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

Text TextConcat(std::initializer_list<Text> parts) {
  size_t total = 0;
  for (const Text& part : parts) total += part.size();
  Text result;
  result.reserve(total);
  for (const Text& part : parts) result += part;
  return result;
}

Text TextRight(const Text& text, int32_t n) {
  if (n <= 0) return Text();
  const size_t count = static_cast<size_t>(n) < text.size() ? static_cast<size_t>(n) : text.size();
  return text.substr(text.size() - count);
}

Text IntegerToText(int32_t n) {
  return std::to_string(n);
}

}  // namespace jc

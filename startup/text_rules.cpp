#include "startup/text_rules.h"

#include <cstdlib>

namespace jc {

namespace {

bool IsDoubleByteLead(char c) { return static_cast<unsigned char>(c) >= 0x80; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Full-width letters, digits and signs of code page 936 become ASCII.
Text NormaliseFullWidth(const Text& text) {
  Text normal;
  normal.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (!IsDoubleByteLead(text[i])) {
      normal += text[i];
      continue;
    }
    if (i + 1 == text.size()) break;  // a lone lead byte at the end is dropped
    const auto lead = static_cast<unsigned char>(text[i]);
    const auto trail = static_cast<unsigned char>(text[i + 1]);
    ++i;
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
      normal += static_cast<char>(trail - 0x80);
    } else if (lead == 0xA1 && trail == 0xA1) {
      normal += ' ';
    } else if (lead == 0xA1 && trail == 0xAB) {
      normal += '~';
    } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
      normal += '*';
    } else {
      normal += static_cast<char>(lead);
      normal += static_cast<char>(trail);
    }
  }
  return normal;
}

size_t SkipDigits(const Text& text, size_t at) {
  while (at < text.size() && IsDigit(text[at])) ++at;
  return at;
}

// The longest prefix of the decimal grammar, rewritten with "e" as the
// exponent letter; empty when the mantissa has no digit.
Text DecimalPrefix(const Text& text) {
  size_t at = 0;
  while (at < text.size() && IsSpace(text[at])) ++at;
  Text number;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) number += text[at++];
  const size_t integerStart = at;
  at = SkipDigits(text, at);
  bool anyDigit = at > integerStart;
  number += text.substr(integerStart, at - integerStart);
  if (at < text.size() && text[at] == '.') {
    const size_t fractionStart = ++at;
    at = SkipDigits(text, at);
    anyDigit = anyDigit || at > fractionStart;
    number += '.';
    number += text.substr(fractionStart, at - fractionStart);
  }
  if (!anyDigit) return Text();
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E' || text[at] == 'd' || text[at] == 'D')) {
    size_t exponent = at + 1;
    Text sign;
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) sign = text[exponent++];
    const size_t digitsEnd = SkipDigits(text, exponent);
    if (digitsEnd > exponent) number += "e" + sign + text.substr(exponent, digitsEnd - exponent);
  }
  return number;
}

}  // namespace

int32_t TextFind(const Text& text, const Text& needle) {
  if (needle.empty()) return text.empty() ? -1 : 1;
  size_t candidate = 0;
  while (candidate < text.size() && text.size() - candidate >= needle.size()) {
    const bool lead = IsDoubleByteLead(text[candidate]);
    if (lead && candidate + 1 == text.size()) break;  // half a character ends the text
    if (text.compare(candidate, needle.size(), needle) == 0) return static_cast<int32_t>(candidate + 1);
    candidate += lead ? 2 : 1;
  }
  return -1;
}

int32_t TextLength(const Text& text) { return static_cast<int32_t>(text.size()); }

Text TextLeft(const Text& text, int32_t n) {
  if (n <= 0) return Text();
  return text.substr(0, static_cast<size_t>(n));
}

Text TextBetween(const Text& text, const Text& startMarker, const Text& endMarker) {
  const int32_t start = TextFind(text, startMarker);
  if (start == -1) return Text();
  const double behind = static_cast<double>(TextLength(text)) - start - TextLength(startMarker) + 1;
  const Text rest = TextRight(text, static_cast<int32_t>(behind));
  const int32_t end = TextFind(rest, endMarker);
  if (end == -1) return Text();
  return TextLeft(rest, end - 1);
}

Text BytesToText(const ByteBlock& block) {
  size_t length = 0;
  while (length < block.size() && block[length] != 0) ++length;
  return Text(reinterpret_cast<const char*>(block.data()), length);
}

float TextToNumber(const Text& text) {
  const Text number = DecimalPrefix(NormaliseFullWidth(text));
  if (number.empty()) return 0.0f;
  return static_cast<float>(std::strtod(number.c_str(), nullptr));
}

}  // namespace jc

#include "startup/text_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "startup/update_check.h"

namespace jc {
namespace {

TEST(TextFind, ByteSearchThatRespectsTwoByteCharacters) {
  struct Case {
    Text text, needle;
    int32_t expected;
  };
  const Case cases[] = {
      {"abcabc", "c", 3},
      {"abcabc", "ca", 3},
      {"abc", "abcd", -1},
      {"abc", "", 1},
      {"", "", -1},
      {"", "a", -1},
      {"ABC", "b", -1},  // case matters
      // "版本" is B0 E6 B1 BE: the bytes E6 B1 straddle two characters and must not match.
      {"版本", "\xE6\xB1", -1},
      {"版本", "本", 3},
      {"x版本头{2}", "版本头{", 2},
      // A trail byte that looks like ASCII "{" (0x7B) is never a candidate.
      {"\xB0\x7B{", "{", 3},
      // A lead byte at the very end stops the search.
      {"ab\xB0", "\xB0", -1},
  };
  for (const Case& c : cases) EXPECT_EQ(TextFind(c.text, c.needle), c.expected) << c.text << " / " << c.needle;
}

TEST(TextLeftAndLength, CountBytes) {
  EXPECT_EQ(TextLength("版本"), 4);
  EXPECT_EQ(TextLeft("abcdef", 2), "ab");
  EXPECT_EQ(TextLeft("abcdef", 10), "abcdef");
  EXPECT_EQ(TextLeft("abcdef", 0), "");
  EXPECT_EQ(TextLeft("abcdef", -1), "");
}

TEST(TextBetween, Markers) {
  struct Case {
    const char* what;
    Text text;
    Text expected;
  };
  const Case cases[] = {
      {"plain", "aa[2.0]bb", "2.0"},
      {"marker first", "[2.0]", "2.0"},
      {"nothing between", "[]", ""},
      {"no start marker", "2.0]", ""},
      {"no end marker", "[2.0", ""},
      {"end marker only before the start", "]x[2.0", ""},
      {"second start marker is content", "[a[b]", "a[b"},
      {"start marker ends the text", "xx[", ""},
      {"first end marker behind the start", "[1]2]", "1"},
  };
  for (const Case& c : cases) EXPECT_EQ(TextBetween(c.text, "[", "]"), c.expected) << c.what;
}

TEST(BytesToText, StopsAtTheFirstZeroByte) {
  EXPECT_EQ(BytesToText({}), "");
  EXPECT_EQ(BytesToText({0, 'a'}), "");
  EXPECT_EQ(BytesToText({'a', 'b', 0, 'c'}), "ab");
  EXPECT_EQ(BytesToText({'a', 'b'}), "ab");
}

TEST(TextToNumber, Grammar) {
  struct Case {
    Text text;
    float expected;
  };
  const Case cases[] = {
      {"2", 2.0f},          {"2.0", 2.0f},         {"  \t\r\n2.0\r\n", 2.0f}, {"+2.0", 2.0f},
      {"-2.5", -2.5f},      {".5", 0.5f},          {"5.", 5.0f},              {"2e0", 2.0f},
      {"2E1", 20.0f},       {"2d0", 2.0f},         {"2D-1", 0.2f},            {"2e", 2.0f},
      {"2e+", 2.0f},        {"2.0abc", 2.0f},      {"2,5", 2.0f},             {"v2.0", 0.0f},
      {"", 0.0f},           {".", 0.0f},           {"-", 0.0f},               {"0x10", 0.0f},
      {"inf", 0.0f},        {"nan", 0.0f},         {"１２", 12.0f},           {"２．０", 2.0f},
      {"\xA1\xA1" "3", 3.0f},  // ideographic space before the digit
      {"2\xB0", 2.0f},         // a lone lead byte at the end is dropped
  };
  for (const Case& c : cases) EXPECT_EQ(TextToNumber(c.text), c.expected) << c.text;
  EXPECT_TRUE(std::isinf(TextToNumber("1e999")));
  EXPECT_TRUE(std::isinf(TextToNumber("-1e400")));
  EXPECT_EQ(TextToNumber("1e-999"), 0.0f);
}

TEST(SameVersion, ComparedAsSinglePrecisionNumbers) {
  const char* equal[] = {"2",   "2.0",      "2.00",       " 2.0 ",  "\r\n2.0\r\n", "+2.0",     "2e0",
                         "2d0", "2.0abc",   "2.0 beta",   "2,5",    "2.0000001",   "２．０",    "２"};
  for (const char* text : equal) EXPECT_TRUE(SameVersion(text, "2.0")) << text;
  const char* different[] = {"2.0000002", "2.1", "1.9", "v2.0", "", "２．１", "-2.0", "20"};
  for (const char* text : different) EXPECT_FALSE(SameVersion(text, "2.0")) << text;
  EXPECT_TRUE(SameVersion("-0", "0"));
}

TEST(PublishedVersionText, FromAPageBody) {
  auto body = [](const Text& text) { return ByteBlock(text.begin(), text.end()); };
  EXPECT_EQ(PublishedVersionText(body("<p>版本头{2.0}版本尾</p>")), "2.0");
  EXPECT_EQ(PublishedVersionText(body("版本头{2.0}版本尾")), "2.0");
  EXPECT_EQ(PublishedVersionText(body("版本头{}版本尾")), "");
  EXPECT_EQ(PublishedVersionText(body("}版本尾 版本头{2.0")), "");
  Text zeroFirst = "x";
  zeroFirst += '\0';
  zeroFirst += "版本头{2.0}版本尾";
  EXPECT_EQ(PublishedVersionText(body(zeroFirst)), "");
  // The markers in UTF-8 are other bytes altogether.
  EXPECT_EQ(PublishedVersionText(body("\xE7\x89\x88\xE6\x9C\xAC\xE5\xA4\xB4{2.0}\xE7\x89\x88\xE6\x9C\xAC\xE5\xB0\xBE")), "");
}

// A seeded run of random texts over the rules: no crash, no sanitizer report,
// and the results keep their basic promises.
TEST(TextRules, RandomTextsKeepTheRules) {
  std::mt19937 random(20261211);
  const char alphabet[] = {'0', '1', '2', '.', 'e', 'd', '+', '-', ' ', '\r', '{', '}', 'x',
                           '\0', '\x7B', '\xA3', '\xA1', '\xB0', '\xE6', '\xCE', '\xB2', '\xFF', '\x80'};
  for (int round = 0; round < 20000; ++round) {
    Text text(random() % 40, ' ');
    for (char& c : text) c = alphabet[random() % sizeof(alphabet)];
    Text needle(random() % 4, ' ');
    for (char& c : needle) c = alphabet[random() % sizeof(alphabet)];

    const int32_t found = TextFind(text, needle);
    if (found != -1) {
      ASSERT_GE(found, 1);
      ASSERT_EQ(text.compare(static_cast<size_t>(found - 1), needle.size(), needle), 0);
    }
    const Text between = TextBetween(text, "{", "}");
    ASSERT_LE(between.size(), text.size());
    if (!between.empty()) {
      ASSERT_NE(text.find(between), Text::npos);
    }
    const float number = TextToNumber(text);
    ASSERT_FALSE(std::isnan(number));
    ByteBlock block(text.begin(), text.end());
    ASSERT_EQ(BytesToText(block), Text(text.c_str()));
  }
}

}  // namespace
}  // namespace jc

#include "app/text.h"

#include <gtest/gtest.h>

#include <climits>

namespace jc {
namespace {

struct CompareCase {
  Text a, b;
  int expected;
};

TEST(TextCompare, OrdersBytesAsUnsignedAndPrefixesFirst) {
  const CompareCase cases[] = {
      {"", "", 0},
      {"abc", "abc", 0},
      {"abc", "abd", -1},
      {"abd", "abc", 1},
      {"ab", "abc", -1},
      {"abc", "ab", 1},
      {"", "a", -1},
      {"\x7f", "\x80", -1},  // 0x80 is larger as an unsigned byte
      {"\xff", "a", 1},
      {"系统垃圾", "系统垃圾", 0},
      {"系统垃圾", "系统垃", 1},
  };
  for (const CompareCase& c : cases) {
    EXPECT_EQ(TextCompare(c.a, c.b), c.expected) << "'" << c.a << "' vs '" << c.b << "'";
  }
}

TEST(TextConcat, JoinsInOrder) {
  EXPECT_EQ(TextConcat({}), "");
  EXPECT_EQ(TextConcat({"C:\\Temp\\", "recycled\\", "a.pf"}), "C:\\Temp\\recycled\\a.pf");
  EXPECT_EQ(TextConcat({"", "x", ""}), "x");
}

TEST(TextRight, TakesTheLastBytes) {
  struct Case {
    Text text;
    int32_t n;
    Text expected;
  };
  const Case cases[] = {
      {"abcdef", 2, "ef"}, {"abcdef", 6, "abcdef"}, {"abcdef", 7, "abcdef"}, {"abcdef", 0, ""},
      {"abcdef", -3, ""},  {"", 3, ""},             {"ab", INT32_MAX, "ab"},
  };
  for (const Case& c : cases) EXPECT_EQ(TextRight(c.text, c.n), c.expected) << c.text << " " << c.n;
}

TEST(IntegerToText, SignedDecimal) {
  EXPECT_EQ(IntegerToText(0), "0");
  EXPECT_EQ(IntegerToText(5), "5");
  EXPECT_EQ(IntegerToText(-1), "-1");
  EXPECT_EQ(IntegerToText(-1073741824), "-1073741824");
  EXPECT_EQ(IntegerToText(INT32_MAX), "2147483647");
  EXPECT_EQ(IntegerToText(INT32_MIN), "-2147483648");
}

TEST(BuiltInTexts, AreCodePage936Bytes) {
  // The middle dot of the start texts and the full-width colon of the credit line.
  EXPECT_EQ(Text("···"), "\xA1\xA4\xA1\xA4\xA1\xA4");
  EXPECT_EQ(Text("By：Varnel"), "By\xA3\xBAVarnel");
  EXPECT_EQ(Text("系统垃圾"), "\xCF\xB5\xCD\xB3\xC0\xAC\xBB\xF8");
}

}  // namespace
}  // namespace jc

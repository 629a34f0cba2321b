#include "cleaner/wildcard.h"

#include <gtest/gtest.h>

namespace jc {
namespace {

TEST(Wildcard, LongNameMatching) {
  struct Case {
    Text pattern, name;
    bool matches;
  };
  const Case cases[] = {
      {"*.bak", "a.bak", true},         {"*.bak", "A.BAK", true},          {"*.BAK", "a.bak", true},
      {"*.bak", ".bak", true},          {"*.bak", "x.bak.bak", true},      {"*.bak", "notes.bakery", false},
      {"*.tmp", "report.tmpl", false},  {"*.tmp", "x.tmp.txt", false},     {"*.tmp", "tmp", false},
      {"*._mp", "a._mp", true},         {"*.*", "noext", true},            {"*.*", ".hidden", true},
      {"*.*", "a.b.c", true},           {"*", "", true},                   {"a?c", "abc", true},
      {"a?c", "ac", false},             {"*a*b*", "xxaxxbxx", true},       {"*a*b", "xxaxxbxxc", false},
      {"*.tmp", "\xD6\xD0\xCE\xC4.tmp", true},
  };
  for (const Case& c : cases) EXPECT_EQ(WildcardMatches(c.pattern, c.name), c.matches) << c.pattern << " " << c.name;
}

}  // namespace
}  // namespace jc

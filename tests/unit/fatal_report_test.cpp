#include "app/fatal_report.h"

#include <gtest/gtest.h>

namespace jc {
namespace {

TEST(FatalReport, Texts) {
  struct Case {
    Text message;
    int32_t code;
    Text expected;
  };
  const Case cases[] = {
      {"载入启动窗口失败", 0, "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n"},
      {"调用DLL命令后发现堆栈错误", 6, "运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n"},
      {"", -1, "运行时出错!\r\n\r\n错误代码：-1\r\n\r\n"},
      {"", 0, "运行时出错!\r\n\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(FatalReportText(c.message, c.code), c.expected);
}

TEST(FatalReport, ExactBytesOfTheHeading) {
  // "运行时出错!" in code page 936, then CR LF CR LF.
  EXPECT_EQ(FatalReportText("", 0), "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n");
}

}  // namespace
}  // namespace jc

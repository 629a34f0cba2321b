#include "app/fatal_report.h"

namespace jc {

Text FatalReportText(const Text& message, int32_t errorCode) {
  Text report = "运行时出错!\r\n\r\n";
  if (errorCode != 0) report += TextConcat({"错误代码：", IntegerToText(errorCode), "\r\n\r\n"});
  if (!message.empty()) report += TextConcat({"错误信息：", message, "\r\n"});
  return report;
}

}  // namespace jc

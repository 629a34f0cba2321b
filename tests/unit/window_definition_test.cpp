#include "app/main_window_definition.h"

#include <gtest/gtest.h>

namespace jc {
namespace {

void QuickScanStub() {}
void CleanStub() {}

TEST(Centring, IntegerFormula) {
  struct Case {
    int32_t screenWidth, screenHeight, width, height, x, y;
  };
  const Case cases[] = {
      {1024, 768, 501, 354, 261, 207},
      {800, 600, 501, 354, 149, 123},
      {1024, 768, 644, 424, 190, 172},
      {800, 600, 644, 424, 78, 88},
  };
  for (const Case& c : cases) {
    const Point origin = CentredOrigin(c.screenWidth, c.screenHeight, c.width, c.height);
    EXPECT_EQ(origin.x, c.x);
    EXPECT_EQ(origin.y, c.y);
  }
}

TEST(ProgressValues, StoredAndDrawn) {
  EXPECT_EQ(ClampProgressValue(40000), 32767);
  EXPECT_EQ(ClampProgressValue(32767), 32767);
  EXPECT_EQ(ClampProgressValue(-5), 0);
  EXPECT_EQ(ClampProgressValue(12), 12);
  EXPECT_EQ(DrawnProgressPosition(0, 10, 12), 10);
  EXPECT_EQ(DrawnProgressPosition(0, 10, 4), 4);
  EXPECT_EQ(DrawnProgressPosition(10, 0, 12), 10);  // minimum above maximum: the smaller one is the bottom
  EXPECT_EQ(DrawnProgressPosition(10, 3, 0), 3);
}

TEST(MainWindowDefinition, WindowSettings) {
  const WindowDefinition window = MainWindowDefinition(QuickScanStub, CleanStub);
  EXPECT_EQ(window.title, "清除系统垃圾 Beta2.0");
  EXPECT_EQ(window.width, 501);
  EXPECT_EQ(window.height, 354);
  EXPECT_EQ(window.frame, FrameKind::Fixed);
  EXPECT_TRUE(window.systemMenu && window.minimizeButton && !window.maximizeButton);
  EXPECT_TRUE(window.centred && window.escCloses && window.visible && window.taskbarButton);
  EXPECT_EQ(window.created, nullptr);
}

TEST(MainWindowDefinition, ControlsInStackingOrder) {
  struct Expected {
    Text name;
    ControlKind kind;
    int32_t left, top, width, height;
    Text text;
    bool enabled, tabStop;
    Handler clicked;
  };
  const Expected expected[] = {
      {"透明标签1", ControlKind::TransparentLabel, 352, 248, 136, 32, "By：Varnel", true, false, nullptr},
      {"标签1", ControlKind::Label, 368, 291, 120, 24, "", true, false, nullptr},
      {"按钮5", ControlKind::PushButton, 368, 8, 105, 32, "快速扫描", true, true, QuickScanStub},
      {"进度条1", ControlKind::ProgressBar, 0, 296, 360, 16, "", true, false, nullptr},
      {"按钮4", ControlKind::PushButton, 360, 192, 128, 32, "全部清理（调试中）", false, true, nullptr},
      {"按钮3", ControlKind::PushButton, 368, 98, 105, 32, "清理注册表缓存", true, true, nullptr},
      {"按钮2", ControlKind::PushButton, 368, 149, 105, 32, "清理IE缓存", true, true, nullptr},
      {"按钮1", ControlKind::PushButton, 368, 56, 105, 32, "清理系统垃圾", true, true, CleanStub},
      {"超级列表框1", ControlKind::ListView, 0, 0, 355, 288, "", true, true, nullptr},
  };
  const WindowDefinition window = MainWindowDefinition(QuickScanStub, CleanStub);
  ASSERT_EQ(window.controls.size(), std::size(expected));
  for (size_t i = 0; i < window.controls.size(); ++i) {
    const ControlDefinition& control = window.controls[i];
    const Expected& e = expected[i];
    SCOPED_TRACE(e.name);
    EXPECT_EQ(control.name, e.name);
    EXPECT_EQ(control.kind, e.kind);
    EXPECT_EQ(control.parentName, "");
    EXPECT_EQ(control.left, e.left);
    EXPECT_EQ(control.top, e.top);
    EXPECT_EQ(control.width, e.width);
    EXPECT_EQ(control.height, e.height);
    EXPECT_EQ(control.text, e.text);
    EXPECT_TRUE(control.visible);
    EXPECT_EQ(control.enabled, e.enabled);
    EXPECT_EQ(control.tabStop, e.tabStop);
    EXPECT_EQ(control.clicked, e.clicked);
  }
}

TEST(MainWindowDefinition, LabelsAndColumns) {
  const WindowDefinition window = MainWindowDefinition(nullptr, nullptr);
  const ControlDefinition* credit = FindControl(window, "透明标签1");
  const ControlDefinition* status = FindControl(window, "标签1");
  const ControlDefinition* list = FindControl(window, "超级列表框1");
  ASSERT_TRUE(credit && status && list);
  EXPECT_EQ(credit->label.textColour.red, 255);
  EXPECT_EQ(credit->label.textColour.green, 0);
  EXPECT_EQ(credit->label.textColour.blue, 255);
  EXPECT_TRUE(credit->label.centredHorizontally);
  EXPECT_EQ(status->label.textColour.blue, 255);
  EXPECT_EQ(status->label.textColour.red, 0);
  EXPECT_TRUE(status->label.centredHorizontally);
  EXPECT_FALSE(status->label.wordWrap);
  ASSERT_EQ(list->columns.size(), 3u);
  EXPECT_EQ(list->columns[0].title, "垃圾文件");
  EXPECT_EQ(list->columns[0].width, 150);
  EXPECT_EQ(list->columns[1].title, "大小");
  EXPECT_EQ(list->columns[1].width, 100);
  EXPECT_EQ(list->columns[2].title, "类型");
  EXPECT_EQ(list->columns[2].width, 100);
  EXPECT_EQ(FindControl(window, "按钮9"), nullptr);
}

}  // namespace
}  // namespace jc

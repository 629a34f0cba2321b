#include "app/main_window_definition.h"

namespace jc {

namespace {

ControlDefinition Button(const char* name, int32_t left, int32_t top, int32_t width, const char* text,
                         bool enabled, Handler clicked) {
  ControlDefinition button = MakeControl(name, ControlKind::PushButton, left, top, width, 32, text);
  button.enabled = enabled;
  button.tabStop = true;
  button.clicked = clicked;
  return button;
}

ControlDefinition CreditLine() {
  ControlDefinition credit = MakeControl("透明标签1", ControlKind::TransparentLabel, 352, 248, 136, 32, "By：Varnel");
  credit.label.textColour = Colour{255, 0, 255};
  credit.label.centredHorizontally = true;
  return credit;
}

ControlDefinition StatusLine() {
  ControlDefinition status = MakeControl("标签1", ControlKind::Label, 368, 291, 120, 24, "");
  status.label.textColour = Colour{0, 0, 255};
  status.label.centredHorizontally = true;
  return status;
}

ControlDefinition ResultListView() {
  ControlDefinition list = MakeControl("超级列表框1", ControlKind::ListView, 0, 0, 355, 288, "");
  list.tabStop = true;
  list.columns = {{"垃圾文件", 150}, {"大小", 100}, {"类型", 100}};
  return list;
}

}  // namespace

WindowDefinition MainWindowDefinition(Handler quickScan, Handler cleanJunk) {
  WindowDefinition window{};
  window.id = WindowId::Main;
  window.title = "清除系统垃圾 Beta2.0";
  window.width = 501;
  window.height = 354;
  window.frame = FrameKind::Fixed;
  window.systemMenu = true;
  window.minimizeButton = true;
  window.maximizeButton = false;
  window.centred = true;
  window.taskbarButton = true;
  window.escCloses = true;
  window.visible = true;
  window.created = nullptr;
  window.controls = {
      CreditLine(),
      StatusLine(),
      Button("按钮5", 368, 8, 105, "快速扫描", true, quickScan),
      MakeControl("进度条1", ControlKind::ProgressBar, 0, 296, 360, 16, ""),
      Button("按钮4", 360, 192, 128, "全部清理（调试中）", false, nullptr),
      Button("按钮3", 368, 98, 105, "清理注册表缓存", true, nullptr),
      Button("按钮2", 368, 149, 105, "清理IE缓存", true, nullptr),
      Button("按钮1", 368, 56, 105, "清理系统垃圾", true, cleanJunk),
      ResultListView(),
  };
  return window;
}

}  // namespace jc

#include "startup/start_sequence.h"

namespace jc {

void StartSequence(StartJob& job) {
  job.skinDeployment();
  job.view.ShowMessage("欢迎使用垃圾清理器 By：Varnel");
  job.view.ShowSplash();
  if (TextCompare(job.view.StatusCaption(), "链接服务器···") != 0) return;
  job.app.DelayWithEvents(3000);
  job.view.SetStatusCaption("连接服务器成功···");
  job.app.DelayWithEvents(2000);
  job.view.SetStatusCaption("正在读取服务器更新信息···");
  job.updateCheck();
  job.app.DelayWithEvents(1000);
  job.view.SetStatusCaption("等待软件载入···");
  job.app.DelayWithEvents(1000);
  job.app.LoadWindow(WindowId::Main);
  job.app.DestroyWindowLater(WindowId::Splash);
  job.view.ShowMessage("欢迎使用！");
}

}  // namespace jc

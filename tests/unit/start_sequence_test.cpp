#include "startup/start_sequence.h"

#include <gtest/gtest.h>

#include "fake_frame.h"
#include "startup/update_check.h"

namespace jc {
namespace {

// Everything the start shows, with the tick at which it happened.
struct Moment {
  uint32_t tick;
  Text what;
};

class FakeStartView : public StartView {
 public:
  FakeStartView(Application& app, FakeEvents& events) : app_(app), events_(events) {}
  std::vector<Moment> moments;
  Text status = "链接服务器···";
  Text version = "2.0";
  std::function<void(const Text&)> afterStatus;

  void Note(const Text& what) { moments.push_back(Moment{events_.tick, what}); }
  void ShowMessage(const Text& text) override {
    Note("message " + text);
    // The box runs its own loop: queued events, such as a deferred
    // destruction, are dispatched while it is open.
    app_.ProcessPendingEvents();
    if (text == "欢迎使用！") Note(app_.IsAlive(WindowId::Splash) ? "splash still up" : "splash gone");
  }
  void ShowSplash() override { Note("splash shown"); }
  Text StatusCaption() override { return status; }
  void SetStatusCaption(const Text& text) override {
    app_.RequireLoaded(WindowId::Splash);
    status = text;
    Note("status " + text);
    if (afterStatus) afterStatus(text);
  }
  Text VersionCaption() override { return version; }
  void OpenUrl(const Text& url) override { Note("open " + url); }

 private:
  Application& app_;
  FakeEvents& events_;
};

class FakeHttp : public HttpClient {
 public:
  Text body;
  std::vector<Text> urls;
  ByteBlock Get(const Text& url) override {
    urls.push_back(url);
    return ByteBlock(body.begin(), body.end());
  }
};

WindowDefinition Definition(WindowId id) {
  WindowDefinition definition{};
  definition.id = id;
  definition.visible = true;
  return definition;
}

class StartSequenceTest : public ::testing::Test {
 protected:
  StartSequenceTest() : app(events, factory), view(app, events) {
    factory.app = &app;
    factory.events = &events;
    app.AddWindow(Definition(WindowId::Main));
    app.AddWindow(Definition(WindowId::Splash));
    app.LoadWindow(WindowId::Splash);
    http.body = "<html>版本头{2.0}版本尾</html>";
  }

  void Run() {
    UpdateJob update{app, http, view};
    StartJob job{app, view, [this] { view.Note("skin"); }, [&] {
                   view.Note("update check");
                   UpdateCheck(update);
                 }};
    StartSequence(job);
  }

  std::vector<Text> What() const {
    std::vector<Text> what;
    for (const Moment& moment : view.moments) what.push_back(moment.what);
    return what;
  }

  uint32_t TickOf(const Text& what) const {
    for (const Moment& moment : view.moments) {
      if (moment.what == what) return moment.tick;
    }
    ADD_FAILURE() << "never happened: " << what;
    return 0;
  }

  FakeEvents events;
  FakeFactory factory;
  Application app;
  FakeStartView view;
  FakeHttp http;
};

TEST_F(StartSequenceTest, UpToDateStartGoesThroughEveryStepInOrder) {
  Run();
  EXPECT_EQ(What(), (std::vector<Text>{"skin", "message 欢迎使用垃圾清理器 By：Varnel", "splash shown",
                                       "status 连接服务器成功···", "status 正在读取服务器更新信息···", "update check",
                                       "status 等待软件载入···", "message 欢迎使用！", "splash gone"}));
  EXPECT_GT(TickOf("status 连接服务器成功···") - TickOf("splash shown"), 3000u);
  EXPECT_GT(TickOf("status 正在读取服务器更新信息···") - TickOf("status 连接服务器成功···"), 2000u);
  EXPECT_GT(TickOf("status 等待软件载入···") - TickOf("update check"), 1000u);
  EXPECT_GT(TickOf("message 欢迎使用！") - TickOf("status 等待软件载入···"), 1000u);
  EXPECT_TRUE(app.IsAlive(WindowId::Main));
  EXPECT_FALSE(app.IsAlive(WindowId::Splash));
  ASSERT_EQ(http.urls.size(), 1u);
  EXPECT_EQ(http.urls[0], UpdatePageUrl());
}

TEST_F(StartSequenceTest, AnotherCaptionStopsAfterShowingTheSplash) {
  view.status = "链接服务器...";  // ASCII full stops instead of middle dots
  Run();
  EXPECT_EQ(What(), (std::vector<Text>{"skin", "message 欢迎使用垃圾清理器 By：Varnel", "splash shown"}));
  EXPECT_FALSE(app.IsAlive(WindowId::Main));
  EXPECT_TRUE(app.IsAlive(WindowId::Splash));
}

TEST_F(StartSequenceTest, AnyOtherPublishedVersionSendsTheUserToTheDownloadPage) {
  const char* bodies[] = {"版本头{2.1}版本尾", "版本头{1.9}版本尾", "", "版本头{}版本尾", "no markers"};
  for (const char* body : bodies) {
    SCOPED_TRACE(body);
    view.moments.clear();
    view.status = "链接服务器···";
    http.body = body;
    EXPECT_EQ(ExitCodeOf([this] { Run(); }), 0);
    const std::vector<Text> what = What();
    ASSERT_GE(what.size(), 3u);
    EXPECT_EQ(what[what.size() - 3], "update check");
    EXPECT_EQ(what[what.size() - 2], "message 请更新软件！");
    EXPECT_EQ(what.back(), "open " + DownloadPageUrl());
    EXPECT_FALSE(app.IsAlive(WindowId::Main));
  }
}

TEST_F(StartSequenceTest, ClosingTheSplashDuringTheFirstWaitIsFatalAtTheNextText) {
  events.Post([this] { app.Native(WindowId::Splash)->DestroyNow(); });
  EXPECT_EQ(ExitCodeOf([this] { Run(); }), -1);
  ASSERT_EQ(events.fatalBoxes.size(), 1u);
  EXPECT_EQ(events.fatalBoxes[0], "运行时出错!\r\n\r\n错误信息：指定窗口尚未载入\r\n");
  EXPECT_TRUE(http.urls.empty());
}

TEST_F(StartSequenceTest, ClosingTheSplashDuringTheLastWaitIsFatalAfterTheMainWindowCameUp) {
  view.afterStatus = [this](const Text& text) {
    if (text == "等待软件载入···") events.Post([this] { app.Native(WindowId::Splash)->DestroyNow(); });
  };
  EXPECT_EQ(ExitCodeOf([this] { Run(); }), -1);
  ASSERT_EQ(events.fatalBoxes.size(), 1u);
  EXPECT_EQ(events.fatalBoxes[0], "运行时出错!\r\n\r\n错误信息：指定窗口或窗口组件不存在或尚未载入\r\n");
  EXPECT_TRUE(app.IsAlive(WindowId::Main));
  EXPECT_EQ(What().back(), "status 等待软件载入···");
}

TEST(UpdateUrls, FixedHostsAndPaths) {
  const Text update = UpdatePageUrl();
  EXPECT_EQ(update.rfind("http://", 0), 0u);
  const Text path = "/blog/static/223821106201362955440953/";
  ASSERT_GT(update.size(), path.size());
  EXPECT_EQ(update.substr(update.size() - path.size()), path);
  const Text download = DownloadPageUrl();
  EXPECT_EQ(download.rfind("http://", 0), 0u);
  EXPECT_NE(download.find("/share/link?shareid="), Text::npos);
  EXPECT_GT(download.find("&uk="), download.find("shareid="));
}

}  // namespace
}  // namespace jc

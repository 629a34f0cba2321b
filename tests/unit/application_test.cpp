#include "app/application.h"

#include <gtest/gtest.h>

#include "fake_frame.h"

namespace jc {
namespace {

int g_cleanups = 0;
void CountCleanup() { ++g_cleanups; }

WindowDefinition Definition(WindowId id, Handler created = nullptr) {
  WindowDefinition definition{};
  definition.id = id;
  definition.visible = true;
  definition.created = created;
  return definition;
}

class ApplicationTest : public ::testing::Test {
 protected:
  ApplicationTest() : app(events, factory) {
    factory.app = &app;
    factory.events = &events;
    app.AddWindow(Definition(WindowId::Main));
    app.AddWindow(Definition(WindowId::Splash));
    app.RegisterExitCleanup(CountCleanup);
    g_cleanups = 0;
  }

  FakeWindow& Window(WindowId id) { return *static_cast<FakeWindow*>(app.Native(id)); }

  FakeEvents events;
  FakeFactory factory;
  Application app;
};

TEST_F(ApplicationTest, DelayOfZeroOrLessDispatchesNothing) {
  events.Post([] {});
  app.DelayWithEvents(0);
  app.DelayWithEvents(-5);
  EXPECT_EQ(events.peeks, 0);
  EXPECT_EQ(events.dispatched, 0);
}

TEST_F(ApplicationTest, DelayPollsUntilMoreThanTheTimeHasPassed) {
  int ran = 0;
  events.Post([&] { ++ran; });
  const uint32_t start = events.tick;
  app.DelayWithEvents(10);
  EXPECT_EQ(ran, 1);
  EXPECT_GT(events.tick - start, 10u);
  EXPECT_GE(events.peeks, 2);
}

TEST_F(ApplicationTest, DelayRunsHandlersThatArriveDuringTheWait) {
  int ran = 0;
  events.Post([&] { events.Post([&] { ++ran; }); });
  app.DelayWithEvents(3);
  EXPECT_EQ(ran, 1);
}

TEST_F(ApplicationTest, DelayEndsAcrossTheTickCounterWrap) {
  events.tick = 0xFFFFFFF0u;
  app.DelayWithEvents(100);
  EXPECT_GT(static_cast<uint32_t>(events.tick - 0xFFFFFFF0u), 100u);
  EXPECT_LT(events.tick, 0x1000u);
}

TEST_F(ApplicationTest, QueuedQuitRequestNeitherShortensADelayNorIsTaken) {
  events.PostQuit(7);
  const uint32_t start = events.tick;
  app.DelayWithEvents(20);
  EXPECT_GT(events.tick - start, 20u);
  ASSERT_EQ(events.queue.size(), 1u);
  EXPECT_TRUE(events.queue.front().quit);
}

TEST_F(ApplicationTest, LosingTheLastWindowBeforeTheLoopPostsNoQuit) {
  app.LoadWindow(WindowId::Main);
  Window(WindowId::Main).DestroyNow();
  EXPECT_TRUE(events.queue.empty());
  EXPECT_FALSE(app.AnyWindowAlive());
}

TEST_F(ApplicationTest, ClosingTheLastWindowEndsTheLoopWithZeroAndCleansUpOnce) {
  app.LoadWindow(WindowId::Main);
  EXPECT_TRUE(Window(WindowId::Main).shown);
  events.Post([&] { Window(WindowId::Main).DestroyNow(); });
  EXPECT_EQ(app.RunUntilLastWindowCloses(), 0);
  EXPECT_EQ(g_cleanups, 1);
  EXPECT_EQ(ExitCodeOf([&] { app.ExitProgram(3); }), 3);
  EXPECT_EQ(g_cleanups, 1);  // the clean-up runs at most once
}

TEST_F(ApplicationTest, NoWindowAliveSkipsTheLoop) {
  EXPECT_EQ(app.RunUntilLastWindowCloses(), 0);
  EXPECT_EQ(events.peeks, 0);
  EXPECT_EQ(g_cleanups, 1);
}

TEST_F(ApplicationTest, DestroyLaterWaitsForTheNextDispatch) {
  app.LoadWindow(WindowId::Splash);
  app.DestroyWindowLater(WindowId::Splash);
  EXPECT_TRUE(app.IsAlive(WindowId::Splash));
  app.ProcessPendingEvents();
  EXPECT_FALSE(app.IsAlive(WindowId::Splash));
}

TEST_F(ApplicationTest, LoadingAWindowMarkedForDestructionMakesANewOne) {
  app.LoadWindow(WindowId::Splash);
  app.DestroyWindowLater(WindowId::Splash);
  EXPECT_TRUE(app.LoadWindow(WindowId::Splash));
  EXPECT_EQ(factory.created, 2);
  EXPECT_TRUE(app.IsAlive(WindowId::Splash));
  app.ProcessPendingEvents();  // the old request finds nothing marked
  EXPECT_TRUE(app.IsAlive(WindowId::Splash));
}

TEST_F(ApplicationTest, LoadingALiveWindowActivatesIt) {
  app.LoadWindow(WindowId::Main);
  EXPECT_TRUE(app.LoadWindow(WindowId::Main));
  EXPECT_EQ(factory.created, 1);
  EXPECT_EQ(Window(WindowId::Main).activations, 1);
}

TEST_F(ApplicationTest, LoadingWithADeadOwnerFails) {
  EXPECT_FALSE(app.LoadWindow(WindowId::Main, WindowId::Splash));
  EXPECT_EQ(factory.created, 0);
}

TEST_F(ApplicationTest, FatalErrorsShowTheReportAndEndWithMinusOneWithoutCleanUp) {
  struct Case {
    std::function<void(Application&)> cause;
    Text report;
  };
  const Case cases[] = {
      {[](Application& a) { a.DestroyWindowLater(WindowId::Splash); },
       "运行时出错!\r\n\r\n错误信息：指定窗口或窗口组件不存在或尚未载入\r\n"},
      {[](Application& a) { a.RequireLoaded(WindowId::Main); }, "运行时出错!\r\n\r\n错误信息：指定窗口尚未载入\r\n"},
      {[](Application& a) { a.ReportFatalError("x", 6); }, "运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：x\r\n"},
  };
  for (const Case& c : cases) {
    FakeEvents localEvents;
    FakeFactory localFactory;
    Application local(localEvents, localFactory);
    localFactory.app = &local;
    localFactory.events = &localEvents;
    local.AddWindow(Definition(WindowId::Main));
    local.AddWindow(Definition(WindowId::Splash));
    local.RegisterExitCleanup(CountCleanup);
    g_cleanups = 0;
    EXPECT_EQ(ExitCodeOf([&] { c.cause(local); }), -1);
    ASSERT_EQ(localEvents.fatalBoxes.size(), 1u);
    EXPECT_EQ(localEvents.fatalBoxes[0], c.report);
    EXPECT_EQ(g_cleanups, 0);
  }
}

TEST_F(ApplicationTest, WritingAControlOfAClosedWindowIsFatal) {
  app.LoadWindow(WindowId::Main);
  app.RequireLoaded(WindowId::Main);
  EXPECT_TRUE(events.fatalBoxes.empty());
  Window(WindowId::Main).DestroyNow();
  EXPECT_EQ(ExitCodeOf([&] { app.RequireLoaded(WindowId::Main); }), -1);
}

int g_released = 0;
class CountingLibrary : public ExternalLibrary {
 public:
  ~CountingLibrary() override { ++g_released; }
};

TEST_F(ApplicationTest, ExitProgramCleansUpAndReleasesLibraries) {
  g_released = 0;
  app.AddExternalLibrary(std::make_unique<CountingLibrary>());
  EXPECT_EQ(ExitCodeOf([&] { app.ExitProgram(0); }), 0);
  EXPECT_EQ(g_cleanups, 1);
  EXPECT_EQ(g_released, 1);
}

Application* g_app = nullptr;
void DestroyMyselfLater() { g_app->DestroyWindowLater(WindowId::Splash); }

TEST_F(ApplicationTest, CreatedHandlerThatAsksForItsOwnDestructionGoesOnToItsEnd) {
  FakeEvents localEvents;
  FakeFactory localFactory;
  Application local(localEvents, localFactory);
  localFactory.app = &local;
  localFactory.events = &localEvents;
  local.AddWindow(Definition(WindowId::Splash, DestroyMyselfLater));
  g_app = &local;
  EXPECT_TRUE(local.LoadWindow(WindowId::Splash));
  EXPECT_TRUE(local.IsAlive(WindowId::Splash));
  EXPECT_TRUE(static_cast<FakeWindow*>(local.Native(WindowId::Splash))->shown);
  local.ProcessPendingEvents();
  EXPECT_FALSE(local.IsAlive(WindowId::Splash));
}

}  // namespace
}  // namespace jc

#include "startup/skin_deployment.h"

#include <gtest/gtest.h>

#include <map>

#include "fake_frame.h"

namespace jc {
namespace {

class FakeSkinFiles : public SkinFiles {
 public:
  std::vector<Text> directories{"C:\\prog"};  // one per reading; the last one repeats
  size_t readings = 0;
  std::vector<std::pair<Text, ByteBlock>> writes;
  ByteBlock engine{'M', 'Z', 0, 1};
  ByteBlock skin{'.', 'S', 'H', 'E', 0, 9};

  Text CurrentDirectory() override {
    const Text& directory = directories[std::min(readings, directories.size() - 1)];
    ++readings;
    return directory;
  }
  bool WriteWholeFile(const Text& path, const ByteBlock& block) override {
    writes.emplace_back(path, block);
    return false;  // a failed write is passed over
  }
  const ByteBlock& SkinEngineBlock() override { return engine; }
  const ByteBlock& SkinFileBlock() override { return skin; }
};

int g_librariesReleased = 0;

int32_t AttachEntry(const char*, const char*) { return 0; }

class FakeLibrary : public LoadedLibrary {
 public:
  explicit FakeLibrary(bool hasEntry) : hasEntry_(hasEntry) {}
  ~FakeLibrary() override { ++g_librariesReleased; }
  void* Entry(const Text& name) override {
    return hasEntry_ && name == "SkinH_AttachEx" ? reinterpret_cast<void*>(&AttachEntry) : nullptr;
  }

 private:
  bool hasEntry_;
};

class FakeLoader : public LibraryLoader {
 public:
  std::map<Text, bool> libraries;  // loadable path -> has the entry
  std::vector<Text> loads;
  std::vector<std::pair<Text, Text>> calls;
  bool balanced = true;

  std::unique_ptr<LoadedLibrary> Load(const Text& path) override {
    loads.push_back(path);
    auto found = libraries.find(path);
    if (found == libraries.end()) return nullptr;
    return std::make_unique<FakeLibrary>(found->second);
  }
  bool CallWithStackCheck(void* entry, const Text& first, const Text& second, int32_t& result) override {
    EXPECT_EQ(entry, reinterpret_cast<void*>(&AttachEntry));
    calls.emplace_back(first, second);
    result = 0;
    return balanced;
  }
};

class SkinDeploymentTest : public ::testing::Test {
 protected:
  SkinDeploymentTest() : app(events, factory) {
    app.SetProgramFolder("C:\\prog");
    g_librariesReleased = 0;
  }
  void Deploy() {
    SkinJob job{app, files, loader, binding};
    SkinDeployment(job);
  }

  FakeEvents events;
  FakeFactory factory;
  Application app;
  FakeSkinFiles files;
  FakeLoader loader;
  SkinEngineBinding binding;
};

TEST_F(SkinDeploymentTest, WritesBothFilesThenAttachesTheSkin) {
  loader.libraries["C:\\prog\\jedata.dll"] = true;
  Deploy();
  ASSERT_EQ(files.writes.size(), 2u);
  EXPECT_EQ(files.writes[0].first, "C:\\prog\\jedata.dll");
  EXPECT_EQ(files.writes[0].second, files.engine);
  EXPECT_EQ(files.writes[1].first, "C:\\prog\\1.she");
  EXPECT_EQ(files.writes[1].second, files.skin);
  EXPECT_EQ(loader.loads, (std::vector<Text>{"C:\\prog\\jedata.dll"}));
  ASSERT_EQ(loader.calls.size(), 1u);
  EXPECT_EQ(loader.calls[0].first, "C:\\prog\\1.she");
  EXPECT_EQ(loader.calls[0].second, "");
  EXPECT_TRUE(events.fatalBoxes.empty());
  EXPECT_EQ(g_librariesReleased, 0);  // kept loaded until shutdown
  try {
    app.ExitProgram(0);
  } catch (const ProcessEnded&) {
  }
  EXPECT_EQ(g_librariesReleased, 1);
}

TEST_F(SkinDeploymentTest, ReadsTheCurrentDirectoryAnewForEachPath) {
  files.directories = {"C:\\a", "C:\\b", "C:\\c"};
  loader.libraries["C:\\prog\\jedata.dll"] = true;
  Deploy();
  EXPECT_EQ(files.writes[0].first, "C:\\a\\jedata.dll");
  EXPECT_EQ(files.writes[1].first, "C:\\b\\1.she");
  EXPECT_EQ(loader.calls[0].first, "C:\\c\\1.she");
}

TEST_F(SkinDeploymentTest, AnUnreadableCurrentDirectoryGivesRootPaths) {
  files.directories = {""};
  loader.libraries["C:\\prog\\jedata.dll"] = true;
  Deploy();
  EXPECT_EQ(files.writes[0].first, "\\jedata.dll");
  EXPECT_EQ(files.writes[1].first, "\\1.she");
}

TEST_F(SkinDeploymentTest, FallsBackToTheLibrarySearchPath) {
  loader.libraries["jedata.dll"] = true;
  Deploy();
  EXPECT_EQ(loader.loads, (std::vector<Text>{"C:\\prog\\jedata.dll", "jedata.dll"}));
  EXPECT_EQ(loader.calls.size(), 1u);
}

TEST_F(SkinDeploymentTest, ASecondAttachGoesStraightToTheEntry) {
  loader.libraries["C:\\prog\\jedata.dll"] = true;
  Deploy();
  SkinJob job{app, files, loader, binding};
  AttachSkin(job, "x", "");
  EXPECT_EQ(loader.loads.size(), 1u);
  EXPECT_EQ(loader.calls.size(), 2u);
}

TEST_F(SkinDeploymentTest, FatalStops) {
  const Text missing = "运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件“jedata.dll”中的输出命令“SkinH_AttachEx”\r\n";
  struct Case {
    const char* what;
    std::map<Text, bool> libraries;
    bool balanced;
    Text report;
    int released;
  };
  const Case cases[] = {
      {"no library anywhere", {}, true, missing, 0},
      {"library without the entry", {{"C:\\prog\\jedata.dll", false}}, true, missing, 1},
      {"unbalanced call", {{"C:\\prog\\jedata.dll", true}}, false,
       "运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    events.fatalBoxes.clear();
    binding = SkinEngineBinding();
    loader.libraries = c.libraries;
    loader.balanced = c.balanced;
    g_librariesReleased = 0;
    EXPECT_EQ(ExitCodeOf([this] { Deploy(); }), -1);
    ASSERT_EQ(events.fatalBoxes.size(), 1u);
    EXPECT_EQ(events.fatalBoxes[0], c.report);
    EXPECT_EQ(g_librariesReleased, c.released);
  }
}

}  // namespace
}  // namespace jc

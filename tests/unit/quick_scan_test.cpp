#include "cleaner/quick_scan.h"

#include <gtest/gtest.h>

#include <functional>

#include "app/window_definition.h"
#include "fake_files.h"

namespace jc {
namespace {

// The main window's progress bar and status line, as the scan sees them.
class FakeView : public ScanView {
 public:
  int32_t maximum = 100;
  int32_t position = 0;
  std::vector<Text> statusTexts;
  std::function<void()> duringDelay;

  void SetStatusText(const Text& text) override { statusTexts.push_back(text); }
  void SetProgressMaximum(int32_t value) override { maximum = ClampProgressValue(value); }
  void SetProgressPosition(int32_t value) override { position = ClampProgressValue(value); }
  int32_t ProgressPosition() override { return position; }
  void DelayWithEvents(int32_t) override {
    if (duringDelay) duringDelay();
  }
};

const Text kTemp = "C:\\T\\";
const Text kWindows = "C:\\W\\";

class ScanTest : public ::testing::Test {
 protected:
  JunkJob Job() { return JunkJob{files, folders, results, state, view}; }
  void Scan() {
    JunkJob job = Job();
    QuickScan(job);
  }
  void Clean() {
    JunkJob job = Job();
    CleanJunk(job);
  }
  std::vector<Text> Paths() const {
    std::vector<Text> paths;
    for (int32_t row = 0; row < results.RowCount(); ++row) paths.push_back(results.GetCellText(row, 0));
    return paths;
  }

  FakeFileSystem files;
  FakeFolders folders;
  ResultList results;
  ScanState state;
  FakeView view;
};

TEST_F(ScanTest, FiguresAndRowsForSmallFolders) {
  struct Case {
    const char* what;
    std::vector<FakeFile> temp;
    int32_t maximum;
    int32_t position;
    std::vector<Text> rowsFromTop;
  };
  const Case cases[] = {
      {"no junk", {}, 1, 1, {}},
      {"one tmp", {{"b.tmp", 7}}, 2, 2, {kTemp + "b.tmp"}},
      {"chk is counted and listed twice", {{"c.chk", 7}}, 3, 3, {kTemp + "c.chk", kTemp + "c.chk"}},
      {"old is counted, never listed", {{"d.old", 7}}, 2, 1, {}},
      {"a folder named like junk", {{"x.tmp", 0, true}}, 1, 1, {}},
      {"other names", {{"x.tmp.txt", 1}, {"readme.txt", 1}, {"tmp", 1}}, 1, 1, {}},
      {"case is ignored", {{"UPPER.TMP", 1}}, 2, 2, {kTemp + "UPPER.TMP"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    files.folders.clear();
    results = ResultList();
    view = FakeView();
    for (const FakeFile& file : c.temp) files.Add(kTemp, file);
    Scan();
    EXPECT_EQ(view.maximum, c.maximum);
    EXPECT_EQ(view.position, c.position);
    EXPECT_EQ(Paths(), c.rowsFromTop);
    EXPECT_EQ(view.statusTexts, (std::vector<Text>{"正在扫描系统垃圾...", "系统垃圾扫描完成"}));
  }
}

TEST_F(ScanTest, RowsStandInReverseOrderOfFinding) {
  files.Add(kTemp, {"a.bak", 1});
  files.Add(kTemp, {"b.tmp", 2});
  files.Add(kWindows + "prefetch\\", {"c.pf", 3});
  Scan();
  EXPECT_EQ(Paths(), (std::vector<Text>{kWindows + "prefetch\\c.pf", kTemp + "b.tmp", kTemp + "a.bak"}));
  EXPECT_EQ(results.GetCellText(0, 1), "3");
  EXPECT_EQ(results.GetCellText(2, 1), "1");
  for (int32_t row = 0; row < 3; ++row) EXPECT_EQ(results.GetCellText(row, 2), "系统垃圾");
  EXPECT_EQ(view.maximum, 4);
  EXPECT_EQ(view.position, 4);
}

TEST_F(ScanTest, SubfoldersAreListedWithTheirNameAndNotEntered) {
  files.Add(kTemp + "recycled\\", {"r1.dat", 1});
  files.Add(kTemp + "recycled\\", {"inner", 0, true});
  files.Add(kTemp + "recycled\\inner\\", {"deep.tmp", 1});
  files.Add(kTemp + "other\\", {"o.tmp", 1});
  files.Add(kWindows, {"w.bak", 1});
  files.Add(kWindows, {"w.tmp", 1});
  Scan();
  EXPECT_EQ(Paths(), (std::vector<Text>{kWindows + "w.bak", kTemp + "recycled\\r1.dat"}));
  EXPECT_EQ(state.currentFolder, kWindows);
  EXPECT_EQ(state.category, "系统垃圾");
  EXPECT_EQ(state.foundName, "");
}

TEST_F(ScanTest, SizesAreTheLow32BitsTakenAsSigned) {
  struct Case {
    uint64_t size;
    Text shown;
  };
  const Case cases[] = {
      {0, "0"}, {5, "5"}, {3221225472ull, "-1073741824"}, {4294967301ull, "5"}, {2147483647ull, "2147483647"}};
  for (const Case& c : cases) {
    files.folders.clear();
    results = ResultList();
    files.Add(kTemp, {"f.tmp", c.size});
    Scan();
    EXPECT_EQ(results.GetCellText(0, 1), c.shown) << c.size;
  }
}

TEST_F(ScanTest, UnreadableSizeShowsMinusOne) {
  EXPECT_EQ(FileSizeOf(files, kTemp + "gone.tmp"), -1);
}

TEST_F(ScanTest, NamesThatMatchOnlyByTheirShortNameAreLeftAlone) {
  files.Add(kTemp, {"notes.bakery", 1, false, "NOTE~SUK.BAK"});
  files.Add(kTemp, {"report.tmpl", 1, false, "REPORT~1.TMP"});
  files.Add(kTemp, {"real.bak", 1, false, ""});
  files.Add(kTemp, {"long name.tmp", 1, false, "LONGNA~1.TMP"});
  Scan();
  EXPECT_EQ(Paths(), (std::vector<Text>{kTemp + "long name.tmp", kTemp + "real.bak"}));
  EXPECT_EQ(view.maximum, 3);
}

TEST_F(ScanTest, AnUnresolvableFolderIsNotSearched) {
  folders.temp = "";
  files.Add("\\", {"root.tmp", 1});
  files.Add(kWindows, {"w.bak", 1});
  Scan();
  EXPECT_EQ(Paths(), (std::vector<Text>{kWindows + "w.bak"}));
  for (const Text& search : files.searches) EXPECT_EQ(search.rfind(kWindows, 0), 0u) << search;
}

TEST_F(ScanTest, ASecondScanListsEverythingAgainAboveTheOldRows) {
  files.Add(kTemp, {"c.chk", 1});
  files.Add(kTemp, {"b.tmp", 1});
  Scan();
  Scan();
  EXPECT_EQ(results.RowCount(), 6);
  int chk = 0;
  for (const Text& path : Paths()) chk += path == kTemp + "c.chk";
  EXPECT_EQ(chk, 4);
  EXPECT_EQ(view.maximum, 4);
  EXPECT_EQ(view.position, 4);
}

TEST_F(ScanTest, AClickDuringThePauseRunsANestedScanOnTheSameState) {
  files.Add(kTemp, {"b.tmp", 1});
  files.Add(kWindows, {"x.tmp", 1});
  files.Add(kWindows, {"y.tmp", 1});
  bool nested = false;
  view.duringDelay = [&] {
    if (nested) return;
    nested = true;
    Scan();
  };
  Scan();
  // The nested scan left the Windows folder as the current folder, so the
  // outer count pass counted the Windows folder's two .tmp files instead of b.tmp.
  EXPECT_EQ(view.maximum, 3);
  EXPECT_EQ(Paths(), (std::vector<Text>{kTemp + "b.tmp", kTemp + "b.tmp"}));
}

TEST_F(ScanTest, ProgressIsLimitedByTheBar) {
  for (int i = 0; i < 33000; ++i) files.Add(kTemp, {"f" + std::to_string(i) + ".tmp", 1});
  Scan();
  EXPECT_EQ(view.maximum, 32767);
  EXPECT_EQ(view.position, 32767);
  EXPECT_EQ(results.RowCount(), 33000);
}

TEST_F(ScanTest, CleanOfAnEmptyList) {
  Clean();
  EXPECT_EQ(view.maximum, 0);
  EXPECT_EQ(view.position, 1);
  EXPECT_TRUE(files.removals.empty());
  EXPECT_EQ(view.statusTexts, (std::vector<Text>{"系统垃圾清理完毕"}));
}

TEST_F(ScanTest, CleanDeletesExactlyTheListedFilesFromTheTop) {
  files.Add(kTemp, {"a.bak", 1});
  files.Add(kTemp, {"b.tmp", 1});
  files.Add(kTemp, {"keep.txt", 1});
  files.Add(kWindows + "prefetch\\", {"c.pf", 1});
  Scan();
  view.statusTexts.clear();
  Clean();
  EXPECT_EQ(files.removals, (std::vector<Text>{kWindows + "prefetch\\c.pf", kTemp + "b.tmp", kTemp + "a.bak"}));
  EXPECT_TRUE(files.Exists(kTemp + "keep.txt"));
  EXPECT_FALSE(files.Exists(kTemp + "a.bak"));
  EXPECT_EQ(results.RowCount(), 0);
  EXPECT_EQ(view.maximum, 3);
  EXPECT_EQ(view.position, 4);
  EXPECT_EQ(view.statusTexts, (std::vector<Text>{"系统垃圾清理完毕"}));
}

TEST_F(ScanTest, CleanRemovesRowsOfFilesItCannotDelete) {
  files.Add(kTemp, {"held.tmp", 1});
  files.Add(kTemp, {"c.chk", 1});
  files.locked.insert(kTemp + "held.tmp");
  Scan();
  Scan();
  Clean();
  EXPECT_EQ(results.RowCount(), 0);
  EXPECT_TRUE(files.Exists(kTemp + "held.tmp"));
  EXPECT_FALSE(files.Exists(kTemp + "c.chk"));
  EXPECT_EQ(files.removals.size(), 6u);  // c.chk four times, held.tmp twice
  EXPECT_EQ(view.statusTexts.back(), "系统垃圾清理完毕");
}

TEST_F(ScanTest, CleanStopsAtTheFirstRowOfAnotherCategory) {
  for (const char* name : {"C:\\T\\c.tmp", "C:\\T\\b.tmp", "C:\\T\\a.tmp"}) {
    const int32_t row = results.InsertRow(0);
    results.SetCellText(row, 0, name);
    results.SetCellText(row, 2, "系统垃圾");
  }
  results.SetCellText(1, 2, "系统垃圾 ");  // not exactly the category
  Clean();
  EXPECT_EQ(files.removals, (std::vector<Text>{"C:\\T\\a.tmp"}));
  EXPECT_EQ(Paths(), (std::vector<Text>{"C:\\T\\b.tmp", "C:\\T\\c.tmp"}));
  EXPECT_EQ(view.maximum, 3);
  EXPECT_EQ(view.position, 2);
}

}  // namespace
}  // namespace jc

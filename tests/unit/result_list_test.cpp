#include "cleaner/result_list.h"

#include <gtest/gtest.h>

#include <vector>

namespace jc {
namespace {

std::vector<Text> Column0(const ResultList& list) {
  std::vector<Text> names;
  for (int32_t row = 0; row < list.RowCount(); ++row) names.push_back(list.GetCellText(row, 0));
  return names;
}

ResultList ListOf(std::initializer_list<Text> names) {
  ResultList list;
  for (const Text& name : names) list.SetCellText(list.InsertRow(-1), 0, name);
  return list;
}

TEST(ResultList, InsertPositions) {
  struct Case {
    int32_t position;
    int32_t expectedIndex;
    std::vector<Text> expected;
  };
  const Case cases[] = {
      {0, 0, {"new", "A", "B"}},  {1, 1, {"A", "new", "B"}},  {2, 2, {"A", "B", "new"}},
      {7, 2, {"A", "B", "new"}},  {-1, 2, {"A", "B", "new"}}, {-100, 2, {"A", "B", "new"}},
  };
  for (const Case& c : cases) {
    ResultList list = ListOf({"A", "B"});
    const int32_t index = list.InsertRow(c.position);
    EXPECT_EQ(index, c.expectedIndex) << c.position;
    for (int32_t column = 0; column < 3; ++column) EXPECT_EQ(list.GetCellText(index, column), "");
    list.SetCellText(index, 0, "new");
    EXPECT_EQ(Column0(list), c.expected) << c.position;
  }
}

TEST(ResultList, MissingCellsReadEmptyAndIgnoreWrites) {
  ResultList list;
  EXPECT_EQ(list.GetCellText(0, 2), "");
  list.SetCellText(0, 0, "x");
  EXPECT_EQ(list.RowCount(), 0);
  list.InsertRow(0);
  list.SetCellText(0, 3, "x");
  list.SetCellText(0, -1, "x");
  EXPECT_EQ(list.GetCellText(0, 3), "");
  EXPECT_EQ(list.GetCellText(1, 0), "");
  EXPECT_EQ(list.GetCellText(-1, 0), "");
  EXPECT_EQ(list.Cell(0, 3), nullptr);
}

TEST(ResultList, CellsKeepTheirBytesAtAnyLength) {
  ResultList list;
  list.InsertRow(0);
  const Text longPath = "C:\\" + Text(5000, 'a') + "\\\xB0\xE6.tmp";
  list.SetCellText(0, 0, longPath);
  list.SetCellText(0, 2, "系统垃圾");
  EXPECT_EQ(list.GetCellText(0, 0), longPath);
  EXPECT_EQ(list.GetCellText(0, 2), "系统垃圾");
}

TEST(ResultList, DeleteMovesRowsUp) {
  ResultList list = ListOf({"A", "B", "C"});
  list.DeleteRow(0);
  EXPECT_EQ(Column0(list), (std::vector<Text>{"B", "C"}));
  list.DeleteRow(1);
  EXPECT_EQ(Column0(list), (std::vector<Text>{"B"}));
  list.DeleteRow(5);
  list.DeleteRow(-1);
  EXPECT_EQ(list.RowCount(), 1);
}

class CountingObserver : public ResultListObserver {
 public:
  int changes = 0;
  void ResultListChanged() override { ++changes; }
};

TEST(ResultList, TellsItsObserverOfEveryChange) {
  ResultList list;
  CountingObserver observer;
  list.SetObserver(&observer);
  list.InsertRow(0);
  list.SetCellText(0, 1, "5");
  list.DeleteRow(0);
  EXPECT_EQ(observer.changes, 3);
  list.DeleteRow(0);  // nothing to delete: nothing changed
  EXPECT_EQ(observer.changes, 3);
}

}  // namespace
}  // namespace jc

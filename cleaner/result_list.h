// The rows of the result list. The list view only shows what this holds, so
// inserting and deleting at the top stay cheap with a hundred thousand rows.
#pragma once

#include <array>
#include <cstdint>
#include <deque>

#include "app/text.h"

namespace jc {

class ResultListObserver {
 public:
  virtual ~ResultListObserver() = default;
  virtual void ResultListChanged() = 0;
};

class ResultList {
 public:
  static constexpr int32_t kColumns = 3;

  // A position of 0 or more goes before that row (or after the last row when
  // beyond it); a negative position appends. Gives the new row's index.
  int32_t InsertRow(int32_t position);
  // Nothing happens for a row or column that does not exist.
  void SetCellText(int32_t row, int32_t column, const Text& text);
  // The empty text for a row or column that does not exist.
  Text GetCellText(int32_t row, int32_t column) const;
  // The stored cell, or nullptr; for drawing without a copy.
  const Text* Cell(int32_t row, int32_t column) const;
  void DeleteRow(int32_t row);
  int32_t RowCount() const;

  void SetObserver(ResultListObserver* observer) { observer_ = observer; }

 private:
  using Row = std::array<Text, kColumns>;
  bool Exists(int32_t row, int32_t column) const;
  void NotifyChanged();

  std::deque<Row> rows_;
  ResultListObserver* observer_ = nullptr;
};

}  // namespace jc

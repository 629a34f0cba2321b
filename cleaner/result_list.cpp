#include "cleaner/result_list.h"

namespace jc {

int32_t ResultList::InsertRow(int32_t position) {
  const int32_t count = RowCount();
  const int32_t index = (position < 0 || position > count) ? count : position;
  rows_.insert(rows_.begin() + index, Row{});
  NotifyChanged();
  return index;
}

void ResultList::SetCellText(int32_t row, int32_t column, const Text& text) {
  if (!Exists(row, column)) return;
  rows_[static_cast<size_t>(row)][static_cast<size_t>(column)] = text;
  NotifyChanged();
}

Text ResultList::GetCellText(int32_t row, int32_t column) const {
  const Text* cell = Cell(row, column);
  return cell ? *cell : Text();
}

const Text* ResultList::Cell(int32_t row, int32_t column) const {
  if (!Exists(row, column)) return nullptr;
  return &rows_[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

void ResultList::DeleteRow(int32_t row) {
  if (!Exists(row, 0)) return;
  rows_.erase(rows_.begin() + row);
  NotifyChanged();
}

int32_t ResultList::RowCount() const {
  return static_cast<int32_t>(rows_.size());
}

bool ResultList::Exists(int32_t row, int32_t column) const {
  return row >= 0 && row < RowCount() && column >= 0 && column < kColumns;
}

void ResultList::NotifyChanged() {
  if (observer_) observer_->ResultListChanged();
}

}  // namespace jc

#include "library/column_sort_state.h"

namespace kestrel {
namespace {

bool IsColumn(int column) { return column >= 0 && column < kColumnCount; }

}  // namespace

int ColumnSortState::Direction(int column) const {
  return IsColumn(column) ? directions_[static_cast<std::size_t>(column)] : 0;
}

void ColumnSortState::Set(int column, SortDirection direction) {
  if (IsColumn(column)) directions_[static_cast<std::size_t>(column)] = static_cast<int>(direction);
}

SortDirection ColumnSortState::Toggle(int column) {
  const SortDirection next =
      Direction(column) == static_cast<int>(SortDirection::Ascending) ? SortDirection::Descending
                                                                       : SortDirection::Ascending;
  Set(column, next);
  return next;
}

ColumnSortState& TheColumnSortState() {
  static ColumnSortState state;
  return state;
}

void SortByColumnClick(EntryList& list, int column, ColumnSortState& state) {
  if (!IsColumn(column)) return;
  list.Sort(column, state.Toggle(column));
}

void SortByNameAscending(EntryList& list, ColumnSortState& state) {
  state.Set(0, SortDirection::Ascending);
  list.Sort(0, SortDirection::Ascending);
}

}  // namespace kestrel

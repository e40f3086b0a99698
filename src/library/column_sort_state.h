#pragma once
// The sort direction of each column, one table for every sortable list of the program: a
// click on column 1 of one list changes what the next click on column 1 of any list does.

#include <array>

#include "library/entry_list.h"

namespace kestrel {

class ColumnSortState {
 public:
  // 0 never sorted, 1 ascending, 2 descending.
  int Direction(int column) const;
  void Set(int column, SortDirection direction);
  // A header click: 2 after 1, otherwise 1. Returns the new direction.
  SortDirection Toggle(int column);

 private:
  std::array<int, kColumnCount> directions_{};
};

// The program's table (user-interface thread only).
ColumnSortState& TheColumnSortState();

// Sorts `list` as a click on the header of `column` does.
void SortByColumnClick(EntryList& list, int column, ColumnSortState& state = TheColumnSortState());

// The order a finished folder listing is shown in: names ascending, remembered as such.
void SortByNameAscending(EntryList& list, ColumnSortState& state = TheColumnSortState());

}  // namespace kestrel

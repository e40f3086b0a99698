#pragma once
// A report list with single selection: the rows in display order and the selected row.
// Owned and changed by the user-interface thread only.

#include <cstddef>
#include <optional>
#include <vector>

#include "platform/compare_list_items.h"
#include "library/spu_file_entry.h"

namespace kestrel {

class EntryList {
 public:
  const std::vector<SpuFileEntry>& Entries() const { return entries_; }
  std::size_t Size() const { return entries_.size(); }
  bool Empty() const { return entries_.empty(); }
  const SpuFileEntry& At(std::size_t index) const { return entries_.at(index); }
  SpuFileEntry& At(std::size_t index) { return entries_.at(index); }

  std::optional<std::size_t> Selected() const { return selected_; }
  const SpuFileEntry* SelectedEntry() const { return selected_ ? &entries_[*selected_] : nullptr; }
  // An index past the end selects nothing.
  void Select(std::optional<std::size_t> index);

  void Clear();
  // Inserts at `index` (at most the end) under a new serial. The selection stays on its row.
  void Insert(std::size_t index, SpuFileEntry entry);
  void Append(SpuFileEntry entry) { Insert(entries_.size(), std::move(entry)); }
  // Inserts each row at the top in turn (the last one ends first), in one move of the
  // rows below, so that filling a list of thousands stays linear.
  void InsertEachAtTop(std::vector<SpuFileEntry> rows);
  // Removing the selected row leaves nothing selected.
  void Remove(std::size_t index);
  // Moves a row, and the selection with it when it was selected.
  void Move(std::size_t from, std::size_t to);
  // Stable sort on one column's text; the selection stays on its row.
  void Sort(int column, SortDirection direction);

 private:
  std::vector<SpuFileEntry> entries_;
  std::optional<std::size_t> selected_;
};

}  // namespace kestrel

#include "library/entry_list.h"

#include <algorithm>
#include <utility>

namespace kestrel {

void EntryList::Select(std::optional<std::size_t> index) {
  selected_ = index && *index < entries_.size() ? index : std::nullopt;
}

void EntryList::Clear() {
  entries_.clear();
  selected_.reset();
}

void EntryList::Insert(std::size_t index, SpuFileEntry entry) {
  index = std::min(index, entries_.size());
  entry.serial = NextListSerial();
  entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(index), std::move(entry));
  if (selected_ && *selected_ >= index) ++*selected_;
}

void EntryList::InsertEachAtTop(std::vector<SpuFileEntry> rows) {
  for (SpuFileEntry& row : rows) row.serial = NextListSerial();
  entries_.insert(entries_.begin(), std::make_move_iterator(rows.rbegin()), std::make_move_iterator(rows.rend()));
  if (selected_) *selected_ += rows.size();
}

void EntryList::Remove(std::size_t index) {
  if (index >= entries_.size()) return;
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
  if (selected_ == index) {
    selected_.reset();
  } else if (selected_ && *selected_ > index) {
    --*selected_;
  }
}

void EntryList::Move(std::size_t from, std::size_t to) {
  if (from >= entries_.size() || to >= entries_.size() || from == to) return;
  const bool wasSelected = selected_ == from;
  SpuFileEntry entry = std::move(entries_[from]);
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(from));
  entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(to), std::move(entry));
  if (wasSelected) {
    selected_ = to;
  } else if (selected_) {
    if (from < *selected_ && to >= *selected_) --*selected_;
    else if (from > *selected_ && to <= *selected_) ++*selected_;
  }
}

void EntryList::Sort(int column, SortDirection direction) {
  const std::optional<std::uint32_t> selectedSerial =
      selected_ ? std::optional(entries_[*selected_].serial) : std::nullopt;
  std::stable_sort(entries_.begin(), entries_.end(), [&](const SpuFileEntry& a, const SpuFileEntry& b) {
    return CompareListItems(ColumnText(a, column), ColumnText(b, column), direction) < 0;
  });
  if (selectedSerial) {
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [&](const SpuFileEntry& e) { return e.serial == *selectedSerial; });
    selected_ = static_cast<std::size_t>(it - entries_.begin());
  }
}

}  // namespace kestrel

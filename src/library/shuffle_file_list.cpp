#include "library/shuffle_file_list.h"

#include <algorithm>
#include <ctime>

namespace kestrel {

ShuffleRandom ShuffleRandom::FromClock() {
  return ShuffleRandom(static_cast<std::uint32_t>(std::time(nullptr)));
}

void ShuffleFileList(SpuFileList& list, ShuffleRandom& random) {
  UnCheckAllItems(list);
  const int rows = std::min(list.count, static_cast<int>(list.entries.Size()));
  if (rows < 1) return;
  // The unchecked rows are always the first rows - moves, so a draw that lands on a
  // checked row is simply drawn again.
  for (int moves = 0; moves < rows;) {
    const auto r = static_cast<std::size_t>(random.Draw() % rows);
    if (list.entries.At(r).checked) continue;
    SpuFileEntry copy = list.entries.At(r);
    copy.checked = true;
    list.entries.Append(std::move(copy));
    list.entries.Remove(r);
    ++moves;
  }
  list.entries.Select(0);
}

void ShuffleFileList(SpuFileList& list) {
  ShuffleRandom random = ShuffleRandom::FromClock();
  ShuffleFileList(list, random);
}

}  // namespace kestrel

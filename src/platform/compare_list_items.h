#pragma once
// The comparison every sortable list of the program shares.

#include <string_view>

namespace kestrel {

enum class SortDirection : int { Ascending = 1, Descending = 2 };

// Compares at most 255 bytes of each text as unsigned bytes (case-sensitive, a prefix
// first): negative when a sorts before b in `direction`, positive after, 0 when equal.
int CompareListItems(std::string_view a, std::string_view b, SortDirection direction);

}  // namespace kestrel

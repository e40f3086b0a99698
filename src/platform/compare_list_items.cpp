#include "platform/compare_list_items.h"

#include <algorithm>
#include <cstring>

namespace kestrel {

int CompareListItems(std::string_view a, std::string_view b, SortDirection direction) {
  constexpr std::size_t kTextLimit = 255;
  a = a.substr(0, std::min(a.size(), kTextLimit));
  b = b.substr(0, std::min(b.size(), kTextLimit));
  int order = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
  if (order == 0) order = a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
  order = order < 0 ? -1 : (order > 0 ? 1 : 0);
  return direction == SortDirection::Ascending ? order : -order;
}

}  // namespace kestrel

#include "platform/compare_list_items.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrel {
namespace {

TEST(CompareListItems, UnsignedBytesCaseSensitiveAtMost255) {
  const std::string x254(254, 'x'), x255(255, 'x');
  const struct { std::string a, b; int sign; } cases[] = {
      {"Zebra", "apple", -1},          // upper case sorts first
      {"abc", "abcd", -1},             // a prefix sorts first
      {"\xE9t\xE9", "zoo", 1},         // bytes above 127 are large
      {"same", "same", 0},
      {"01:08.0", "10:00.0", -1},
      {x255 + "a", x255 + "b", 0},     // no more than 255 bytes are compared
      {x254 + "a", x255, -1},
  };
  const auto sign = [](int v) { return (v > 0) - (v < 0); };
  for (const auto& c : cases) {
    EXPECT_EQ(sign(CompareListItems(c.a, c.b, SortDirection::Ascending)), c.sign) << c.a;
    EXPECT_EQ(sign(CompareListItems(c.a, c.b, SortDirection::Descending)), -c.sign) << c.a;
  }
}

}  // namespace
}  // namespace kestrel

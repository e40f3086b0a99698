#include "library/compare_list_items.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrel {
namespace {

constexpr auto kUp = SortDirection::Ascending;
constexpr auto kDown = SortDirection::Descending;

TEST(CompareListItems, ComparesUnsignedBytesCaseSensitively) {
  EXPECT_LT(CompareListItems("Zebra", "apple", kUp), 0);  // upper case sorts first
  EXPECT_LT(CompareListItems("abc", "abcd", kUp), 0);     // a prefix sorts first
  EXPECT_GT(CompareListItems("\xE9t\xE9", "zoo", kUp), 0);  // bytes above 127 are large
  EXPECT_EQ(CompareListItems("same", "same", kUp), 0);
  EXPECT_LT(CompareListItems("01:08.0", "10:00.0", kUp), 0);
}

TEST(CompareListItems, DescendingReversesTheSign) {
  EXPECT_GT(CompareListItems("a", "b", kDown), 0);
  EXPECT_LT(CompareListItems("b", "a", kDown), 0);
  EXPECT_EQ(CompareListItems("a", "a", kDown), 0);
}

TEST(CompareListItems, LooksAtNoMoreThan255Bytes) {
  const std::string base(255, 'x');
  EXPECT_EQ(CompareListItems(base + "a", base + "b", kUp), 0);
  EXPECT_LT(CompareListItems(std::string(254, 'x') + "a", base, kUp), 0);
}

}  // namespace
}  // namespace kestrel

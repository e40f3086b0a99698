#include "library/entry_list.h"

#include <gtest/gtest.h>

#include "library/column_sort_state.h"
#include "library/spu_file_list.h"
#include "support/log_files.h"

namespace kestrel {
namespace {

using Names = std::vector<std::string>;

EntryList Rows(std::initializer_list<const char*> names) {
  EntryList list;
  int i = 0;
  for (const char* name : names) list.Append({name, "00:0" + std::to_string(i++) + ".0", std::string("/f/") + name, false, 0});
  return list;
}

TEST(EntryListTest, RowsPutAtTheTopTogetherEndInReverseAndTheSelectionFollowsItsRow) {
  EntryList list = Rows({"old"});
  list.Select(0);
  list.InsertEachAtTop({{"first", "", "", false, 0}, {"second", "", "", false, 0}});
  EXPECT_EQ(test::EntryNames(list), (Names{"second", "first", "old"}));
  EXPECT_EQ(list.SelectedEntry()->name, "old");
  EXPECT_LT(list.At(1).serial, list.At(0).serial);

  list = Rows({"b", "c", "a"});
  list.Select(1);  // "c"
  list.Insert(0, {"z", "", "", false, 0});
  EXPECT_EQ(list.SelectedEntry()->name, "c");
  list.Sort(0, SortDirection::Ascending);
  EXPECT_EQ(list.SelectedEntry()->name, "c");
  list.Remove(0);
  EXPECT_EQ(list.SelectedEntry()->name, "c");
  list.Remove(*list.Selected());
  EXPECT_FALSE(list.Selected());
  list.Select(99);
  EXPECT_FALSE(list.Selected());
}

TEST(EntryListTest, HeaderClicksShareOneDirectionTable) {
  ColumnSortState state;
  EntryList files = Rows({"b", "a", "C"});
  SortByNameAscending(files, state);
  EXPECT_EQ(test::EntryNames(files), (Names{"C", "a", "b"}));  // uppercase first
  SortByColumnClick(files, 0, state);  // first click after a scan: descending
  EXPECT_EQ(test::EntryNames(files), (Names{"b", "a", "C"}));
  SortByColumnClick(files, 0, state);
  EXPECT_EQ(test::EntryNames(files), (Names{"C", "a", "b"}));

  EntryList other = Rows({"x", "y"});
  SortByColumnClick(other, 1, state);  // first click on "Time": ascending
  EXPECT_EQ(state.Direction(1), 1);
  SortByColumnClick(files, 1, state);  // the same column of another list continues from there
  EXPECT_EQ(state.Direction(1), 2);
  SortByColumnClick(files, 7, state);  // no such column: nothing
}

TEST(SpuFileListTest, NextBackAndCheckAllStayInsideTheRows) {
  SpuFileList list;
  list.entries = Rows({"a", "b"});
  list.count = 2;
  EXPECT_FALSE(SelectNextEntry(list));  // no selection
  list.entries.Select(1);
  EXPECT_FALSE(SelectNextEntry(list));
  EXPECT_EQ(list.entries.Selected(), 1u);
  EXPECT_TRUE(SelectPreviousEntry(list));
  EXPECT_FALSE(SelectPreviousEntry(list));
  EXPECT_EQ(list.entries.Selected(), 0u);

  list.entries.Append({"c", "", "/f/c", false, 0});  // past the count
  CheckAllItems(list);
  EXPECT_TRUE(list.entries.At(0).checked && list.entries.At(1).checked);
  EXPECT_FALSE(list.entries.At(2).checked);
  UnCheckAllItems(list);
  EXPECT_FALSE(list.entries.At(0).checked || list.entries.At(1).checked);
  list.count = 50;  // a count beyond the rows never reaches past them
  CheckAllItems(list);
  EXPECT_TRUE(list.entries.At(2).checked);
}

}  // namespace
}  // namespace kestrel

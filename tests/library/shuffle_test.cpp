#include "library/shuffle_file_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "support/log_files.h"

namespace kestrel {
namespace {

SpuFileList ListOf(int rows) {
  SpuFileList list;
  for (int i = 0; i < rows; ++i) list.entries.Append({"n" + std::to_string(i), "00:01.0", "/p" + std::to_string(i), false, 0});
  list.count = rows;
  return list;
}

TEST(ShuffleTest, EveryRowMovesOnceAndEndsCheckedEvenInListsOfOneOrNone) {
  SpuFileList list = ListOf(40);
  list.entries.At(3).checked = true;  // a check left by the user does not stall the shuffle
  ShuffleRandom random(12345);
  ShuffleFileList(list, random);
  ASSERT_EQ(list.entries.Size(), 40u);
  EXPECT_EQ(list.count, 40);
  std::set<std::string> names;
  std::set<std::uint32_t> serials;
  for (const auto& e : list.entries.Entries()) {
    EXPECT_TRUE(e.checked);
    names.insert(e.name);
    serials.insert(e.serial);
  }
  EXPECT_EQ(names.size(), 40u);
  EXPECT_EQ(serials.size(), 40u);
  EXPECT_EQ(list.entries.Selected(), 0u);

  SpuFileList one = ListOf(1);
  ShuffleFileList(one);
  EXPECT_EQ(one.entries.At(0).name, "n0");
  EXPECT_TRUE(one.entries.At(0).checked);
  EXPECT_EQ(one.entries.Selected(), 0u);
  SpuFileList none = ListOf(0);
  ShuffleFileList(none);
  EXPECT_FALSE(none.entries.Selected());
}

TEST(ShuffleTest, TheOrderFollowsTheClassicGeneratorsDraws) {
  // Seed 1 draws 41, 18467, 6334 ...: 41 % 3 = 2 moves "n2"; 18467 % 3 = 2 lands on a
  // moved row and is drawn again; 6334 % 3 = 1 moves "n1"; then "n0".
  ShuffleRandom draws(1);
  EXPECT_EQ(draws.Draw(), 41);
  EXPECT_EQ(draws.Draw(), 18467);
  EXPECT_EQ(draws.Draw(), 6334);
  SpuFileList list = ListOf(3);
  ShuffleRandom random(1);
  ShuffleFileList(list, random);
  EXPECT_EQ(test::EntryNames(list.entries), (std::vector<std::string>{"n2", "n1", "n0"}));
}

}  // namespace
}  // namespace kestrel

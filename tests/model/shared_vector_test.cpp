#include "model/shared_vector.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace tamsel {
namespace {

using Strings = SharedVector<std::string>;

TEST(SharedVector, CopiesShareUntilOneWritesAndReadsNeverCopy) {
  Strings a(std::vector<std::string>{"x", "y", "z"});
  Strings b = a;
  EXPECT_TRUE(b.SharesWith(a));
  const Strings& constB = b;
  EXPECT_EQ(constB[1], "y");
  for (const std::string& s : constB) EXPECT_FALSE(s.empty());
  EXPECT_TRUE(b.SharesWith(a)) << "a read through a const reference copied";

  b[1] = "changed";
  EXPECT_FALSE(b.SharesWith(a));
  EXPECT_EQ(a[1], "y") << "a write reached the copy it was shared with";
  EXPECT_EQ(b[1], "changed");
  EXPECT_FALSE(a == b);
  b[1] = "y";
  EXPECT_TRUE(a == b) << "equal values in separate storage compare equal";
}

TEST(SharedVector, IteratorsTakenFromTheSharedStorageEraseAndInsertAtTheSameOffsets) {
  Strings a(std::vector<std::string>{"0", "1", "2", "3", "4"});
  Strings b = a;
  const Strings& read = b;
  // Iterators into the storage the two still share; the erase makes b's own copy first.
  b.erase(read.begin() + 1, read.begin() + 3);
  EXPECT_EQ(b.Read(), (std::vector<std::string>{"0", "3", "4"}));
  EXPECT_EQ(a.Read(), (std::vector<std::string>{"0", "1", "2", "3", "4"}));
  Strings c = a;
  c.insert(std::as_const(c).begin() + 2, "new");
  EXPECT_EQ(c.Read(), (std::vector<std::string>{"0", "1", "new", "2", "3", "4"}));
  EXPECT_EQ(a.size(), 5u);
  c.erase(std::as_const(c).end() - 1);
  EXPECT_EQ(c.back(), "3");
}

TEST(SharedVector, AnEmptyVectorReadsAsEmptyAndGrowsOnWrite) {
  Strings a;
  EXPECT_TRUE(a.empty());
  EXPECT_EQ(a.begin(), a.end());
  Strings b = a;
  b.push_back("first");
  EXPECT_TRUE(a.empty());
  EXPECT_EQ(b.size(), 1u);
  b.clear();
  EXPECT_TRUE(b == a);
}

}  // namespace
}  // namespace tamsel

// A buffer keeps its array only while the count stays the same, and copies are exact.
#include "db/MemoryBuffer.h"

#include <gtest/gtest.h>

namespace {

TEST(MemoryBufferTest, SameCountKeepsArrayZeroFillClearsItAndZeroEmptiesIt) {
  kttl::MemoryBuffer<unsigned char> buffer;
  unsigned char* first = buffer.Resize(5, false);
  ASSERT_NE(first, nullptr);
  for (int i = 0; i < 5; ++i) first[i] = static_cast<unsigned char>(i + 1);
  EXPECT_EQ(buffer.Resize(5, false), first);
  EXPECT_EQ(first[4], 5);
  EXPECT_EQ(buffer.Resize(5, true), first);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(first[i], 0);
  EXPECT_NE(buffer.Resize(6, true), nullptr);
  EXPECT_EQ(buffer.Count(), 6u);
  EXPECT_EQ(buffer.Resize(0, true), nullptr);
  EXPECT_EQ(buffer.Data(), nullptr);
  EXPECT_EQ(buffer.Count(), 0u);
}

TEST(MemoryBufferTest, AssignCopiesExactlyIncludingEmptyAndSelf) {
  kttl::MemoryBuffer<char> source;
  char* data = source.Resize(3, false);
  data[0] = 'a';
  data[1] = '\0';
  data[2] = 'c';
  kttl::MemoryBuffer<char> copy;
  copy.Assign(source);
  ASSERT_EQ(copy.Count(), 3u);
  EXPECT_NE(copy.Data(), source.Data());
  EXPECT_EQ(copy.Data()[2], 'c');

  copy.Assign(copy);
  EXPECT_EQ(copy.Data()[0], 'a');

  kttl::MemoryBuffer<char> empty;
  copy.Assign(empty);
  EXPECT_EQ(copy.Count(), 0u);
  EXPECT_EQ(copy.Data(), nullptr);

  kttl::MemoryBuffer<char> constructed(source);
  EXPECT_EQ(constructed.Data()[2], 'c');
}

}  // namespace

// Values keep exactly the field their tag names, never convert, and copy by value.
#include "db/Variant.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

using KTDSOLD::DateTime;
using KTDSOLD::Variant;

TEST(VariantTest, IntegerSettersKeepOrExtendTheBits) {
  Variant value;
  value.Set(true);
  EXPECT_EQ(value.GetType(), Variant::TypeInteger);
  EXPECT_EQ(value.GetInt64(), 1);
  value.Set(std::numeric_limits<std::uint32_t>::max());
  EXPECT_EQ(value.GetInt64(), 4294967295LL);
  value.Set(std::int32_t{-1});
  EXPECT_EQ(value.GetInt64(), -1);
  value.Set(std::numeric_limits<std::uint64_t>::max());
  EXPECT_EQ(value.GetInt64(), -1);
  value.Set(std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(value.GetInt64(), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(value.GetInt32(), 0);
  value.Set(std::int64_t{4294967301LL});
  EXPECT_EQ(value.GetInt32(), 5);
  value.Set(std::int64_t{0x80000000LL});
  EXPECT_EQ(value.GetInt32(), std::numeric_limits<std::int32_t>::min());
}

TEST(VariantTest, SetClearsEveryOtherFieldAndNothingConverts) {
  Variant value;
  value.Set(std::int32_t{42});
  value.Set("12");
  EXPECT_EQ(value.GetType(), Variant::TypeText);
  EXPECT_EQ(value.GetInt64(), 0);
  EXPECT_EQ(value.GetInt32(), 0);
  value.Set(2.5);
  EXPECT_EQ(value.GetText(), "");
  EXPECT_EQ(value.GetReal(), 2.5);
  DateTime when;
  when.year = 2009;
  value.Set(when);
  EXPECT_EQ(value.GetReal(), 0.0);
  value.Set(std::int32_t{7});
  EXPECT_EQ(value.GetDateTime().year, 1970);
  value.Clear();
  EXPECT_EQ(value.GetType(), Variant::TypeNull);
  EXPECT_EQ(value.GetInt64(), 0);
}

TEST(VariantTest, NullTextPointerGivesNullInsteadOfCrashing) {
  Variant constructed(static_cast<const char*>(nullptr));
  EXPECT_EQ(constructed.GetType(), Variant::TypeNull);
  Variant value("was text");
  value.Set(static_cast<const char*>(nullptr));
  EXPECT_EQ(value.GetType(), Variant::TypeNull);
  EXPECT_EQ(value.GetText(), "");
}

TEST(VariantTest, CopiesAreIndependentAndSelfAssignmentKeepsTheValue) {
  kttl::MemoryBuffer<unsigned char> bytes;
  bytes.Resize(3, true)[1] = 9;
  Variant blob;
  blob.Set(bytes);
  bytes.Resize(3, true);
  ASSERT_EQ(blob.GetBlob().Count(), 3u);
  EXPECT_EQ(blob.GetBlob().Data()[1], 9);

  Variant copy(blob);
  EXPECT_EQ(copy.GetType(), Variant::TypeBlob);
  EXPECT_NE(copy.GetBlob().Data(), blob.GetBlob().Data());
  copy.Assign(copy);
  EXPECT_EQ(copy.GetBlob().Data()[1], 9);

  Variant text("abc");
  Variant target(text);
  target = Variant();
  EXPECT_EQ(target.GetType(), Variant::TypeNull);
  EXPECT_EQ(target.GetText(), "");
  EXPECT_EQ(text.GetText(), "abc");
}

TEST(DateTimeTest, FormatsWithMinimumWidths) {
  DateTime when;
  EXPECT_EQ(when.ToString(), "1970-01-01 00:00:00");
  when.year = 2009;
  when.month = 3;
  when.day = 5;
  when.hour = 7;
  when.minute = 8;
  when.second = 9;
  EXPECT_EQ(when.ToString(), "2009-03-05 07:08:09");
  DateTime wide;
  wide.year = 12345;
  wide.second = -1;
  EXPECT_EQ(wide.ToString(), "12345-01-01 00:00:-1");
}

}  // namespace

// The property table as a host reads it: strcmp order, exact keys, string entries the
// table owns, and format entries that can be read as four-character codes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/PropertyTable.h"

namespace {

const unsigned short kDecoderName[] = {'D', 'e', 'c', 'o', 'd', 'e', 'r', 0};

class PropertyTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Filled out of order: the table, not the caller, decides the order.
    table.setString("Type", "Overlay|Decoder|TEXT");
    table.setString("OutputFormat", "");
    table.setWideString("Name", kDecoderName);
    table.setString("InputFormat", "");
  }

  Orb::PropertyValue askForCode(const char* key, bool* answered) {
    Orb::PropertyValue value;
    value.tag = Orb::ValueUInt32;
    *answered = table.getProperty(key, &value);
    return value;
  }

  Orb::PropertyTable table;
};

TEST_F(PropertyTableTest, NamesComeOutInStrcmpOrder) {
  std::vector<const char*> names{"already there"};
  ASSERT_TRUE(table.getPropertyNames(&names));
  ASSERT_EQ(names.size(), 5u);
  EXPECT_STREQ(names[0], "already there");  // appended, not replaced
  EXPECT_STREQ(names[1], "InputFormat");
  EXPECT_STREQ(names[2], "Name");
  EXPECT_STREQ(names[3], "OutputFormat");
  EXPECT_STREQ(names[4], "Type");
  EXPECT_FALSE(table.getPropertyNames(nullptr));
}

TEST_F(PropertyTableTest, FormatsReadAsUpperCasedCodesOnlyWhenAskedForOne) {
  bool answered = true;
  Orb::PropertyValue missing = askForCode("InputFormat", &answered);
  EXPECT_FALSE(answered) << "no format set yet";
  EXPECT_EQ(missing.tag, Orb::ValueUInt32);
  EXPECT_EQ(missing.payload.raw, 0u);

  table.setString("OutputFormat", "BGRA");
  table.setString("InputFormat", "utf8 and more");
  const Orb::PropertyValue output = askForCode("OutputFormat", &answered);
  EXPECT_TRUE(answered);
  EXPECT_EQ(output.tag, Orb::ValueUInt32);
  EXPECT_EQ(output.payload.uint32, 0x41524742u);
  EXPECT_EQ(askForCode("InputFormat", &answered).payload.uint32, 0x38465455u);  // "UTF8": four, upper-cased
  EXPECT_TRUE(answered);

  Orb::PropertyValue text;
  text.tag = Orb::ValueBool;  // any other tag reads the stored string, the table's own object
  ASSERT_TRUE(table.getProperty("OutputFormat", &text));
  EXPECT_EQ(text.tag, Orb::ValueString);
  ASSERT_NE(text.payload.string, nullptr);
  EXPECT_STREQ(text.payload.string->c_str(), "BGRA");
  Orb::PropertyValue again;
  ASSERT_TRUE(table.getProperty("OutputFormat", &again));
  EXPECT_EQ(again.payload.string, text.payload.string);

  table.setString("OutputFormat", "ab");  // stops at its terminator
  EXPECT_EQ(askForCode("OutputFormat", &answered).payload.uint32, 0x4241u);
  EXPECT_TRUE(answered);
}

TEST_F(PropertyTableTest, OtherKeysIgnoreTheCallersTag) {
  bool answered = false;
  const Orb::PropertyValue type = askForCode("Type", &answered);
  EXPECT_TRUE(answered);
  EXPECT_EQ(type.tag, Orb::ValueString);
  EXPECT_STREQ(type.payload.string->c_str(), "Overlay|Decoder|TEXT");
  Orb::PropertyValue name;
  ASSERT_TRUE(table.getProperty("Name", &name));
  EXPECT_EQ(name.tag, Orb::ValueWideString);
  EXPECT_EQ(name.payload.wideString->length(), 7u);
}

TEST_F(PropertyTableTest, KeysMatchExactly) {
  Orb::PropertyValue value = Orb::PropertyValue::makeUInt32(99);
  EXPECT_FALSE(table.getProperty("name", &value));
  EXPECT_FALSE(table.getProperty("Name ", &value));
  EXPECT_FALSE(table.getProperty(nullptr, &value));
  EXPECT_EQ(value.tag, Orb::ValueUInt32);  // untouched by a miss
  EXPECT_EQ(value.payload.uint32, 99u);

  const std::string builtKey = std::string("Ty") + "pe";  // matched by text, not pointer
  EXPECT_TRUE(table.getProperty(builtKey.c_str(), &value));
}

}  // namespace

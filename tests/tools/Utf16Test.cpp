#include "tools/Utf16.h"

#include <gtest/gtest.h>

namespace QuillRender {
namespace {

TEST(Utf16, EncodesEveryPlaneAndReplacesWhatIsNotUtf8) {
  EXPECT_EQ(utf8ToUtf16("A\xC3\xA8\xE4\xBD\xA0\xF0\x9F\x98\x80"), u"A\u00E8\u4F60\U0001F600");
  EXPECT_EQ(utf8ToUtf16(""), u"");
  EXPECT_EQ(utf8ToUtf16("a\xFF" "b\xE4\xBD"), u"a\uFFFDb\uFFFD\uFFFD");
}

}  // namespace
}  // namespace QuillRender

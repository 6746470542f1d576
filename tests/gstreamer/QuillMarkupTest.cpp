// Subtitle text as GStreamer carries it, turned into the component's markup.
#include <gtest/gtest.h>

#include "gstreamer/QuillMarkup.h"

namespace {

using QuillGst::quillMarkupFromPango;
using QuillGst::quillMarkupFromPlainText;

TEST(QuillMarkup, PangoStylesBecomeTheComponentsTagsAndSpansCloseWhatTheyOpened) {
  EXPECT_EQ(quillMarkupFromPango("<b>bold</b> <i>it</i> <u>u</u> <s>s</s>"),
            "<b>bold</b> <i>it</i> <u>u</u> <s>s</s>");
  EXPECT_EQ(quillMarkupFromPango("<span foreground=\"#ff8000\" weight='bold'>x</span>y"),
            "<font color=\"#ff8000\"><b>x</b></font>y");
  EXPECT_EQ(quillMarkupFromPango("<span fgcolor=\"#f80\" style=\"italic\" underline=\"single\" "
                                 "strikethrough=\"true\">x</span>"),
            "<font color=\"#ff8800\"><i><u><s>x</s></u></i></font>");
  // Attributes the component cannot show open nothing, and so close nothing either.
  EXPECT_EQ(quillMarkupFromPango("<u>a<span size=\"large\" foreground=\"red\">b</span>c</u>"),
            "<u>abc</u>");
  EXPECT_EQ(quillMarkupFromPango("<big>big</big><tt>tt</tt><b/>x"), "bigttx");
}

TEST(QuillMarkup, EntitiesAreDecodedAndALessThanSignCannotOpenATag) {
  EXPECT_EQ(quillMarkupFromPango("a &amp; b &gt; c &quot;d&apos; &#233;&#x263A;"),
            "a & b > c \"d' \u00e9\u263a");
  EXPECT_EQ(quillMarkupFromPango("2 &lt;3 and &lt;b&gt;"), "2 \u20393 and \u2039b>");
  EXPECT_EQ(quillMarkupFromPlainText("x < y <i>"), "x \u2039 y \u2039i>");
}

TEST(QuillMarkup, MalformedMarkupIsKeptAsText) {
  EXPECT_EQ(quillMarkupFromPango("cut <b"), "cut \u2039b");
  EXPECT_EQ(quillMarkupFromPango("&bogus; &#xZZ; &#0; & alone"), "&bogus; &#xZZ; &#0; & alone");
  EXPECT_EQ(quillMarkupFromPango("</i>stray <span foreground=\"#00ff00\">open"),
            "stray <font color=\"#00ff00\">open");
  EXPECT_EQ(quillMarkupFromPango("<span foreground=unquoted>x</span>"), "\u2039span foreground=unquoted>x");
  EXPECT_EQ(quillMarkupFromPango(""), "");
}

}  // namespace

// End-to-end through quill-render and the installed fonts: what the full engine's markup and
// font fallback draw, compared with renders that ask for the same faces directly.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RenderCommand.h"

namespace QuillRender {
namespace {

class MarkupRender : public ::testing::Test {
 protected:
  // Renders `text` as one subtitle at 1920x1080 with `more` options into its own folder;
  // keeps the manifest's event and answers the image.
  RgbaImage render(const std::string& text, std::vector<std::string> more = {}) {
    const std::string out = folder.file("out" + std::to_string(++renders));
    more.insert(more.end(), {"--out", out, "--text", text});
    const RunResult run = runQuillRender(more, folder);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    event = readManifest(out)["events"][0];
    return loadPng(out + "/" + event["image"].string);
  }

  TempFolder folder;
  Json event;
  int renders = 0;
};

void expectSameImage(const RgbaImage& actual, const RgbaImage& expected, const char* what) {
  EXPECT_GT(expected.width, 0) << what;
  EXPECT_EQ(actual.width, expected.width) << what;
  EXPECT_EQ(actual.height, expected.height) << what;
  EXPECT_TRUE(actual.pixels == expected.pixels) << what;
}

TEST_F(MarkupRender, JapaneseInTheDefaultFontIsDrawnWithWenQuanYi) {
  const RgbaImage fallenBack = render("日本語");
  expectSameImage(fallenBack, render("日本語", {"--font", "WenQuanYi Zen Hei:0::::"}),
                  "the default font's missing characters come from WenQuanYi Zen Hei");
  const RgbaImage boxes = render("日本語", {"--layout", "classic"});
  EXPECT_NE(boxes.pixels, render("日本語", {"--layout", "classic", "--font", "WenQuanYi Zen Hei:0::::"}).pixels)
      << "the classic engine keeps drawing the font's own boxes";
}

TEST_F(MarkupRender, NestedBoldAndItalicDrawTheBoldItalicFace) {
  expectSameImage(render("<b><i>Bold italic</i></b>"),
                  render("Bold italic", {"--font", "DejaVu Sans:0:Bold:Italic::"}), "<b><i>");
  expectSameImage(render("<i><b>Bold italic</b></i>"),
                  render("Bold italic", {"--font", "DejaVu Sans:0:Bold:Italic::"}), "<i><b>");
  expectSameImage(render("{\\b1\\i1}Bold italic"),
                  render("Bold italic", {"--font", "DejaVu Sans:0:Bold:Italic::"}), "{\\b1\\i1}");
}

TEST_F(MarkupRender, AnOverrideBlockMovesTheSubtitleToTheTop) {
  render("{\\an8}At the top\nand centred");
  EXPECT_LT(event["placement"]["top"].number, 0.06);
  const Json& lines = event["lines"];
  ASSERT_EQ(lines.array.size(), 2u);
  EXPECT_EQ(lines[0]["text"].string, "At the top");
  EXPECT_NEAR(lines[0]["ink"]["top"].number, 54, 12.0) << "5 % of 1080 down, less the ascent left free";
  render("{\\an8}At the top", {"--layout", "classic"});
  EXPECT_GT(event["placement"]["top"].number, 0.5) << "the classic engine shows the block as text";
}

TEST_F(MarkupRender, AWebVttCueIsPlacedByItsOwnAlignmentInTheFullLayout) {
  const std::string cue = folder.write(
      "cue.vtt", "WEBVTT\n\n00:00:01.000 --> 00:00:02.000 line:0 align:start\nTop left\n");
  for (const std::string layout : {"full", "classic"}) {
    const std::string out = folder.file("vtt-" + layout);
    const RunResult run = runQuillRender({"--layout", layout, "--out", out, cue}, folder);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const Json placed = readManifest(out)["events"][0];
    EXPECT_EQ(placed["alignment"].number, 7) << layout;
    EXPECT_EQ(placed["text"].string, "Top left") << layout;
    if (layout == "full") {
      EXPECT_LT(placed["placement"]["top"].number, 0.06);
      EXPECT_NEAR(placed["placement"]["left"].number, 0.05, 0.01);
    } else {
      EXPECT_GT(placed["placement"]["top"].number, 0.5) << "the classic layout keeps --align";
    }
  }
}

TEST_F(MarkupRender, AWebVttCuesTextIsDrawnAsWrittenWhateverItLooksLike) {
  const std::string cue = "1 &lt; 2 &amp;lt; <b>{\\an8}</b> C:\\new";
  render(cue, {"--input-format", "vtt"});
  ASSERT_EQ(event["lines"].array.size(), 1u) << "the cue's \\n breaks no line";
  EXPECT_EQ(event["lines"][0]["text"].string, "1 < 2 &lt; {\\an8} C:\\new");
  EXPECT_GT(event["placement"]["top"].number, 0.5) << "the cue's {\\an8} places nothing";
  expectSameImage(render(cue, {"--input-format", "vtt", "--layout", "classic"}),
                  render("1 \u2039 2 &lt; <b>{\\an8}</b> C:\\new", {"--layout", "classic"}),
                  "the classic layout shows a \"<\" as U+2039, the rest as written");
}

}  // namespace
}  // namespace QuillRender

// End-to-end: the lines quill-render lists for each event, as the component laid them
// out, checked against what subtitles must look like.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "RenderCommand.h"

namespace QuillRender {
namespace {

class LayoutRender : public ::testing::Test {
 protected:
  // Renders `srt` at 1920x1080 with `more` options; answers the manifest.
  Json render(const std::string& srt, std::vector<std::string> more = {}) {
    more.insert(more.end(), {"--out", folder.file("out"), folder.write("in.srt", srt)});
    const RunResult run = runQuillRender(more, folder);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return readManifest(folder.file("out"));
  }

  TempFolder folder;
};

const Json& lines(const Json& manifest, std::size_t event) {
  return manifest["events"][event]["lines"];
}

TEST_F(LayoutRender, AFiveLineSubtitleKeepsFiveLinesEachCentredOnTheFrame) {
  const Json manifest = render(
      "1\n00:00:01,000 --> 00:00:02,000\nOne line,\nanother line,\na third, longer line,\n"
      "a fourth\nand the fifth.\n");
  EXPECT_EQ(manifest["settings"]["layout"].string, "full");
  EXPECT_EQ(manifest["settings"]["align"].number, 2);
  const Json& shown = lines(manifest, 0);
  ASSERT_EQ(shown.array.size(), 5u);
  EXPECT_EQ(shown[2]["text"].string, "a third, longer line,");
  double previousBottom = 0;
  for (const Json& line : shown.array) {
    const Json& ink = line["ink"];
    EXPECT_NEAR((ink["left"].number + ink["right"].number) / 2, 960, 1.0) << line["text"].string;
    EXPECT_GE(ink["top"].number, previousBottom) << "lines do not overlap";
    EXPECT_LE(ink["bottom"].number, 1080 * 0.96);
    previousBottom = ink["bottom"].number;
  }
}

TEST_F(LayoutRender, SubtitlesWithAndWithoutDescendersShareTheBaseline) {
  const Json manifest = render("1\n00:00:01,000 --> 00:00:02,000\nHa\n\n"
                               "2\n00:00:03,000 --> 00:00:04,000\nHy\n");
  const Json& ha = lines(manifest, 0)[0]["ink"];
  const Json& hy = lines(manifest, 1)[0]["ink"];
  EXPECT_EQ(ha["top"].number, hy["top"].number) << "the H stands on the same row";
  EXPECT_GT(hy["bottom"].number, ha["bottom"].number) << "the y hangs below it";
}

TEST_F(LayoutRender, TheClassicLayoutListsTheLinesOfItsWalkWhereverItIsAligned) {
  const Json manifest = render("1\n00:00:01,000 --> 00:00:02,000\nfirst\nsecond\n",
                               {"--layout", "classic", "--align", "8"});
  EXPECT_EQ(manifest["settings"]["layout"].string, "classic");
  EXPECT_EQ(manifest["settings"]["align"].number, 8);
  const Json& event = manifest["events"][0];
  ASSERT_EQ(event["lines"].array.size(), 2u);
  EXPECT_EQ(event["lines"][1]["text"].string, "second");
  EXPECT_NEAR(event["placement"]["top"].number, 0.05, 1e-9);
  EXPECT_NEAR(event["lines"][0]["ink"]["top"].number, 54, 1.0) << "5 % of 1080 down";
}

TEST_F(LayoutRender, EveryLineOfTheRealWorldTesterSitsInTheColumnItsEventAsksFor) {
  const std::string input = QUILL_TESTDATA_DIR "/srt/capability_tester.srt";
  const RunResult run = runQuillRender({"--out", folder.file("out"), input}, folder);
  ASSERT_TRUE(run.exitCode == 0 || run.exitCode == 3) << run.err;
  const Json manifest = readManifest(folder.file("out"));
  // Events that move themselves with {\anN} to the left or right column; the rest are
  // centred. A column's edge holds the glyphs' own extents; the outline reaches past it.
  const std::set<std::string> left = {"14", "15", "16", "31"};
  const std::set<std::string> right = {"17", "18", "19", "33"};
  std::size_t inked = 0;
  for (const Json& event : manifest["events"].array) {
    const std::string& number = event["number"].string;
    for (const Json& line : event["lines"].array) {
      const Json& ink = line["ink"];
      if (ink["right"].number <= ink["left"].number) continue;
      ++inked;
      if (left.count(number) != 0) {
        EXPECT_NEAR(ink["left"].number, 96 - 2.5, 1.5) << number << ": " << line["text"].string;
      } else if (right.count(number) != 0) {
        EXPECT_NEAR(ink["right"].number, 1824 + 2.5, 1.5) << number << ": " << line["text"].string;
      } else {
        EXPECT_NEAR((ink["left"].number + ink["right"].number) / 2, 960, 1.0)
            << number << ": " << line["text"].string;
      }
    }
  }
  EXPECT_GT(inked, 90u);
}

}  // namespace
}  // namespace QuillRender

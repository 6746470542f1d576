// End-to-end: quill-render --bdn-xml on real-world and hostile input, its BDN.xml read back
// by a reader of the tests' own.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "BdnReader.h"
#include "RenderCommand.h"

namespace QuillRender {
namespace {

class BdnExport : public ::testing::Test {
 protected:
  RunResult run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--out", folder.file("out")});
    return runQuillRender(arguments, folder);
  }

  BdnFile readBack() {
    BdnFile file;
    std::string error;
    EXPECT_TRUE(readBdn(folder.read("out/BDN.xml"), file, error)) << error;
    return file;
  }

  TempFolder folder;
};

TEST_F(BdnExport, RealWorldFileGivesGraphicsInTheFrameAtFrameExactTimecodes) {
  const RunResult result = run({"--bdn-xml", QUILL_TESTDATA_DIR "/srt/capability_tester.srt"});
  ASSERT_TRUE(result.exitCode == 0 || result.exitCode == 3) << result.err;
  const BdnFile file = readBack();
  EXPECT_EQ(bdnFaults(file, 1920, 1080, 24), std::vector<std::string>());
  EXPECT_EQ(file.format.at("VideoFormat"), "1080p");
  EXPECT_EQ(file.format.at("FrameRate"), "23.976");
  const Json manifest = readManifest(folder.file("out"));
  EXPECT_EQ(manifest["bdn"]["file"].string, "BDN.xml");
  EXPECT_EQ(manifest["bdn"]["events"].number, static_cast<double>(file.events.size()));
  // The tester has overlapping and zero-length events: each is noted, not lost silently.
  EXPECT_FALSE(manifest["bdn"]["notes"].array.empty());
  ASSERT_GT(file.events.size(), 20u);
  // Events begin and end only where some subtitle starts or ends, on the frame its time
  // falls on: frame-exact, whatever was stacked or cut.
  std::set<long long> cuts;
  for (const Json& entry : manifest["events"].array) {
    for (const char* time : {"start", "end"}) cuts.insert(std::llround(entry[time].number / 1000.0 * 24000.0 / 1001.0));
  }
  for (const BdnEvent& event : file.events) {
    EXPECT_EQ(cuts.count(timecodeToFrames(event.inTc, 24)), 1u) << event.inTc;
    EXPECT_EQ(cuts.count(timecodeToFrames(event.outTc, 24)), 1u) << event.outTc;
    for (const BdnGraphicRead& graphic : event.graphics) {
      const RgbaImage image = loadPng(folder.file("out/" + graphic.image));
      EXPECT_EQ(image.width, graphic.width) << graphic.image;
      EXPECT_EQ(image.height, graphic.height) << graphic.image;
      const Json& entry = manifest["events"][static_cast<std::size_t>(std::stoi(graphic.image)) - 1];
      EXPECT_EQ(graphic.x, entry["onFrame"]["left"].number) << graphic.image;
    }
  }

  // The next run, without --bdn-xml, takes the file away with the images it lists.
  ASSERT_TRUE(folder.exists("out/BDN.xml"));
  EXPECT_EQ(run({"--text", "next"}).exitCode, 0);
  EXPECT_FALSE(folder.exists("out/BDN.xml"));
}

TEST_F(BdnExport, OtherFrameSizesAndRates) {
  const std::string input = folder.write(
      "short.srt", "1\n00:00:01,000 --> 00:00:02,000\n<font size=\"+20\">Large letters</font>\n");
  const RunResult result = run({"--bdn-xml", "--size", "720x480", "--fps", "29.97", input});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const BdnFile file = readBack();
  EXPECT_EQ(bdnFaults(file, 720, 480, 30), std::vector<std::string>());
  EXPECT_EQ(file.format.at("VideoFormat"), "480p");
  EXPECT_EQ(file.format.at("FrameRate"), "29.97");
  ASSERT_EQ(file.events.size(), 1u);
  ASSERT_EQ(file.events[0].graphics.size(), 1u);
  EXPECT_EQ(file.events[0].inTc, "00:00:01:00");
  EXPECT_EQ(file.events[0].outTc, "00:00:02:00");
}

TEST_F(BdnExport, SettingsItCannotHonourAreUsageErrors) {
  const struct {
    std::vector<std::string> arguments;
    const char* message;
  } cases[] = {
      {{"--bdn-xml", "--size", "640x360"}, "needs a Blu-ray frame size"},
      {{"--bdn-xml", "--fps", "30"}, "bad value '30' for --fps"},
      {{"--fps", "25"}, "--fps needs --bdn-xml"},
      {{"--bdn-xml", "--discard"}, "not --discard"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> arguments = c.arguments;
    arguments.insert(arguments.end(), {"--text", "x"});
    const RunResult result = run(arguments);
    EXPECT_EQ(result.exitCode, 2) << c.message;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
  }
}

}  // namespace
}  // namespace QuillRender

#include "tools/BdnXml.h"

#include <gtest/gtest.h>

#include "BdnReader.h"

namespace QuillRender {
namespace {

BdnGraphic graphic(std::size_t index, std::int64_t startMs, std::int64_t endMs) {
  BdnGraphic made;
  made.index = index;
  made.line = index * 4 - 3;
  made.startMs = startMs;
  made.endMs = endMs;
  made.image = (index < 10 ? "000" : "00") + std::to_string(index) + ".png";
  made.x = 600;
  made.y = 950;
  made.width = 720;
  made.height = 76;
  return made;
}

TEST(BdnXml, TimecodesCountTheRatesFramesWithoutDropFrame) {
  const BdnFrameRate film = defaultBdnFrameRate();
  EXPECT_STREQ(film.name, "23.976");
  EXPECT_EQ(bdnTimecode(bdnFrameAt(1000, film), film), "00:00:01:00");
  // An hour of film at 23.976 frames a second is 86 314 frames: short of an hour of
  // timecode, as non-drop-frame timecode runs.
  EXPECT_EQ(bdnTimecode(bdnFrameAt(3600000, film), film), "00:59:56:10");
  const BdnFrameRate pal = *parseBdnFrameRate("25");
  EXPECT_EQ(bdnTimecode(bdnFrameAt(61020, pal), pal), "00:01:01:01");  // 20 ms is half a frame: up
  const BdnFrameRate ntsc = *parseBdnFrameRate("29.97");
  EXPECT_EQ(bdnTimecode(bdnFrameAt(1001, ntsc), ntsc), "00:00:01:00");
  for (const char* bad : {"30", "23.98", "", "24p"}) EXPECT_FALSE(parseBdnFrameRate(bad)) << bad;
  EXPECT_STREQ(bdnVideoFormat(1280, 720), "720p");
  EXPECT_EQ(bdnVideoFormat(640, 360), nullptr);
}

TEST(BdnXml, OverlappingSubtitlesAreStackedTwoAtATimeAndTheRestNoted) {
  const BdnFrameRate rate = *parseBdnFrameRate("25");
  const std::vector<BdnGraphic> graphics = {
      graphic(1, 1000, 4000),
      graphic(2, 3000, 5000),   // comes while 1 is shown: stands on top of it
      graphic(3, 6000, 6010),   // shorter than a frame
      graphic(4, 7000, 9000),
      graphic(5, 7000, 8000),   // comes with 4
      graphic(6, 7600, 8500),   // a third at once: waits until 5 ends
  };
  const BdnDocument document = makeBdnXml(graphics, 1920, 1080, rate, "A \"film\" & <more>");
  BdnFile file;
  std::string error;
  ASSERT_TRUE(readBdn(document.xml, file, error)) << error;
  EXPECT_EQ(bdnFaults(file, 1920, 1080, 25), std::vector<std::string>());
  EXPECT_EQ(file.root["Version"], "0.93");
  EXPECT_EQ(file.format["VideoFormat"], "1080p");
  EXPECT_EQ(file.format["FrameRate"], "25");
  EXPECT_EQ(file.format["DropFrame"], "False");
  const struct {
    const char* in;
    const char* out;
    std::vector<std::pair<std::string, int>> shown;  // image and Y
  } expected[] = {
      {"00:00:01:00", "00:00:03:00", {{"0001.png", 950}}},
      {"00:00:03:00", "00:00:04:00", {{"0001.png", 950}, {"0002.png", 874}}},
      {"00:00:04:00", "00:00:05:00", {{"0002.png", 950}}},
      {"00:00:07:00", "00:00:08:00", {{"0004.png", 950}, {"0005.png", 874}}},
      {"00:00:08:00", "00:00:08:13", {{"0004.png", 950}, {"0006.png", 874}}},
      {"00:00:08:13", "00:00:09:00", {{"0004.png", 950}}},
  };
  ASSERT_EQ(file.events.size(), std::size(expected));
  EXPECT_EQ(document.events, std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const BdnEvent& event = file.events[i];
    EXPECT_EQ(event.inTc, expected[i].in) << i;
    EXPECT_EQ(event.outTc, expected[i].out) << i;
    ASSERT_EQ(event.graphics.size(), expected[i].shown.size()) << i;
    for (std::size_t g = 0; g < event.graphics.size(); ++g) {
      EXPECT_EQ(event.graphics[g].image, expected[i].shown[g].first) << i;
      EXPECT_EQ(event.graphics[g].y, expected[i].shown[g].second) << i;
    }
  }
  ASSERT_EQ(document.notes.size(), 2u);
  EXPECT_EQ(document.notes[0].line, 9u);
  EXPECT_NE(document.notes[0].message.find("event 3 is left out"), std::string::npos);
  EXPECT_NE(document.notes[1].message.find("event 6 is not shown in BDN.xml from 00:00:07:15"),
            std::string::npos) << document.notes[1].message;

  const BdnDocument empty = makeBdnXml({}, 720, 576, rate, "");
  BdnFile none;
  ASSERT_TRUE(readBdn(empty.xml, none, error)) << error;
  EXPECT_EQ(none.eventsSummary["NumberofEvents"], "0");
}

}  // namespace
}  // namespace QuillRender

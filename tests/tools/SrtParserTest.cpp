#include "tools/SrtParser.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tools/SubtitleReader.h"

namespace QuillRender {
namespace {

const char* const kTwoBlocks =
    "1\n00:00:01,000 --> 00:00:02,500\n<b>Hello</b>\n  second line\n\n"
    "2\n00:01:02,003 --> 01:00:00,000\nWorld\n";

TEST(SrtParser, ReadsBlocksWithTextUntouched) {
  const SubtitleDocument document = parseSrt(kTwoBlocks);
  ASSERT_TRUE(document.problems.empty());
  ASSERT_EQ(document.events.size(), 2u);
  const SubtitleEvent& first = document.events[0];
  EXPECT_EQ(first.index, 1u);
  EXPECT_EQ(first.number, "1");
  EXPECT_EQ(first.startMs, 1000);
  EXPECT_EQ(first.endMs, 2500);
  EXPECT_EQ(first.text, "<b>Hello</b>\n  second line");
  EXPECT_EQ(first.line, 1u);
  EXPECT_EQ(document.events[1].startMs, 62003);
  EXPECT_EQ(document.events[1].endMs, 3600000);
  EXPECT_EQ(document.events[1].line, 6u);
}

TEST(SrtParser, LineEndsDoNotChangeTheEvents) {
  std::string crlf, cr, mixed;
  const char* const ends[] = {"\n", "\r\n"};  // as a file edited on two systems has them
  for (const char c : std::string(kTwoBlocks)) {
    crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    cr += c == '\n' ? '\r' : c;
    mixed += c == '\n' ? std::string(ends[mixed.size() % 2]) : std::string(1, c);
  }
  const SubtitleDocument lf = parseSrt(kTwoBlocks);
  for (const std::string& text : {crlf, cr, mixed}) {
    const SubtitleDocument other = parseSrt(text);
    ASSERT_EQ(other.events.size(), lf.events.size());
    for (std::size_t i = 0; i < lf.events.size(); ++i) {
      EXPECT_EQ(other.events[i].text, lf.events[i].text);
      EXPECT_EQ(other.events[i].line, lf.events[i].line);
    }
  }
}

TEST(SrtParser, BadBlocksAreReportedWithTheirLineAndSkipped) {
  const SubtitleDocument document = parseSrt(
      "1\n00:00:01,000 --> 00:00:02,000\nkept\n\n"
      "2\n00:00:03,000 -> 00:00:04,000\nbad arrow\n\n"       // line 6
      "stray text after a blank line\n\n"                    // line 9
      "4\n00:00:09,000 --> 00:00:08,000\nbackwards\n\n"      // line 11
      "5\n00:61:00,000 --> 00:62:00,000\nno such minute\n\n" // line 15
      "6\n00:00:10,000 --> 00:00:11,000\nalso kept\n\n"
      "7\n");                                                // line 23
  ASSERT_EQ(document.events.size(), 2u);
  EXPECT_EQ(document.events[0].text, "kept");
  EXPECT_EQ(document.events[1].text, "also kept");
  EXPECT_EQ(document.events[1].index, 2u) << "indices have no gaps";
  EXPECT_EQ(document.events[1].number, "6");
  ASSERT_EQ(document.problems.size(), 5u);
  const std::size_t lines[] = {6, 9, 12, 16, 23};
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(document.problems[i].line, lines[i]) << i;
  EXPECT_NE(document.problems[0].message.find("-> 00:00:04,000"), std::string::npos);
  EXPECT_NE(document.problems[2].message.find("before it starts"), std::string::npos);
}

TEST(SrtParser, AcceptsTheTimingVariantsFoundInTheWild) {
  const SubtitleDocument document = parseSrt(
      "00:00:01.5 --> 00:00:02.25\nno number, dots\n\n"
      "7\n100:00:00,000 --> 100:00:01,000  X1:000 X2:000 Y1:050 Y2:100\ncoordinates\n\n"
      "8\n0:0:3,000-->0:0:4,000\ntight\n\n"
      "9\n00:00:05,000 --> 00:00:05,000\n");
  ASSERT_TRUE(document.problems.empty()) << document.problems[0].message;
  ASSERT_EQ(document.events.size(), 4u);
  EXPECT_EQ(document.events[0].number, "");
  EXPECT_EQ(document.events[0].startMs, 1500);
  EXPECT_EQ(document.events[0].endMs, 2250);
  EXPECT_EQ(document.events[1].startMs, 360000000);
  EXPECT_EQ(document.events[2].endMs, 4000);
  EXPECT_EQ(document.events[3].text, "") << "an empty subtitle is an event, not an error";
}

TEST(SrtParser, AQuotedLineIsCutBetweenCharacters) {
  std::string line = "a";
  for (int i = 0; i < 30; ++i) line += "\xC3\xA9";  // the 40th byte falls inside a character
  const SubtitleDocument document = parseSrt("1\n" + line + " --> x\ntext\n");
  ASSERT_EQ(document.problems.size(), 1u);
  EXPECT_TRUE(isValidUtf8(document.problems[0].message)) << "the manifest would carry broken UTF-8";
  EXPECT_NE(document.problems[0].message.find("\xC3\xA9...\""), std::string::npos);
}

TEST(SrtParser, BlankLinesMayHoldSpaces) {
  const SubtitleDocument document =
      parseSrt("\n\n1\n00:00:01,000 --> 00:00:02,000\na\n \t \n2\n00:00:03,000 --> 00:00:04,000\nb");
  ASSERT_EQ(document.events.size(), 2u);
  EXPECT_EQ(document.events[1].text, "b");
}

TEST(SrtParser, BlankPaddedTimesReadAsOtherToolsWriteThem) {
  struct Case {
    const char* text;
    std::int64_t ms;
  };
  const Case accepted[] = {
      {"12:34:56,789", ((12 * 60 + 34) * 60 + 56) * 1000 + 789},
      {" 0: 1: 2,345", 62345},      // blanks in place of leading zeros
      {"00:00:01, 50", 1050},       // ...of the milliseconds too
      {"00:00:01,  7", 1007},
      {"00:00:01, 500", 1500},      // a blank that only separates three digits
      {"00:00:01 ,5", 1500},        // one digit is a tenth, as before
      {"00:00:01.25", 1250},
      {"1 : 02 : 03 , 004", 3723004},
  };
  for (const Case& c : accepted) {
    std::int64_t ms = -1;
    EXPECT_TRUE(parseSrtTime(c.text, ms)) << c.text;
    EXPECT_EQ(ms, c.ms) << c.text;
  }
  std::int64_t ms = 0;
  for (const char* bad : {"", "12:34:56", "12:34:56,", "12:34:56,1234", "12:34,500", "aa:00:00,000",
                          "00:00:60,000", "00:00:00,000x", "00:00:01, 5", "00:00:01,  50",
                          "00:00:01,5 0", "1 0:00:00,000", "00: 1 0:00,000", "000:000:00,000"}) {
    EXPECT_FALSE(parseSrtTime(bad, ms)) << bad;
  }
}

TEST(SrtParser, PaddedTimingLinesAreReadAndUnreadableOnesReported) {
  const SubtitleDocument document = parseSrt(
      "1\n 0:00:01, 50 -->  0:00:02,  5\npadded\n\n"
      "2\n00:00:03,000 --> 00:00:04, 5 X1:10\nambiguous end\n\n"   // line 6
      "3\n00:00:05,000 --> 00:00:06,000X\nglued tail\n\n"         // line 10
      "4\n00:00:07,000\t-->\t00:00:08,000 X1:1 X2:2\ntabs\n");
  ASSERT_EQ(document.events.size(), 2u);
  EXPECT_EQ(document.events[0].startMs, 1050);
  EXPECT_EQ(document.events[0].endMs, 2005);
  EXPECT_EQ(document.events[1].endMs, 8000);
  ASSERT_EQ(document.problems.size(), 2u);
  EXPECT_EQ(document.problems[0].line, 6u);
  EXPECT_EQ(document.problems[1].line, 10u);
}

TEST(SrtReader, EveryEventOfTheRealWorldTesterIsRead) {
  std::ifstream file(QUILL_TESTDATA_DIR "/srt/capability_tester.srt", std::ios::binary);
  ASSERT_TRUE(file) << "test data missing";
  std::ostringstream bytes;
  bytes << file.rdbuf();
  const SubtitleReadResult result =
      readSubtitleFile(bytes.str(), SubtitleFormat::Srt, CueMarkup::Full);
  ASSERT_TRUE(result.decoding.ok) << result.decoding.error;
  EXPECT_TRUE(result.document.problems.empty());
  ASSERT_EQ(result.document.events.size(), 37u);
  for (std::size_t i = 0; i < 37; ++i) {
    EXPECT_EQ(result.document.events[i].number, std::to_string(i + 1));
  }
  EXPECT_EQ(result.document.events[4].text.substr(0, 35), "This should be an E with an accent:");
  EXPECT_EQ(result.document.events.back().endMs, 68500);
}

TEST(SrtReader, UndecodableBytesReadNothing) {
  const SubtitleReadResult result =
      readSubtitleFile("1\n00:00:01,000 --> 00:00:02,000\n\xC3\xA9t\xC3", SubtitleFormat::Srt,
                       CueMarkup::Full);
  EXPECT_FALSE(result.decoding.ok);
  EXPECT_TRUE(result.document.events.empty());
}

}  // namespace
}  // namespace QuillRender

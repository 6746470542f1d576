#include "tools/VttParser.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <tuple>

#include "tools/SubtitleReader.h"
#include "tools/VttCueSettings.h"
#include "tools/VttCueText.h"

namespace QuillRender {
namespace {

std::string exampleBytes(const std::string& name) {
  std::ifstream file(std::string(QUILL_VTT_EXAMPLES_DIR) + "/" + name, std::ios::binary);
  EXPECT_TRUE(file) << name;
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

SubtitleDocument readExample(const std::string& name, CueMarkup markup = CueMarkup::Full) {
  return parseVtt(exampleBytes(name), markup);
}

std::vector<std::size_t> linesOf(const std::vector<SubtitleProblem>& problems) {
  std::vector<std::size_t> lines;
  for (const SubtitleProblem& problem : problems) lines.push_back(problem.line);
  return lines;
}

TEST(VttParser, DialogueKeepsTheWordsAndDropsTheVoices) {
  const SubtitleDocument document = readExample("dialogue.vtt");
  ASSERT_EQ(document.events.size(), 6u);
  EXPECT_TRUE(document.problems.empty());
  EXPECT_TRUE(document.warnings.empty()) << "overlapping cues are in order of their start";
  EXPECT_EQ(document.events[0].startMs, 11000);
  EXPECT_EQ(document.events[0].endMs, 13000);
  EXPECT_EQ(document.events[0].text, "We are in New York City");
  EXPECT_EQ(document.events[0].line, 3u);
  EXPECT_EQ(document.events[5].text, "Thank you for walking down here.");
  EXPECT_EQ(document.events[5].alignment, 0);
}

TEST(VttParser, CommentsAreSkippedAndIdentifiersKept) {
  const SubtitleDocument document = readExample("comments.vtt");
  ASSERT_EQ(document.events.size(), 3u);
  EXPECT_TRUE(document.problems.empty());
  EXPECT_EQ(document.events[0].number, "1");
  EXPECT_EQ(document.events[0].startMs, 135000);
  EXPECT_EQ(document.events[0].text, "- Ta en kopp varmt te.\n- Det \xC3\xA4r inte varmt.");
  EXPECT_EQ(document.events[2].number, "3");
  EXPECT_EQ(document.events[2].text, "- Ta en kopp");
}

TEST(VttParser, LineEndsOfAnyKindGiveTheSameCuesAtTheSameLines) {
  const std::string lf = exampleBytes("comments.vtt");
  ASSERT_EQ(lf.find('\r'), std::string::npos);
  std::string cr, mixed;
  // As a file edited on several systems has them; a CR never comes right before an LF,
  // which would make the two one line end.
  const char* const ends[] = {"\n", "\r", "\r\n"};
  std::size_t end = 0;
  for (const char c : lf) {
    cr += c == '\n' ? '\r' : c;
    mixed += c == '\n' ? std::string(ends[end++ % 3]) : std::string(1, c);
  }
  const SubtitleDocument reference = parseVtt(lf, CueMarkup::Full);
  for (const std::string& text : {cr, mixed}) {
    const SubtitleDocument other = parseVtt(text, CueMarkup::Full);
    EXPECT_FALSE(other.unreadable.has_value());
    EXPECT_TRUE(other.problems.empty());
    ASSERT_EQ(other.events.size(), reference.events.size());
    for (std::size_t i = 0; i < reference.events.size(); ++i) {
      EXPECT_EQ(other.events[i].text, reference.events[i].text);
      EXPECT_EQ(other.events[i].line, reference.events[i].line);
      EXPECT_EQ(other.events[i].startMs, reference.events[i].startMs);
    }
  }
}

TEST(VttParser, CueSettingsBecomeAnAlignmentOnTheKeypad) {
  const SubtitleDocument document = readExample("settings.vtt");
  ASSERT_EQ(document.events.size(), 7u);
  EXPECT_TRUE(document.problems.empty());
  EXPECT_TRUE(document.warnings.empty());
  const int alignments[] = {1, 3, 2, 8, 6, 2, 0};
  for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(document.events[i].alignment, alignments[i]) << i;
  EXPECT_EQ(document.events[6].number, "cr\xC3\xA9" "dit de transcription");

  EXPECT_EQ(parseVttCueSettings("line:100%").alignment, 2);
  EXPECT_EQ(parseVttCueSettings("align:start line:34%,start").alignment, 4);
  EXPECT_EQ(parseVttCueSettings("line:2 align:right").alignment, 9);
  EXPECT_EQ(parseVttCueSettings("position:auto size:0%").alignment, 0);
}

TEST(VttParser, StyleAndRegionBlocksAreSkippedAndCueMarkupTranslated) {
  const SubtitleDocument document = readExample("styled.vtt");
  ASSERT_EQ(document.events.size(), 4u);
  EXPECT_TRUE(document.problems.empty());
  EXPECT_EQ(document.events[0].text, "Hello <b>world</b>.");
  EXPECT_EQ(document.events[0].alignment, 1);
  EXPECT_EQ(document.events[1].text,
            "<i>Sur les <u>quais</u></i> &amp; ailleurs &lt;3 &gt; \xC3\xA9t\xC3\xA9\xC2\xA0!");
  EXPECT_EQ(document.events[2].text, "\xE6\xBC\xA2\xE5\xAD\x97 colour");
  EXPECT_EQ(document.events[3].text, "Never drink liquid nitrogen.");
  EXPECT_EQ(readExample("styled.vtt", CueMarkup::Classic).events[1].text,
            "<i>Sur les <u>quais</u></i> & ailleurs \xE2\x80\xB9" "3 > \xC3\xA9t\xC3\xA9\xC2\xA0!");
}

TEST(VttParser, BrokenCuesAreReportedAtTheirLinesAndTheRestRead) {
  const SubtitleDocument document = readExample("broken.vtt");
  ASSERT_EQ(document.events.size(), 3u);
  EXPECT_EQ(document.events[0].number, "1");
  EXPECT_EQ(document.events[0].alignment, 0) << "every setting of the cue was garbage";
  EXPECT_EQ(document.events[1].number, "2");
  EXPECT_EQ(document.events[2].text, "Still read after all that");
  EXPECT_EQ(linesOf(document.problems), (std::vector<std::size_t>{12, 16, 19}));
  EXPECT_NE(document.problems[0].message.find("before it starts"), std::string::npos);
  EXPECT_NE(document.problems[1].message.find("00:00:09,000"), std::string::npos);
  EXPECT_EQ(linesOf(document.warnings), (std::vector<std::size_t>{4, 4, 4, 4, 8}));
  EXPECT_NE(document.warnings[0].message.find("\"align:sideways\""), std::string::npos);
  EXPECT_NE(document.warnings[4].message.find("before the one before it"), std::string::npos);
}

TEST(VttParser, OnlyAFileThatStartsWithTheSignatureIsRead) {
  for (const char* text : {"", "1\n00:00.000 --> 00:01.000\nno header\n", "WEBVTTX\n",
                           "webvtt\n", " WEBVTT\n"}) {
    const SubtitleDocument document = parseVtt(text, CueMarkup::Full);
    ASSERT_TRUE(document.unreadable.has_value()) << text;
    EXPECT_EQ(document.unreadable->line, 1u);
    EXPECT_TRUE(document.events.empty());
  }
  const SubtitleReadResult marked = readSubtitleFile(
      "\xEF\xBB\xBFWEBVTT\tfilm\r\nKind: captions\r\n00:00.000 --> 00:01.000\r\nright after the header\r\n",
      SubtitleFormat::WebVtt, CueMarkup::Full);
  ASSERT_FALSE(marked.document.unreadable.has_value());
  ASSERT_EQ(marked.document.events.size(), 1u);
  EXPECT_EQ(marked.document.events[0].text, "right after the header");
}

TEST(VttParser, TimestampsAreWebVttsOwn) {
  const std::pair<const char*, std::int64_t> good[] = {
      {"00:01.500", 1500}, {"01:00:01.500", 3601500}, {"100:00:00.000", 360000000},
      {"60:00:00.000", 216000000}, {"0:00:01.000", 1000}};
  for (const auto& [text, ms] : good) {
    std::string_view rest = text;
    std::int64_t read = -1;
    EXPECT_TRUE(takeVttTimestamp(rest, read)) << text;
    EXPECT_EQ(read, ms) << text;
  }
  for (const char* bad : {"1:00.000", "00:01.5", "00:60.000", "00:01,000", "00:00:01.0000",
                          "1234567890:00:00.000", ""}) {
    std::string_view rest = bad;
    std::int64_t read = 0;
    EXPECT_FALSE(takeVttTimestamp(rest, read)) << bad;
  }
}

TEST(VttCueText, TagsNestAsWebVttBuildsThem) {
  const std::pair<const char*, const char*> cases[] = {
      {"<b.loud>x</b>", "<b>x</b>"},
      {"<i>left open", "<i>left open</i>"},
      {"<b><i>x</b>y</i>", "<b><i>xy</i></b>"},  // </b> does not close the i inside it
      {"<ruby>A<rt>a</ruby>B", "AB"},
      {"<v.loud Esme>Hi</v> <c.yellow>there</c> <lang fr>oui</lang>", "Hi there oui"},
      {"<00:00:01.000>x<unknown>y</unknown>", "xy"},
      {"&#0; &#x1F600;", "\xEF\xBF\xBD \xF0\x9F\x98\x80"},
      {"a < b", "a "},
  };
  for (const auto& [cue, markup] : cases) {
    EXPECT_EQ(vttCueTextToMarkup(cue, CueMarkup::Classic), markup) << cue;
    EXPECT_EQ(vttCueTextToMarkup(cue, CueMarkup::Full), markup) << cue;
  }
}

// Whatever the cue says as text is drawn as that text: the full layout gets references
// for everything its markup would read (tags, references, override blocks, breaks); the
// classic markup has no escapes, so only a "<" must be kept from opening a tag.
TEST(VttCueText, TextThatLooksLikeMarkupStaysText) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"&amp;lt; &unknown; & &#;", "&amp;lt; &amp;unknown; &amp; &amp;#;", "&lt; &unknown; & &#;"},
      {"1 &lt; 2 &gt; 0, &#60;b&#62;", "1 &lt; 2 &gt; 0, &lt;b&gt;",
       "1 \xE2\x80\xB9 2 > 0, \xE2\x80\xB9" "b>"},
      {"{\\an8} C:\\new\\h", "&#123;&#92;an8} C:&#92;new&#92;h", "{\\an8} C:\\new\\h"},
  };
  for (const auto& [cue, full, classic] : cases) {
    EXPECT_EQ(vttCueTextToMarkup(cue, CueMarkup::Full), full) << cue;
    EXPECT_EQ(vttCueTextToMarkup(cue, CueMarkup::Classic), classic) << cue;
  }
}

}  // namespace
}  // namespace QuillRender

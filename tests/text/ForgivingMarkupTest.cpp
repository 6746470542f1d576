#include "text/ForgivingMarkup.h"

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "text/Utf.h"

namespace {

constexpr std::int32_t kBaseSize = 22;

Orb::MarkupBase whiteBase() {
  Orb::MarkupBase base;
  base.style.size = kBaseSize;
  base.style.fill = Orb::Colour{255, 255, 255, 0};
  return base;
}

std::string utf8(const std::u32string& text) {
  std::string out;
  Orb::encodeUtf8(text.data(), text.size(), out);
  return out;
}

std::string hex(const Orb::Colour& colour) {
  char out[8];
  std::snprintf(out, sizeof(out), "#%02x%02x%02x", colour.red, colour.green, colour.blue);
  return out;
}

// The family a font request draws, its own or the nearest ancestor's.
std::string familyOf(const Orb::StyledText& styled, std::size_t font) {
  while (font != 0 && !styled.fonts.at(font).family) font = styled.fonts.at(font).parent;
  return font == 0 ? "" : *styled.fonts.at(font).family;
}

// Runs as "{attributes}text" joined by "|", attributes being what differs from `base`:
// b, i, u, s, the fill colour, the size in pixels and the family.
std::string describe(const Orb::StyledText& styled, const Orb::MarkupBase& base) {
  std::string out;
  for (const Orb::StyledRun& run : styled.runs) {
    const Orb::TextStyle& style = run.style;
    const Orb::FontRequest& font = styled.fonts.at(style.font);
    std::vector<std::string> attributes;
    if (font.bold) attributes.push_back("b");
    if (font.italic) attributes.push_back("i");
    if (style.underline) attributes.push_back("u");
    if (style.strikeOut) attributes.push_back("s");
    if (!(style.fill == base.style.fill)) attributes.push_back(hex(style.fill));
    if (style.size != base.style.size) attributes.push_back(std::to_string(style.size) + "px");
    if (!familyOf(styled, style.font).empty()) attributes.push_back("face=" + familyOf(styled, style.font));
    if (!out.empty()) out += "|";
    if (!attributes.empty()) {
      out += "{";
      for (std::size_t i = 0; i < attributes.size(); ++i) out += (i ? " " : "") + attributes[i];
      out += "}";
    }
    out += utf8(styled.text.substr(run.begin, run.end - run.begin));
  }
  return out;
}

Orb::StyledText read(const std::string& subtitle, const Orb::MarkupBase& base) {
  std::vector<char32_t> decoded;
  EXPECT_TRUE(Orb::decodeUtf8(subtitle.data(), subtitle.size(), decoded)) << subtitle;
  return Orb::readForgivingMarkup(std::u32string(decoded.begin(), decoded.end()), base);
}

struct MarkupCase {
  const char* input;
  const char* runs;
  int alignment;  // 0: the subtitle sets none
};

// One line per rule: markup in, runs out.
const MarkupCase kCases[] = {
    // tags matched by name, styles accumulating
    {"<b><i>x</i></b>", "{b i}x", 0},
    {"<i><b>x</b></i>y", "{b i}x|y", 0},
    {"<b>a<font color=\"red\">b</font>c</b>", "{b}a|{b #ff0000}b|{b}c", 0},
    {"<b>a<i>b</b>c", "{b}a|{b i}b|c", 0},
    {"<i>a<b>b</i>c</b>d", "{i}a|{b i}b|cd", 0},
    {"a</i>b</font>c", "abc", 0},
    {"<u>a</x>b</u>c", "{u}ab|c", 0},
    {"<b>never closed", "{b}never closed", 0},
    {"<B>a</b><FoNt CoLoR=RED>b</FONT>", "{b}a|{#ff0000}b", 0},
    {"<font color=\"nosuchcolour\">a<font color=\"#0000ff\">b</font>c</font>d", "a|{#0000ff}b|cd", 0},
    {"<b/>x", "x", 0},
    {"<s>a</s><u>b</u>", "{s}a|{u}b", 0},
    // font attributes: any order and quoting, colour forms, sizes, faces
    {"<font size=9 color='00ff00'>a</font>", "{#00ff00 9px}a", 0},
    {"<font color=#ff0000 size=9>a</font>", "{#ff0000 9px}a", 0},
    {"<font  color = \"#F0A\"  size = '+2' >a</font >", "{#ff00aa 26px}a", 0},
    {"<font color=\"#80112233\">a</font>", "{#112233}a", 0},
    {"<font color=\"DarkSlateGrey\">a</font>", "{#2f4f4f}a", 0},
    {"<font size=\"-3\">a</font><font size=\"36\">b</font>", "{16px}a|{36px}b", 0},
    {"<font size=\"99999999999\">a</font><font size=\"+99999999999\">b</font>", "{1024px}ab", 0},
    {"<font size=\"5000\">a</font>", "{1024px}a", 0},
    {"<b><font face=\"DejaVu Serif\">a</font></b>", "{b face=DejaVu Serif}a", 0},
    {"<font face='X'><i>a</i></font>", "{i face=X}a", 0},
    // breaks, references and text that only looks like markup
    {"a<br>b<br/>c<BR />d</br>e", "a\nb\nc\nd\ne", 0},
    {"&amp;&lt;&gt;&quot;&apos;&nbsp;&#233;&#xE9;&#0;", "&<>\"'\u00a0\u00e9\u00e9\ufffd", 0},
    {"&bogus; & x &amp &#; &#xZ;", "&bogus; & x &amp &#; &#xZ;", 0},
    {"a < b <3 2<3,5>1,4<6 <>", "a < b <3 2<3,5>1,4<6 <>", 0},
    {"<invalid_tag par=5>shown</invalid_tag>", "shown", 0},
    {"<font color=\"red>x", "<font color=\"red>x", 0},
    {"<u>x<font color='a>y</u>", "{u}x<font color='a>y", 0},
    {"a\\Nb\\nc\\hd", "a\nb\nc\u00a0d", 0},
    {"\\ N \\TEST \\-) \\", "\\ N \\TEST \\-) \\", 0},
    // override blocks
    {"{\\an8}top", "top", 8},
    {"{\\an4}a{\\an6}b", "ab", 4},
    {"{\\an99}a{\\an0}b", "ab", 0},
    {"x{\\an3}", "x", 3},
    {"{\\i1}a{\\i0}b", "{i}a|b", 0},
    {"{\\b1}a{\\b0}b{\\b700}c{\\b400}d", "{b}a|b|{b}c|d", 0},
    {"{\\u1}a{\\u}b{\\s1}c{\\s0}d", "{u}a|b|{s}c|d", 0},
    {"{\\c&H0000FF&}a{\\1c&HFF0000&}b{\\c}c", "{#ff0000}a|{#0000ff}b|c", 0},
    {"{\\c&H80FF00FF}a", "{#ff00ff}a", 0},
    {"{\\fad(200,200)\\blur3\\bord2\\pos(1,2)}x", "x", 0},
    {"{\\t(\\i1)}x{\\iclip(1,2,3,4)\\shad2\\be1}y", "xy", 0},
    {"<i>a{\\i0}b</i>c", "{i}a|bc", 0},
    {"<b>a{\\i1}b</b>c", "{b}a|{b i}b|c", 0},
    {"{normal text} {Y:tag} {\\i1", "{normal text} {Y:tag} {\\i1", 0},
    {"{}x{", "{}x{", 0},
};

TEST(ForgivingMarkup, EveryRuleOneLineEach) {
  const Orb::MarkupBase base = whiteBase();
  for (const MarkupCase& markup : kCases) {
    const Orb::StyledText styled = read(markup.input, base);
    EXPECT_EQ(describe(styled, base), markup.runs) << markup.input;
    EXPECT_EQ(styled.alignment.value_or(0), markup.alignment) << markup.input;
  }
}

TEST(ForgivingMarkup, RunsCoverTheTextInOrderWithoutEmptyOnes) {
  const Orb::MarkupBase base = whiteBase();
  for (const MarkupCase& markup : kCases) {
    const Orb::StyledText styled = read(markup.input, base);
    std::size_t at = 0;
    for (const Orb::StyledRun& run : styled.runs) {
      EXPECT_EQ(run.begin, at) << markup.input;
      EXPECT_LT(run.begin, run.end) << markup.input;
      EXPECT_LT(run.style.font, styled.fonts.size()) << markup.input;
      at = run.end;
    }
    EXPECT_EQ(at, styled.text.size()) << markup.input;
  }
}

TEST(ForgivingMarkup, AbsoluteSizesScaleWithTheFrame) {
  Orb::MarkupBase base = whiteBase();
  base.frameHeight = 540;
  EXPECT_EQ(describe(read("<font size=\"36\">a</font><font size=\"+2\">b</font>", base), base),
            "{18px}a|{26px}b");
  base.frameHeight = 2160;
  EXPECT_EQ(describe(read("<font size=\"36\">a</font>", base), base), "{72px}a");
}

TEST(ForgivingMarkup, OverrideSwitchesKeepTheirMeaning) {
  Orb::MarkupBase base = whiteBase();
  base.overrideEmbeddedColour = true;
  EXPECT_EQ(describe(read("<font color=\"red\" size=\"+2\">a</font>{\\c&HFF&}b", base), base),
            "{26px}a|b");
  base = whiteBase();
  base.overrideEmbeddedFont = true;
  EXPECT_EQ(describe(read("<font face=\"X\" size=\"36\" color=red>a</font><b>b</b>", base), base),
            "{#ff0000}a|{b}b")
      << "faces and sizes ignored; bold still asked for, as the classic reader does";
}

TEST(ForgivingMarkup, MarkupAddsToTheBaseFontsStyle) {
  Orb::MarkupBase base = whiteBase();
  base.bold = true;
  Orb::StyledText styled = read("a<b>b</b><i>c</i>{\\b0}d{\\b}e", base);
  ASSERT_EQ(styled.runs.size(), 4u);
  EXPECT_EQ(styled.runs[0].style.font, 0u) << "<b> in a bold base asks for nothing new";
  EXPECT_EQ(styled.runs[0].end, 2u);
  const Orb::FontRequest& italic = styled.fonts.at(styled.runs[1].style.font);
  EXPECT_TRUE(italic.bold && italic.italic);
  EXPECT_FALSE(styled.fonts.at(styled.runs[2].style.font).bold);
  EXPECT_EQ(styled.runs[3].style.font, 0u) << "\\b without a value goes back to the base";
}

TEST(ForgivingMarkup, RepeatedStylesShareTheirFontRequests) {
  const Orb::MarkupBase base = whiteBase();
  std::string subtitle;
  for (int i = 0; i < 1000; ++i) subtitle += "<b>a</b><i>b</i>{\\b1\\i1}c{\\b0\\i0}<font face=\"F\">d</font>";
  const Orb::StyledText styled = read(subtitle, base);
  EXPECT_EQ(styled.fonts.size(), 5u) << "base, bold, italic, bold italic and one face";
}

// Hostile markup stays bounded and keeps every character outside tags.
TEST(ForgivingMarkup, HostileMarkupKeepsTheTextAndItsBounds) {
  const Orb::MarkupBase base = whiteBase();
  std::string nested;
  for (int i = 0; i < 100000; ++i) nested += "<u>";
  nested += "x";
  for (int i = 0; i < 100000; ++i) nested += "</u>";
  nested += "y";
  EXPECT_EQ(describe(read(nested, base), base), "{u}x|y");

  std::string faces;
  for (int i = 0; i < 500; ++i) faces += "<font face=\"F" + std::to_string(i) + "\">" + "a";
  const Orb::StyledText many = read(faces, base);
  EXPECT_LE(many.fonts.size(), 1 + Orb::ForgivingMarkupLimits::kFaceRequests);
  EXPECT_EQ(many.text.size(), 500u);

  const std::string unclosed = std::string(200000, '{') + std::string(200000, '<') + "\"'";
  EXPECT_EQ(utf8(read(unclosed, base).text), unclosed);
  std::string quotes;
  for (int i = 0; i < 50000; ++i) quotes += "<a x=\"<a y='";
  EXPECT_EQ(utf8(read(quotes, base).text), quotes);
}

// The real-world capability tester, event by event.
std::map<int, std::string> capabilityTesterEvents() {
  std::map<int, std::string> events;
  std::ifstream file(std::string(QUILL_TESTDATA_DIR) + "/srt/capability_tester.srt");
  std::string line;
  int number = 0;
  int lineInBlock = 0;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) {
      lineInBlock = 0;
      continue;
    }
    if (lineInBlock == 0) number = std::stoi(line);
    if (lineInBlock >= 2) events[number] += (lineInBlock > 2 ? "\n" : "") + line;
    ++lineInBlock;
  }
  return events;
}

TEST(ForgivingMarkup, CapabilityTesterEvents) {
  if (std::string(QUILL_TESTDATA_DIR).empty()) GTEST_SKIP() << "real-world subtitle files not found";
  const std::map<int, std::string> events = capabilityTesterEvents();
  ASSERT_EQ(events.size(), 37u);
  const Orb::MarkupBase base = whiteBase();
  const std::map<int, int> alignments = {{11, 8}, {12, 5}, {13, 2}, {14, 7}, {15, 4}, {16, 1},
                                         {17, 9}, {18, 6}, {19, 3}, {30, 8}, {31, 1}, {33, 3}};
  const std::map<int, std::string> runs = {
      {4, "{8px}This text should be small|\nThis text should be normal\n|{35px}This text should be big"},
      {7, ">\nIt would be a good thing to\nhide invalid html tags that are closed and show the text "
          "in them\nbut show un-closed invalid html tags\nShow not opened tags\n<"},
      {8, "and also\nhide invalid html tags with parameters that are closed and show the text in "
          "them\nbut show un-closed invalid html tags\n|{u}This text should be showed underlined "
          "without problems also: 2<3,5>1,4<6|\nThis shouldn't be underlined"},
      {20, "{#00ff00 6px}This could be the |{#00ff00 35px}m|{#000000 35px}o|{#00ff00 35px}st|"
           "{#00ff00 6px} difficult thing to implement"},
      {29, "Hide these tags: \nalso hide these tags: {Y:some_letters_or_numbers_or_chars}\nbut show "
           "this: {normal text}"},
      {35, "It shouldn't be strikethrough,\nnot opened tag showed as text.\nNot opened tag showed "
           "as text."},
      {37, "{s}Both line should be strikethrough but\nthe wrong closing tag should be showed"},
  };
  for (const auto& [number, event] : events) {
    const Orb::StyledText styled = read(event, base);
    EXPECT_FALSE(styled.text.empty()) << "event " << number;
    const auto alignment = alignments.find(number);
    EXPECT_EQ(styled.alignment.value_or(0), alignment == alignments.end() ? 0 : alignment->second)
        << "event " << number;
    const auto expected = runs.find(number);
    if (expected != runs.end()) {
      EXPECT_EQ(describe(styled, base), expected->second) << "event " << number;
    }
  }
  const Orb::StyledText hardSpaces = read(events.at(32), base);
  EXPECT_EQ(utf8(hardSpaces.text).substr(0, 11), "\u00a0\u00a0\u00a0\u00a0\u00a0A");
  EXPECT_NE(utf8(hardSpaces.text).find("Show this: \\TEST and this: \\-)"), std::string::npos);
}

}  // namespace

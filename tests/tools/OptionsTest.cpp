#include "tools/Options.h"

#include <gtest/gtest.h>

namespace QuillRender {
namespace {

ParsedOptions parse(std::vector<std::string> arguments) { return parseOptions(arguments); }

TEST(Options, DefaultsNeedOnlyAFile) {
  const ParsedOptions parsed = parse({"movie.srt"});
  ASSERT_TRUE(parsed.ok) << parsed.error;
  const RenderOptions& o = parsed.options;
  EXPECT_EQ(o.input, "movie.srt");
  EXPECT_EQ(o.frameWidth, 1920);
  EXPECT_EQ(o.frameHeight, 1080);
  EXPECT_EQ(o.format, PixelFormat::RGBA);
  EXPECT_EQ(o.font, kDefaultFont);
  EXPECT_EQ(o.textColour, 0xFFFF00u);
  EXPECT_FALSE(o.frames || o.discard || o.overrideColours || o.overrideFonts || o.hasText);
}

TEST(Options, EveryOptionReachesItsField) {
  const ParsedOptions parsed = parse(
      {"--out", "dir", "--frames", "--background=bg.png", "--size", "640x480", "--format", "bgra",
       "--encoding=UTF16", "--font", "DejaVu Serif:0:Bold::::", "--font-file", "f.ttf",
       "--text-colour", "#10aBcD", "--outline-colour=203040", "--override-colours",
       "--override-fonts", "--fonts-dir", "fonts", "--module", "m.so", "--charset", "CP1252",
       "--discard", "--", "-odd-name.srt"});
  ASSERT_TRUE(parsed.ok) << parsed.error;
  const RenderOptions& o = parsed.options;
  EXPECT_EQ(o.outDir, "dir");
  EXPECT_TRUE(o.frames);
  EXPECT_EQ(o.background, "bg.png");
  EXPECT_EQ(o.frameWidth, 640);
  EXPECT_EQ(o.frameHeight, 480);
  EXPECT_EQ(o.format, PixelFormat::BGRA);
  EXPECT_EQ(o.encoding, InputEncoding::Utf16);
  EXPECT_EQ(o.font, "DejaVu Serif:0:Bold::::");
  EXPECT_EQ(o.fontFile, "f.ttf");
  EXPECT_EQ(o.textColour, 0x10ABCDu);
  EXPECT_EQ(o.outlineColour, 0x203040u);
  EXPECT_TRUE(o.overrideColours && o.overrideFonts && o.discard);
  EXPECT_EQ(o.fontsDir, "fonts");
  EXPECT_EQ(o.module, "m.so");
  EXPECT_EQ(o.charset, "CP1252");
  EXPECT_EQ(o.input, "-odd-name.srt");
}

TEST(Options, TextMayStandInForTheFileAndMayBeEmpty) {
  const ParsedOptions parsed = parse({"--text", ""});
  ASSERT_TRUE(parsed.ok) << parsed.error;
  EXPECT_TRUE(parsed.options.hasText);
  EXPECT_TRUE(parsed.options.input.empty());
}

TEST(Options, MistakesGiveOneLineNamingTheProblem) {
  struct Case {
    std::vector<std::string> arguments;
    const char* expected;
  };
  const Case cases[] = {
      {{"--bogus", "a.srt"}, "unknown option '--bogus'"},
      {{"--text-colour", "#12345G", "a.srt"}, "bad value '#12345G' for --text-colour"},
      {{"--outline-colour", "red", "a.srt"}, "bad value 'red'"},
      {{"--size", "0x10", "a.srt"}, "bad value '0x10' for --size"},
      {{"--size", "9000x10", "a.srt"}, "--size"},
      {{"--format", "RGB", "a.srt"}, "--format"},
      {{"--encoding", "latin1", "a.srt"}, "--encoding"},
      {{"--font", ":0:Bold", "a.srt"}, "--font"},
      {{"--out"}, "--out needs a value"},
      {{"--frames=yes", "a.srt"}, "takes no value"},
      {{}, "no subtitle file"},
      {{"a.srt", "b.srt"}, "more than one"},
      {{"--text", "x", "a.srt"}, "either"},
      {{"--background", "b.png", "a.srt"}, "--background needs --frames"},
      {{"-j", "0", "a.srt"}, "bad value '0' for -j: expected a whole number from 1 to 64"},
      {{"-j", "-2", "a.srt"}, "bad value '-2' for -j"},
      {{"-j65", "a.srt"}, "bad value '65' for -j"},
      {{"--jobs", "99999999999999999999", "a.srt"}, "bad value '99999999999999999999' for --jobs"},
      {{"--jobs=two", "a.srt"}, "bad value 'two' for --jobs"},
      {{"--jobs=", "a.srt"}, "bad value '' for --jobs"},
      {{"-j", "+3", "a.srt"}, "for -j"},
      {{"a.srt", "-j"}, "-j needs a value"},
      {{"-x", "a.srt"}, "unknown option '-x'"},
  };
  for (const Case& c : cases) {
    const ParsedOptions parsed = parseOptions(c.arguments);
    EXPECT_FALSE(parsed.ok) << c.expected;
    EXPECT_NE(parsed.error.find(c.expected), std::string::npos) << parsed.error;
    EXPECT_EQ(parsed.error.find('\n'), std::string::npos);
  }
}

TEST(Options, LayoutIsFullUnlessClassicIsAskedForAndAlignmentADigit) {
  const ParsedOptions defaults = parse({"movie.srt"});
  EXPECT_EQ(defaults.options.layout, "full");
  EXPECT_EQ(defaults.options.alignment, 2);
  const ParsedOptions given = parse({"--layout", "Classic", "--align=7", "movie.srt"});
  ASSERT_TRUE(given.ok) << given.error;
  EXPECT_EQ(given.options.layout, "classic");
  EXPECT_EQ(given.options.alignment, 7);
  for (const char* bad : {"--layout=fancy", "--align=0", "--align=10", "--align=+3", "--align="}) {
    EXPECT_FALSE(parse({bad, "movie.srt"}).ok) << bad;
  }
}

TEST(Options, JobsComeInEveryUsualSpelling) {
  EXPECT_EQ(parse({"a.srt"}).options.jobs, 1);
  for (const auto& arguments : std::vector<std::vector<std::string>>{
           {"-j", "3", "a.srt"}, {"-j3", "a.srt"}, {"--jobs", "3", "a.srt"},
           {"a.srt", "--jobs=3"}}) {
    const ParsedOptions parsed = parse(arguments);
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_EQ(parsed.options.jobs, 3) << arguments[0];
    EXPECT_EQ(parsed.options.input, "a.srt");
  }
  EXPECT_EQ(parse({"--jobs", "64", "a.srt"}).options.jobs, kMaxJobs);
}

TEST(Options, HelpWinsOverMissingArgumentsAndDocumentsEveryOption) {
  const ParsedOptions parsed = parse({"--help"});
  ASSERT_TRUE(parsed.ok);
  EXPECT_TRUE(parsed.options.help);
  const std::string help = usageText("quill-render");
  for (const char* option :
       {"--out", "--text", "--frames", "--background", "--size", "--format", "--encoding",
        "--font", "--font-file", "--text-colour", "--outline-colour", "--override-colours",
        "--override-fonts", "--fonts-dir", "--module", "--charset", "--discard", "--jobs",
        "--help"}) {
    EXPECT_NE(help.find(std::string("  ") + option + " "), std::string::npos) << option;
  }
}

TEST(Options, ABareFamilyGetsTheStyleFields) {
  std::string value;
  ASSERT_TRUE(normaliseFontValue("DejaVu Serif", value));
  EXPECT_EQ(value, "DejaVu Serif:0::::");
  ASSERT_TRUE(normaliseFontValue("Georgia:1:Bold", value));
  EXPECT_EQ(value, "Georgia:1:Bold");
  EXPECT_FALSE(normaliseFontValue("", value));
}

}  // namespace
}  // namespace QuillRender

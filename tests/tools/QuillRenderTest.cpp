// End-to-end: the built program on small subtitle files, checked through what it leaves
// in the output folder and what it says.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "EncodedText.h"
#include "RenderCommand.h"
#include "tools/PngFile.h"

namespace QuillRender {
namespace {

const std::string kSmallSize = "640x360";
const char* const kThreeEvents =
    "1\n00:00:01,000 --> 00:00:02,000\nHello <b>world</b>\n\n"
    "2\n00:00:02,500 --> 00:00:03,000\n\n"
    "3\n00:00:03,000 --> 00:00:04,500\nCr\xC3\xA8me <i>br\xC3\xBBl\xC3\xA9" "e</i>\nline two\n";

std::vector<std::string> withDefaults(const std::string& out, std::vector<std::string> more) {
  std::vector<std::string> arguments = {"--out", out, "--size", kSmallSize};
  arguments.insert(arguments.end(), more.begin(), more.end());
  return arguments;
}

bool samePixels(const RgbaImage& a, const RgbaImage& b) {
  return a.width == b.width && a.height == b.height && a.pixels == b.pixels;
}

class RenderProgram : public ::testing::Test {
 protected:
  std::string out(const std::string& name = "out") const { return folder.file(name); }

  RunResult render(const std::string& srtBytes, std::vector<std::string> more,
                   const std::string& outName = "out") {
    const std::string input = folder.write(outName + ".srt", srtBytes);
    more.push_back(input);
    return runQuillRender(withDefaults(out(outName), more), folder);
  }

  TempFolder folder;
};

TEST_F(RenderProgram, ManifestMatchesTheImages) {
  const RunResult run = render(kThreeEvents, {"--frames"});
  EXPECT_EQ(run.exitCode, 3) << "an event was not rendered: " << run.err;
  EXPECT_NE(run.err.find("event 2 not rendered"), std::string::npos) << run.err;
  EXPECT_NE(run.out.find("3 events, 2 rendered, 1 not rendered"), std::string::npos) << run.out;

  const Json manifest = readManifest(out());
  ASSERT_EQ(manifest["events"].array.size(), 3u);
  EXPECT_EQ(manifest["settings"]["size"]["width"].number, 640);
  const Json& refused = manifest["events"][1];
  EXPECT_FALSE(refused["rendered"].boolean);
  EXPECT_FALSE(refused["reason"].string.empty());
  EXPECT_FALSE(folder.exists("out/0002.png"));

  for (const std::size_t i : {0u, 2u}) {
    const Json& event = manifest["events"][i];
    ASSERT_TRUE(event["rendered"].boolean);
    const RgbaImage image = loadPng(out() + "/" + event["image"].string);
    const Json& region = event["region"];
    // The region's edges are inclusive; the image is its drawn box, all but the last
    // column and row.
    EXPECT_EQ(image.width, region["right"].number - region["left"].number);
    EXPECT_EQ(image.height, region["bottom"].number - region["top"].number);
    const Json& placement = event["placement"];
    EXPECT_NEAR((placement["right"].number - placement["left"].number) * 640, image.width, 1.5);
    EXPECT_NEAR((placement["bottom"].number - placement["top"].number) * 360, image.height, 1.5);
    // The lines' box sits on the baseline at 95 %; the ink ends a few pixels from it.
    EXPECT_NEAR(placement["bottom"].number, 0.95, 0.02);

    // The frame shows the subtitle at its placement: an opaque subtitle pixel is there.
    const RgbaImage frame = loadPng(out() + "/" + event["frame"].string);
    ASSERT_EQ(frame.width, 640);
    ASSERT_EQ(frame.height, 360);
    const int x0 = static_cast<int>(std::lround(placement["left"].number * 640));
    const int y0 = static_cast<int>(std::lround(placement["top"].number * 360));
    int opaque = 0, matching = 0;
    for (int y = 0; y < image.height; ++y) {
      for (int x = 0; x < image.width; ++x) {
        if (image.at(x, y)[3] != 255 || x0 + x >= 640 || y0 + y >= 360) continue;
        ++opaque;
        matching += std::equal(image.at(x, y), image.at(x, y) + 4, frame.at(x0 + x, y0 + y));
      }
    }
    EXPECT_GT(opaque, 50);
    EXPECT_EQ(matching, opaque);
  }
  EXPECT_EQ(manifest["events"][2]["text"].string,
            "Cr\xC3\xA8me <i>br\xC3\xBBl\xC3\xA9" "e</i>\nline two");
}

TEST_F(RenderProgram, EveryPixelFormatGivesTheSamePng) {
  const char* srt = "1\n00:00:01,000 --> 00:00:02,000\n<font color=\"#3080FF\">Blue</font> <u>and</u> yellow\n";
  ASSERT_EQ(render(srt, {"--format", "RGBA"}, "RGBA").exitCode, 0);
  const RgbaImage reference = loadPng(out("RGBA") + "/0001.png");
  ASSERT_GT(reference.width, 0);
  for (const std::string format : {"ARGB", "BGRA", "ABGR"}) {
    ASSERT_EQ(render(srt, {"--format", format}, format).exitCode, 0) << format;
    EXPECT_TRUE(samePixels(loadPng(out(format) + "/0001.png"), reference)) << format;
    EXPECT_EQ(readManifest(out(format))["settings"]["format"].string, format);
  }
}

TEST_F(RenderProgram, LineEndsMarksAndUtf16AllReadTheSame) {
  const std::string lf = kThreeEvents;
  std::string crlf;
  for (const char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  std::u16string wide;  // the text is ASCII plus Latin-1 letters, one unit each
  for (std::size_t i = 0; i < crlf.size(); ++i) {
    const auto byte = static_cast<unsigned char>(crlf[i]);
    if (byte < 0x80) wide += static_cast<char16_t>(byte);
    else wide += static_cast<char16_t>(((byte & 0x1F) << 6) | (crlf[++i] & 0x3F));
  }
  std::string utf16le = "\xFF\xFE", utf16be = "\xFE\xFF";
  for (const char16_t unit : wide) {
    utf16le += static_cast<char>(unit & 0xFF), utf16le += static_cast<char>(unit >> 8);
    utf16be += static_cast<char>(unit >> 8), utf16be += static_cast<char>(unit & 0xFF);
  }
  const std::pair<const char*, std::string> variants[] = {
      {"lf", lf}, {"crlf", crlf}, {"bom", "\xEF\xBB\xBF" + crlf}, {"le", utf16le}, {"be", utf16be}};
  ASSERT_EQ(render(lf, {}, "reference").exitCode, 3);
  const Json reference = readManifest(out("reference"));
  const RgbaImage referenceImage = loadPng(out("reference") + "/0003.png");
  for (const auto& [name, bytes] : variants) {
    EXPECT_EQ(render(bytes, {}, name).exitCode, 3) << name;
    const Json manifest = readManifest(out(name));
    ASSERT_EQ(manifest["events"].array.size(), 3u) << name;
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(manifest["events"][i]["text"].string, reference["events"][i]["text"].string) << name;
    }
    EXPECT_TRUE(samePixels(loadPng(out(name) + "/0003.png"), referenceImage)) << name;
  }
  // Handing the component wide text instead of UTF-8 draws the same pixels.
  ASSERT_EQ(render(lf, {"--encoding", "utf16"}, "wide").exitCode, 3);
  EXPECT_TRUE(samePixels(loadPng(out("wide") + "/0003.png"), referenceImage));
  EXPECT_EQ(readManifest(out("wide"))["settings"]["encoding"].string, "WSTR");
}

TEST_F(RenderProgram, LegacyEncodingsAreDetectedAndTheManifestSaysHow) {
  const RunResult detected = render(encodeAs(kCzech, "WINDOWS-1250"), {}, "czech");
  EXPECT_EQ(detected.exitCode, 0) << detected.err;
  EXPECT_NE(detected.err.find("czech.srt: read as WINDOWS-1250, the encoding detected"),
            std::string::npos) << detected.err;
  const Json czech = readManifest(out("czech"));
  EXPECT_EQ(czech["settings"]["inputEncoding"]["charset"].string, "WINDOWS-1250");
  EXPECT_EQ(czech["settings"]["inputEncoding"]["source"].string, "detected");
  EXPECT_EQ(czech["events"][2]["text"].string, "\xC5\xA0\xC5\xA5" "astn\xC3\xBD nov\xC3\xBD rok, "
                                               "\xC5\xBE\xC3\xA1" "dn\xC3\xBD stres.");

  const RunResult given = render(encodeAs(kCzech, "ISO-8859-2"), {"--charset", "ISO-8859-2"}, "given");
  EXPECT_EQ(given.exitCode, 0) << given.err;
  EXPECT_EQ(readManifest(out("given"))["settings"]["inputEncoding"]["source"].string, "given");

  const RunResult marked = render(std::string("\xFF\xFE\0\0", 4) + encodeAs(kRussian, "UTF-32LE"), {}, "marked");
  EXPECT_EQ(marked.exitCode, 0) << marked.err;
  const Json russian = readManifest(out("marked"));
  EXPECT_EQ(russian["settings"]["inputEncoding"]["charset"].string, "UTF-32LE");
  EXPECT_EQ(russian["settings"]["inputEncoding"]["source"].string, "byte-order mark");
}

TEST_F(RenderProgram, TextThatCannotBeDecodedFailsAtItsLine) {
  std::string cyrillic = encodeAs(kSerbian, "WINDOWS-1251");
  cyrillic.insert(cyrillic.find("\r\n3\r\n") - 3, "\x98");  // undefined in Windows-1251
  const struct {
    const char* name;
    std::string bytes;
    const char* message;
  } cases[] = {
      {"unsure", cyrillic, "KOI8-R"},
      {"cut", kSerbian + "\xD0\xB4\xD0", "cut.srt:17: line 17 ends inside a UTF-8 character"},
      {"nul", std::string("1\n00:00:01,000 --> 00:00:02,000\na\0b\n", 36), "nul.srt:3: line 3 contains a NUL"},
      {"marked", "\xEF\xBB\xBF" + encodeAs(kFrench, "WINDOWS-1252"), "--charset WINDOWS-1252"},
  };
  for (const auto& c : cases) {
    const RunResult run = render(c.bytes, {}, c.name);
    EXPECT_EQ(run.exitCode, 1) << c.name << ": " << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.name << ": " << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_FALSE(folder.exists(std::string(c.name) + "/manifest.json")) << c.name;
  }
  const RunResult unsure = render(cyrillic, {}, "unsure");
  EXPECT_NE(unsure.err.find("WINDOWS-1251"), std::string::npos) << unsure.err;
  EXPECT_EQ(unsure.err.find("WINDOWS-1252"), std::string::npos) << unsure.err;
}

TEST_F(RenderProgram, MalformedBlocksAreReportedAndTheRestRendered) {
  const RunResult run = render(
      "1\n00:00:01,000 --> 00:00:02,000\nfirst\n\n"
      "2\n00:00:03,000 --> nonsense\nbroken\n\n"
      "3\n00:00:05,000 --> 00:00:06,000\nthird\n", {});
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_NE(run.err.find("out.srt:6: cannot read the timing line"), std::string::npos) << run.err;
  const Json manifest = readManifest(out());
  ASSERT_EQ(manifest["events"].array.size(), 2u);
  EXPECT_EQ(manifest["events"][1]["text"].string, "third");
  EXPECT_TRUE(folder.exists("out/0002.png"));
  EXPECT_EQ(manifest["skipped"][0]["line"].number, 6);
}

TEST_F(RenderProgram, WebVttFilesAreReadByTheirNameOrWhenSaid) {
  const std::string examples = QUILL_VTT_EXAMPLES_DIR;
  const RunResult styled = runQuillRender(withDefaults(out("styled"), {examples + "/styled.vtt"}), folder);
  ASSERT_EQ(styled.exitCode, 0) << styled.err;
  const Json manifest = readManifest(out("styled"));
  ASSERT_EQ(manifest["events"].array.size(), 4u);
  EXPECT_EQ(manifest["events"][0]["text"].string, "Hello <b>world</b>.");
  EXPECT_EQ(manifest["events"][0]["alignment"].number, 1);
  EXPECT_TRUE(manifest["events"][1]["alignment"].isNull());
  EXPECT_TRUE(folder.exists("styled/0004.png"));

  const RunResult broken = runQuillRender(withDefaults(out("broken"), {examples + "/broken.vtt"}), folder);
  EXPECT_EQ(broken.exitCode, 3) << broken.err;
  EXPECT_NE(broken.err.find("broken.vtt:4: cue setting \"align:sideways\""), std::string::npos) << broken.err;
  EXPECT_NE(broken.err.find("broken.vtt:19: expected a cue"), std::string::npos) << broken.err;
  EXPECT_NE(broken.err.find("broken.vtt:8: the cue starts (00:00:04.000) before the one before it"),
            std::string::npos) << broken.err;
  EXPECT_NE(broken.err.find("broken.vtt:12: the cue ends (00:00:07.000) before it starts"),
            std::string::npos) << broken.err;
  const Json reported = readManifest(out("broken"));
  EXPECT_EQ(reported["skipped"].array.size(), 3u);
  EXPECT_EQ(reported["warnings"].array.size(), 5u);
  EXPECT_EQ(reported["summary"]["warnings"].number, 5);

  const std::string vttText = "WEBVTT\n\n00:01.000 --> 00:02.000\n<v Ann>Hi</v>\n";
  const RunResult said = render(vttText, {"--input-format", "vtt"}, "said");
  EXPECT_EQ(said.exitCode, 0) << said.err;
  EXPECT_EQ(readManifest(out("said"))["events"][0]["text"].string, "Hi");
  const RunResult headless = render("00:01.000 --> 00:02.000\nHi\n", {"--input-format", "vtt"}, "headless");
  EXPECT_EQ(headless.exitCode, 1);
  EXPECT_NE(headless.err.find("headless.srt:1: a WebVTT file starts with"), std::string::npos) << headless.err;
  EXPECT_FALSE(folder.exists("headless/manifest.json"));
}

TEST_F(RenderProgram, BadCommandLinesAndMissingFilesFailInOneLine) {
  const std::string input = folder.write("ok.srt", "1\n00:00:01,000 --> 00:00:02,000\nok\n");
  folder.write("plain-file", "x");
  std::filesystem::resize_file(folder.write("huge.srt", ""), 4ull << 30);  // sparse: no disk used
  struct Case {
    std::vector<std::string> arguments;
    int exitCode;
    const char* message;
  };
  const Case cases[] = {
      {{"--bogus", input}, 2, "unknown option '--bogus'"},
      {{"--text-colour", "#GG0000", input}, 2, "bad value '#GG0000' for --text-colour"},
      {{folder.file("missing.srt")}, 1, "missing.srt: No such file or directory"},
      {{folder.file("huge.srt")}, 1, "huge.srt is larger than 64 MiB"},
      {{"--out", folder.file("plain-file/sub"), input}, 1, "cannot create the output folder"},
      {{"--module", folder.file("none.so"), input}, 1, "cannot load the plug-in module"},
      {{"--fonts-dir", folder.file("nowhere"), input}, 1, "fonts folder"},
      {{"--font-file", folder.file("missing.ttf"), input}, 1, "missing.ttf"},
      {{"--frames", "--background", folder.file("plain-file"), input}, 1, "plain-file"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments = {"--out", out()};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const RunResult run = runQuillRender(arguments, folder);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.message << ": " << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_FALSE(folder.exists("out/manifest.json")) << c.message;
  }
}

TEST_F(RenderProgram, AFailedRunLeavesNoManifestToBelieve) {
  ASSERT_EQ(render(kThreeEvents, {}).exitCode, 3);
  ASSERT_TRUE(folder.exists("out/manifest.json"));
  // The second run cannot write its third image: a folder stands where it goes.
  std::filesystem::remove(folder.file("out/0003.png"));
  std::filesystem::create_directory(folder.file("out/0003.png"));
  folder.write("out/0003.png/keep", "");
  const RunResult run = render(kThreeEvents, {});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("0003.png"), std::string::npos) << run.err;
  EXPECT_FALSE(folder.exists("out/manifest.json")) << "the old one would describe new images";
  for (const auto& entry : std::filesystem::directory_iterator(out())) {
    EXPECT_NE(entry.path().filename().string().find(".png"), std::string::npos)
        << "stray file " << entry.path();
  }
}

TEST_F(RenderProgram, ARunClearsWhatTheRunBeforeItWroteAndNothingElse) {
  ASSERT_EQ(render(kThreeEvents, {"--frames"}).exitCode, 3);
  ASSERT_TRUE(folder.exists("out/0003-frame.png"));
  for (const char* mine : {"out/notes.txt", "out/0001.jpg", "out/12.png", "victim.png"}) folder.write(mine, "mine");

  const RunResult shorter = render("1\n00:00:01,000 --> 00:00:02,000\nonly one\n", {});
  ASSERT_EQ(shorter.exitCode, 0) << shorter.err;
  for (const char* gone : {"out/0003.png", "out/0001-frame.png", "out/0003-frame.png"}) {
    EXPECT_FALSE(folder.exists(gone)) << gone << " of the earlier run was left";
  }
  for (const char* kept : {"out/0001.png", "out/notes.txt", "out/0001.jpg", "out/12.png"}) {
    EXPECT_TRUE(folder.exists(kept)) << kept;
  }

  // A file with the tool's name that no manifest accounts for may be anyone's.
  folder.write("out/0007.png", "mine");
  const RunResult stranger = render(kThreeEvents, {});
  EXPECT_EQ(stranger.exitCode, 1);
  EXPECT_NE(stranger.err.find("holds 0007.png, which no manifest"), std::string::npos) << stranger.err;
  EXPECT_TRUE(folder.exists("out/manifest.json")) << "a refused run removes nothing";
  EXPECT_TRUE(folder.exists("out/0001.png"));

  std::filesystem::remove(folder.file("out/0007.png"));
  folder.write("out/manifest.json", "{\"events\": [");
  const RunResult damaged = render(kThreeEvents, {});
  EXPECT_EQ(damaged.exitCode, 1);
  EXPECT_NE(damaged.err.find("is not a manifest quill-render wrote"), std::string::npos) << damaged.err;
  EXPECT_TRUE(folder.exists("out/0001.png"));

  // A manifest names only what it may: no path out of the folder, no other name.
  std::filesystem::remove(folder.file("out/0001.png"));
  folder.write("out/manifest.json", "{\"events\": [{\"image\": \"../victim.png\"}, {\"image\": \"notes.txt\"}]}");
  EXPECT_EQ(render(kThreeEvents, {}).exitCode, 3);
  EXPECT_TRUE(folder.exists("victim.png"));
  EXPECT_TRUE(folder.exists("out/notes.txt"));
}

TEST_F(RenderProgram, FontFileTakesEffectUnlessFontsAreOverridden) {
  const char* srt = "1\n00:00:01,000 --> 00:00:02,000\nThe quick brown fox\n";
  const std::string mono = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
  ASSERT_EQ(render(srt, {}, "default").exitCode, 0);
  ASSERT_EQ(render(srt, {"--font-file", mono}, "file").exitCode, 0);
  ASSERT_EQ(render(srt, {"--font-file", mono, "--override-fonts"}, "overridden").exitCode, 0);
  const RgbaImage standard = loadPng(out("default") + "/0001.png");
  const RgbaImage fromFile = loadPng(out("file") + "/0001.png");
  EXPECT_NE(standard.width, fromFile.width) << "a monospaced face sets the line differently";
  EXPECT_TRUE(samePixels(loadPng(out("overridden") + "/0001.png"), standard));
  EXPECT_EQ(readManifest(out("file"))["settings"]["fontFile"].string, mono);
  EXPECT_TRUE(readManifest(out("file"))["settings"]["fontFileUsed"].boolean);

  // A file the component cannot use: it draws with the family instead, and says nothing.
  std::ifstream real(mono, std::ios::binary);
  std::string truncated(4096, '\0');
  real.read(truncated.data(), static_cast<std::streamsize>(truncated.size()));
  const std::pair<const char*, std::string> refused[] = {{"truncated", truncated},
                                                         {"notafont", "just some text\n"}};
  for (const auto& [name, bytes] : refused) {
    const std::string font = folder.write(std::string(name) + ".ttf", bytes);
    const RunResult run = render(srt, {"--font-file", font}, name);
    EXPECT_EQ(run.exitCode, 3) << name << ": " << run.err;
    EXPECT_NE(run.err.find("refused the font file " + font), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("drawn in DejaVu Sans instead"), std::string::npos) << run.err;
    EXPECT_FALSE(readManifest(out(name))["settings"]["fontFileUsed"].boolean) << name;
    EXPECT_TRUE(samePixels(loadPng(out(name) + "/0001.png"), standard)) << name;
  }
}

TEST_F(RenderProgram, ColoursAndBackgroundReachThePixels) {
  RgbaImage red(4, 4);
  for (std::size_t i = 0; i < red.pixels.size(); i += 4) red.pixels[i] = 200, red.pixels[i + 3] = 255;
  std::string error;
  ASSERT_TRUE(writePng(folder.file("red.png"), red, error)) << error;
  const RunResult run = runQuillRender(
      withDefaults(out(), {"--size", "1280x720", "--frames", "--background", folder.file("red.png"), "--text-colour",
                           "#00FF00", "--override-colours", "--text",
                           "<font color=\"#FF0000\">green anyway</font>"}),
      folder);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const RgbaImage frame = loadPng(out() + "/0001-frame.png");
  EXPECT_EQ(frame.at(0, 0)[0], 200);
  const RgbaImage image = loadPng(out() + "/0001.png");
  int green = 0, red_ = 0;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      const std::uint8_t* p = image.at(x, y);
      green += p[3] == 255 && p[1] == 255 && p[0] == 0;
      red_ += p[3] == 255 && p[0] == 255 && p[1] == 0;
    }
  EXPECT_GT(green, 20);
  EXPECT_EQ(red_, 0);
}

TEST_F(RenderProgram, DiscardRendersButWritesOnlyTheManifest) {
  const RunResult run = runQuillRender(withDefaults(out(), {"--discard", "--text", "timing only"}), folder);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const Json manifest = readManifest(out());
  EXPECT_TRUE(manifest["events"][0]["rendered"].boolean);
  EXPECT_TRUE(manifest["events"][0]["image"].isNull());
  EXPECT_FALSE(folder.exists("out/0001.png"));
}

TEST_F(RenderProgram, HelpDocumentsTheOptions) {
  const RunResult run = runQuillRender({"--help"}, folder);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.out.find("--font-file"), std::string::npos);
  EXPECT_TRUE(run.err.empty());
}

TEST_F(RenderProgram, EveryEventOfTheRealWorldTesterIsRenderedOrReported) {
  const std::string input = QUILL_TESTDATA_DIR "/srt/capability_tester.srt";
  std::ifstream in(input, std::ios::binary);
  ASSERT_TRUE(in) << "test data missing: " << input;
  const RunResult run = runQuillRender(withDefaults(out(), {"--frames", input}), folder);
  ASSERT_TRUE(run.exitCode == 0 || run.exitCode == 3) << run.exitCode << ": " << run.err;
  const Json manifest = readManifest(out());
  ASSERT_EQ(manifest["events"].array.size(), 37u);
  EXPECT_TRUE(manifest["skipped"].array.empty());
  for (std::size_t i = 0; i < 37; ++i) {
    const Json& event = manifest["events"][i];
    EXPECT_EQ(event["number"].string, std::to_string(i + 1));
    if (event["rendered"].boolean && !event["image"].isNull()) {
      EXPECT_TRUE(folder.exists("out/" + event["image"].string)) << i + 1;
      EXPECT_TRUE(folder.exists("out/" + event["frame"].string)) << i + 1;
    } else {
      EXPECT_FALSE(event["reason"].string.empty()) << "event " << i + 1 << " vanished";
    }
  }
}

}  // namespace
}  // namespace QuillRender

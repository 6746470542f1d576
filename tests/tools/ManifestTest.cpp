#include "tools/Manifest.h"

#include <gtest/gtest.h>

#include "tools/JsonReader.h"
#include "TempFolder.h"

namespace QuillRender {
namespace {

Manifest sample() {
  Manifest manifest;
  manifest.settings.input = "films/a \"quoted\" name.srt";
  manifest.settings.frameWidth = 1920;
  manifest.settings.frameHeight = 1080;
  manifest.settings.format = "BGRA";
  manifest.settings.encoding = "WSTR";
  manifest.settings.font = "DejaVu Sans:0::::";
  manifest.settings.textColour = 0xFFFF00;
  manifest.settings.outlineColour = 0x0000A0;
  manifest.settings.module = "/lib/m.so";
  manifest.settings.frames = true;

  ManifestEvent drawn;
  drawn.event = {1, "1", 1000, 4000, "<b>Cr\xC3\xA8me</b>\n\"two\"\t\\ \x01", 1};
  drawn.rendered = true;
  drawn.image = "0001.png";
  drawn.frameImage = "0001-frame.png";
  drawn.region = {3, 4, 203, 44};
  drawn.placement = {0.4, 0.95 - 40.0 / 1080, 0.5, 0.95};
  ManifestEvent refused;
  refused.event = {2, "", 5000, 5000, "", 7};
  refused.reason = "the component refused it";
  manifest.events = {drawn, refused};
  manifest.skipped = {{12, "cannot read the timing line \"x\""}};
  return manifest;
}

Json parsed(const Manifest& manifest) {
  Json json;
  std::string error;
  EXPECT_TRUE(parseJson(manifestJson(manifest), json, error)) << error;
  return json;
}

TEST(Manifest, RecordsEveryEventAndTheSettings) {
  const Json json = parsed(sample());
  EXPECT_EQ(json["input"].string, "films/a \"quoted\" name.srt");
  const Json& settings = json["settings"];
  EXPECT_EQ(settings["size"]["width"].number, 1920);
  EXPECT_EQ(settings["format"].string, "BGRA");
  EXPECT_EQ(settings["outlineColour"].string, "#0000A0");
  EXPECT_TRUE(settings["fontFile"].isNull());
  EXPECT_TRUE(settings["frames"].boolean);

  ASSERT_EQ(json["events"].array.size(), 2u);
  const Json& drawn = json["events"][0];
  EXPECT_EQ(drawn["text"].string, "<b>Cr\xC3\xA8me</b>\n\"two\"\t\\ \x01");
  EXPECT_EQ(drawn["start"].number, 1000);
  EXPECT_EQ(drawn["image"].string, "0001.png");
  EXPECT_EQ(drawn["frame"].string, "0001-frame.png");
  EXPECT_EQ(drawn["region"]["right"].number, 203);
  EXPECT_NEAR(drawn["placement"]["top"].number, 0.95 - 40.0 / 1080, 1e-11);

  const Json& refused = json["events"][1];
  EXPECT_FALSE(refused["rendered"].boolean);
  EXPECT_EQ(refused["reason"].string, "the component refused it");
  EXPECT_FALSE(refused.has("image")) << "nothing suggests a file for an event not drawn";
  EXPECT_TRUE(refused["number"].isNull());

  EXPECT_EQ(json["skipped"][0]["line"].number, 12);
  EXPECT_EQ(json["summary"]["rendered"].number, 1);
  EXPECT_EQ(json["summary"]["notRendered"].number, 1);
  EXPECT_EQ(json["summary"]["skippedBlocks"].number, 1);
}

TEST(Manifest, EmptyRunIsStillWellFormed) {
  const Json json = parsed(Manifest());
  EXPECT_TRUE(json["events"].array.empty());
  EXPECT_EQ(json["events"].type, Json::Type::Array);
  EXPECT_EQ(json["summary"]["events"].number, 0);
}

TEST(Manifest, WritingReplacesWholeOrNotAtAll) {
  TempFolder folder;
  std::string error;
  folder.write("manifest.json", "old");
  ASSERT_TRUE(writeManifest(folder.file("manifest.json"), sample(), error)) << error;
  EXPECT_EQ(folder.read("manifest.json"), manifestJson(sample()));
  EXPECT_FALSE(writeManifest(folder.file("missing/manifest.json"), sample(), error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace QuillRender

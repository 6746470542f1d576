// quilloverlay in real pipelines: subtitles in exactly the frames of their time, at the
// place quill-render puts them; seeking; the end of either stream; bad text, bad modules
// and bad video reported on the bus; the overlay as meta; a change of video size.
#include <gst/app/gstappsrc.h>
#include <gst/check/gstharness.h>
#include <gst/video/video.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "GstTestSupport.h"
#include "gstreamer/DefaultModulePath.h"

namespace {

using namespace QuillGstTest;

constexpr std::uint8_t kGrey[3] = {0x60, 0x60, 0x60};  // quill-render's preview background
constexpr GstClockTime kFrame = GST_SECOND / 10;

// Three subtitles with markup, an entity and a line break, and gaps between them.
const char* const kSubtitles =
    "1\n00:00:00,500 --> 00:00:01,200\n<i>First</i> subtitle\n\n"
    "2\n00:00:02,000 --> 00:00:02,750\nSecond, <b>bold</b>\non two lines\n\n"
    "3\n00:00:03,000 --> 00:00:03,600\n<u>Third</u> & last\n\n";
struct Timing {
  GstClockTime start, stop;
};
const Timing kTimes[] = {{500 * GST_MSECOND, 1200 * GST_MSECOND},
                         {2000 * GST_MSECOND, 2750 * GST_MSECOND},
                         {3000 * GST_MSECOND, 3600 * GST_MSECOND}};

// The subtitle a frame starting at `pts` overlaps, or -1.
int subtitleAt(GstClockTime pts) {
  for (int i = 0; i < 3; ++i) {
    if (kTimes[i].start < pts + kFrame && pts < kTimes[i].stop) return i;
  }
  return -1;
}

// `srt` read by subparse.
std::string parsed(const std::string& srt) { return "filesrc location=\"" + srt + "\" ! subparse"; }

// Subtitles from `textSource` over grey video of `frames` frames (0: endless) into the
// appsink "out", as RGBx.
std::string overlayPipeline(const std::string& textSource, const std::string& videoFormat,
                            int frames, int width = 640, int height = 360) {
  return textSource + " ! q.text_sink "
         "videotestsrc pattern=solid-color foreground-color=0xff606060 " +
         (frames > 0 ? "num-buffers=" + std::to_string(frames) : std::string()) +
         " ! video/x-raw,format=" + videoFormat + ",width=" + std::to_string(width) +
         ",height=" + std::to_string(height) + ",framerate=10/1 ! q.video_sink "
         "quilloverlay name=q " + overlayProperties() +
         " ! videoconvert ! video/x-raw,format=RGBx ! appsink name=out sync=false";
}

class QuillOverlay : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { startGstreamer(); }

  // quill-render's preview frames of kSubtitles at 640 x 360, one per subtitle.
  static const std::vector<Frame>& quillRenderFrames() {
    static const std::vector<Frame> frames = [] {
      TestSupport::TempFolder folder;
      const std::string srt = writeFile(folder, "subtitles.srt", kSubtitles);
      const std::string out = (folder.path() / "out").string();
      const std::string command =
          std::string("XDG_DATA_HOME=\"") + folder.path().string() + "\" \"" + QUILL_RENDER_PATH +
          "\" --layout classic --frames --size 640x360 --font \"DejaVu Sans:0::::\" --fonts-dir \"" +
          std::getenv("QUILL_FONTS_DIR") + "\" --out \"" + out + "\" \"" + srt + "\" > /dev/null";
      EXPECT_EQ(std::system(command.c_str()), 0) << command;
      std::vector<Frame> loaded;
      for (const char* name : {"/0001-frame.png", "/0002-frame.png", "/0003-frame.png"}) {
        loaded.push_back(loadPng(out + name));
      }
      return loaded;
    }();
    return frames;
  }

  // Every frame shows the subtitle of its time exactly as quill-render does, or nothing.
  static void expectSubtitlesOfTheirTime(const std::vector<Frame>& frames) {
    // Blending goes through GStreamer's own arithmetic, quill-render's through its own:
    // edge pixels may differ by a few levels, never by a misplaced glyph.
    constexpr int kTolerance = 6;
    for (const Frame& frame : frames) {
      const int subtitle = subtitleAt(frame.pts);
      SCOPED_TRACE("frame at " + std::to_string(frame.pts / GST_MSECOND) + " ms");
      if (subtitle < 0) {
        EXPECT_EQ(pixelsOtherThan(frame, kGrey), 0);
      } else {
        EXPECT_GT(pixelsOtherThan(frame, kGrey), 100);
        EXPECT_EQ(differingPixels(frame, quillRenderFrames()[subtitle], kTolerance), 0)
            << "subtitle " << subtitle + 1;
      }
    }
  }

  TestSupport::TempFolder folder;
};

TEST_F(QuillOverlay, SubtitlesShowInExactlyTheirFramesWhereQuillRenderPlacesThem) {
  const std::string srt = writeFile(folder, "subtitles.srt", kSubtitles);
  Pipeline pipeline(overlayPipeline(parsed(srt), "RGBx", 45));
  const Outcome outcome = pipeline.runToEnd();
  EXPECT_TRUE(outcome.ended);
  EXPECT_TRUE(outcome.errors.empty()) << outcome.errors.front();
  EXPECT_TRUE(outcome.warnings.empty()) << outcome.warnings.front();
  ASSERT_EQ(outcome.frames.size(), 45u);
  expectSubtitlesOfTheirTime(outcome.frames);
}

TEST_F(QuillOverlay, EndsWhenTheVideoEndsBeforeTheSubtitlesAndPlaysAgain) {
  // The text stream still holds subtitles when the video ends: nothing may wait for them.
  // Played again, the element starts a new component and shows them again.
  const std::string srt = writeFile(folder, "subtitles.srt", kSubtitles);
  Pipeline pipeline(overlayPipeline(parsed(srt), "I420", 8));
  for (int run = 0; run < 2; ++run) {
    const Outcome outcome = pipeline.runToEnd();
    EXPECT_TRUE(outcome.ended);
    EXPECT_TRUE(outcome.errors.empty()) << outcome.errors.front();
    ASSERT_EQ(outcome.frames.size(), 8u) << "run " << run;
    const std::uint8_t background[3] = {outcome.frames[0].pixels[0], outcome.frames[0].pixels[1],
                                        outcome.frames[0].pixels[2]};
    EXPECT_EQ(pixelsOtherThan(outcome.frames[4], background), 0) << "run " << run;
    EXPECT_GT(pixelsOtherThan(outcome.frames[5], background), 100) << "run " << run;
    pipeline.setState(GST_STATE_NULL);
  }
}

TEST_F(QuillOverlay, BurnsARealWorldFileIntoI420Video) {
  // The file's events start at 1.5 s; the first, of no duration, is never shown.
  Pipeline pipeline(overlayPipeline(parsed(std::string(QUILL_TESTDATA_DIR) + "/srt/capability_tester.srt"),
                                    "I420", 40, 320, 240));
  const Outcome outcome = pipeline.runToEnd();
  EXPECT_TRUE(outcome.ended);
  EXPECT_TRUE(outcome.errors.empty()) << outcome.errors.front();
  ASSERT_EQ(outcome.frames.size(), 40u);
  const std::uint8_t grey[3] = {outcome.frames[0].pixels[0], outcome.frames[0].pixels[1],
                                outcome.frames[0].pixels[2]};
  for (const Frame& frame : outcome.frames) {
    const bool shown = frame.pts + kFrame > 1500 * GST_MSECOND;
    EXPECT_EQ(pixelsOtherThan(frame, grey) > 0, shown) << frame.pts / GST_MSECOND << " ms";
  }
}

// kSubtitles as subparse makes them, from a source that answers seeks by sending what
// overlaps the new position. (subparse itself, after a seek, may send the text of the old
// position's segment and drop what lies before it: it restarts reading before it updates
// its segment, a race of its own that no element after it can undo.)
class SeekableSubtitles {
 public:
  explicit SeekableSubtitles(GstElement* source) {
    g_object_set(source, "stream-type", 2 /* seekable */, "format", GST_FORMAT_TIME, nullptr);
    g_signal_connect(source, "seek-data", G_CALLBACK(seekData), this);
    g_signal_connect(source, "need-data", G_CALLBACK(needData), this);
  }

 private:
  static gboolean seekData(GstElement*, guint64 position, gpointer self) {
    auto* subtitles = static_cast<SeekableSubtitles*>(self);
    std::lock_guard<std::mutex> guard(subtitles->mutex_);
    subtitles->position_ = position;
    subtitles->sent_ = false;
    return TRUE;
  }

  // Sends what overlaps the position, then the end, once per position.
  static void needData(GstElement* source, guint, gpointer self) {
    auto* subtitles = static_cast<SeekableSubtitles*>(self);
    std::lock_guard<std::mutex> guard(subtitles->mutex_);
    if (subtitles->sent_) return;
    subtitles->sent_ = true;
    const char* const texts[] = {"<i>First</i> subtitle", "Second, <b>bold</b>\non two lines",
                                 "<u>Third</u> &amp; last"};
    for (int i = 0; i < 3; ++i) {
      if (kTimes[i].stop <= subtitles->position_) continue;
      GstBuffer* buffer = gst_buffer_new_memdup(texts[i], std::strlen(texts[i]));
      GST_BUFFER_PTS(buffer) = kTimes[i].start;
      GST_BUFFER_DURATION(buffer) = kTimes[i].stop - kTimes[i].start;
      gst_app_src_push_buffer(GST_APP_SRC(source), buffer);
    }
    gst_app_src_end_of_stream(GST_APP_SRC(source));
  }

  std::mutex mutex_;
  GstClockTime position_ = 0;
  bool sent_ = false;
};

TEST_F(QuillOverlay, SeekingShowsOnlyTheSubtitleOfTheNewPosition) {
  Pipeline pipeline(overlayPipeline("appsrc name=text caps=text/x-raw,format=pango-markup", "RGBx", 0));
  GstElement* source = gst_bin_get_by_name(GST_BIN(pipeline.element()), "text");
  SeekableSubtitles subtitles(source);
  ASSERT_NE(pipeline.setState(GST_STATE_PLAYING), GST_STATE_CHANGE_FAILURE);
  std::vector<Frame> frames;
  Frame frame;
  while (pipeline.pull(frame) && frame.pts < 800 * GST_MSECOND) frames.push_back(frame);
  // Into a gap while the first subtitle shows, on into the second, back into the first.
  for (const GstClockTime target : {1500 * GST_MSECOND, 2100 * GST_MSECOND, 700 * GST_MSECOND}) {
    ASSERT_TRUE(pipeline.seek(target));
    for (int i = 0; i < 3; ++i) {
      ASSERT_TRUE(pipeline.pull(frame));
      if (i == 0) {
        EXPECT_EQ(frame.pts, target);
      }
      frames.push_back(frame);
    }
  }
  Outcome outcome;
  pipeline.collectMessages(outcome);
  EXPECT_TRUE(outcome.errors.empty()) << outcome.errors.front();
  expectSubtitlesOfTheirTime(frames);
  gst_object_unref(source);
}

// Text pushed by the test through an appsrc, for buffers a parser would never make.
class QuillOverlayText : public QuillOverlay {
 protected:
  Outcome runWithText(const std::vector<std::pair<std::string, GstClockTime>>& texts) {
    Pipeline pipeline(overlayPipeline("appsrc name=text format=time caps=text/x-raw,format=utf8",
                                      "RGBx", 10, 320, 240));
    GstElement* source = gst_bin_get_by_name(GST_BIN(pipeline.element()), "text");
    for (const auto& [text, pts] : texts) {
      GstBuffer* buffer = text.empty() ? gst_buffer_new() : gst_buffer_new_memdup(text.data(), text.size());
      GST_BUFFER_PTS(buffer) = pts;
      GST_BUFFER_DURATION(buffer) = GST_CLOCK_TIME_IS_VALID(pts) ? 2 * kFrame : GST_CLOCK_TIME_NONE;
      EXPECT_EQ(gst_app_src_push_buffer(GST_APP_SRC(source), buffer), GST_FLOW_OK);
    }
    gst_app_src_end_of_stream(GST_APP_SRC(source));
    gst_object_unref(source);
    return pipeline.runToEnd();
  }
};

TEST_F(QuillOverlayText, EmptyUntimedAndMalformedTextIsWarnedAboutOrShowsNothing) {
  const Outcome outcome = runWithText({{"", 0},                                  // frames 0, 1
                                       {"no time", GST_CLOCK_TIME_NONE},         // dropped
                                       {"bad \xC0 byte", 4 * kFrame},            // frames 4, 5
                                       {"fine", 7 * kFrame}});                   // frames 7, 8
  EXPECT_TRUE(outcome.ended);
  EXPECT_TRUE(outcome.errors.empty()) << outcome.errors.front();
  ASSERT_EQ(outcome.frames.size(), 10u);
  const bool shows[10] = {false, false, false, false, true, true, false, true, true, false};
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(pixelsOtherThan(outcome.frames[i], kGrey) > 0, shows[i]) << "frame " << i;
  }
  std::string warnings;
  for (const std::string& warning : outcome.warnings) warnings += warning + "\n";
  EXPECT_NE(warnings.find("without a time"), std::string::npos) << warnings;
  EXPECT_NE(warnings.find("not valid UTF-8"), std::string::npos) << warnings;
}

TEST_F(QuillOverlay, ModulesThatCannotServeStopThePipelineWithAClearError) {
  const std::pair<std::string, std::string> cases[] = {
      {folder.path().string() + "/missing.so", "No such file"},
      {writeFile(folder, "not-a-module.so", std::string(100, 'x')), "not-a-module.so"},
      {QUILL_TEST_ENTRYLESS_MODULE, "_getPlugin"},
      {QUILL_TEST_REFUSING_MODULE, "made no component"},
  };
  for (const auto& [module, reason] : cases) {
    Pipeline pipeline("videotestsrc num-buffers=1 ! q.video_sink quilloverlay name=q " +
                      overlayProperties() + " module=\"" + module + "\" ! appsink name=out sync=false");
    EXPECT_EQ(pipeline.setState(GST_STATE_PLAYING), GST_STATE_CHANGE_FAILURE);
    Outcome outcome;
    pipeline.collectMessages(outcome);
    ASSERT_FALSE(outcome.errors.empty()) << module;
    EXPECT_NE(outcome.errors.front().find(reason), std::string::npos) << outcome.errors.front();
  }
}

TEST_F(QuillOverlay, AnEmptyModulePathMeansTheInstalledModule) {
  // An empty name would make the loader answer the program itself.
  GstElement* element = gst_element_factory_make("quilloverlay", nullptr);
  ASSERT_NE(element, nullptr);
  g_object_set(element, "module", "", nullptr);
  gchar* module = nullptr;
  g_object_get(element, "module", &module, nullptr);
  EXPECT_STREQ(module, QuillGst::defaultModulePath().c_str());
  g_free(module);
  gst_object_unref(element);
}

// The element alone between GstHarness pads: one for video in and out, one for text.
class QuillOverlayHarness : public QuillOverlay {
 protected:
  void SetUp() override {
    GstElement* element = gst_element_factory_make("quilloverlay", nullptr);
    ASSERT_NE(element, nullptr);
    g_object_set(element, "module", QUILL_MODULE_PATH, "font", "DejaVu Sans:0::::", nullptr);
    bus = gst_bus_new();
    gst_element_set_bus(element, bus);
    video = gst_harness_new_with_element(element, "video_sink", "src");
    text = gst_harness_new_with_element(element, "text_sink", nullptr);
    gst_object_unref(element);
    gst_harness_play(video);
    gst_harness_set_src_caps_str(text, "text/x-raw,format=utf8");
  }
  void TearDown() override {
    gst_harness_teardown(text);
    gst_harness_teardown(video);
    gst_object_unref(bus);
  }

  void pushText(const std::string& utf8, GstClockTime pts, GstClockTime duration) {
    GstBuffer* buffer = gst_buffer_new_memdup(utf8.data(), utf8.size());
    GST_BUFFER_PTS(buffer) = pts;
    GST_BUFFER_DURATION(buffer) = duration;
    ASSERT_EQ(gst_harness_push(text, buffer), GST_FLOW_OK);
  }

  // Pushes a grey frame of the harness's caps at `pts` and answers what came out.
  GstBuffer* frameThrough(GstClockTime pts, int width, int height) {
    GstBuffer* buffer = gst_harness_create_buffer(video, gsize(width) * height * 4);
    gst_buffer_memset(buffer, 0, 0x60, gsize(width) * height * 4);
    GST_BUFFER_PTS(buffer) = pts;
    GST_BUFFER_DURATION(buffer) = kFrame;
    EXPECT_EQ(gst_harness_push(video, buffer), GST_FLOW_OK);
    return gst_harness_pull(video);
  }

  // The columns of `buffer` (RGBx, `width` wide) with any pixel other than grey.
  static std::pair<int, int> drawnColumns(GstBuffer* buffer, int width, int height) {
    GstMapInfo map;
    gst_buffer_map(buffer, &map, GST_MAP_READ);
    int first = width, last = -1;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const guint8* pixel = map.data + (std::size_t(y) * width + x) * 4;
        if (pixel[0] != 0x60 || pixel[1] != 0x60 || pixel[2] != 0x60) {
          first = std::min(first, x);
          last = std::max(last, x);
        }
      }
    }
    gst_buffer_unmap(buffer, &map);
    return {first, last};
  }

  GstBus* bus = nullptr;
  GstHarness* video = nullptr;
  GstHarness* text = nullptr;
};

TEST_F(QuillOverlayHarness, ANewVideoSizeRedrawsTheSubtitleCentredOnIt) {
  gst_harness_set_src_caps_str(video, "video/x-raw,format=RGBx,width=320,height=240,framerate=10/1");
  pushText("Centred", 0, 10 * GST_SECOND);
  GstBuffer* small = frameThrough(0, 320, 240);
  const auto [smallFirst, smallLast] = drawnColumns(small, 320, 240);
  gst_buffer_unref(small);

  gst_harness_set_src_caps_str(video, "video/x-raw,format=RGBx,width=640,height=480,framerate=10/1");
  GstBuffer* large = frameThrough(kFrame, 640, 480);
  const auto [largeFirst, largeLast] = drawnColumns(large, 640, 480);
  gst_buffer_unref(large);

  // Drawn again for the larger frame (a larger font), and centred on it.
  ASSERT_GE(smallLast, smallFirst);
  EXPECT_GT(largeLast - largeFirst, smallLast - smallFirst);
  EXPECT_NEAR(smallFirst + smallLast, 320, 4);
  EXPECT_NEAR(largeFirst + largeLast, 640, 4);
}

TEST_F(QuillOverlayHarness, FramesWithoutATimePassUntouchedWithOneWarning) {
  gst_harness_set_src_caps_str(video, "video/x-raw,format=RGBx,width=320,height=240,framerate=10/1");
  pushText("Never matched", 0, 10 * GST_SECOND);
  for (int i = 0; i < 3; ++i) {
    GstBuffer* untimed = frameThrough(GST_CLOCK_TIME_NONE, 320, 240);
    EXPECT_EQ(drawnColumns(untimed, 320, 240).second, -1);
    gst_buffer_unref(untimed);
  }
  GstMessage* warning = gst_bus_pop_filtered(bus, GST_MESSAGE_WARNING);
  ASSERT_NE(warning, nullptr);
  EXPECT_NE(messageText(warning).find("without a time"), std::string::npos);
  gst_message_unref(warning);
  EXPECT_EQ(gst_bus_pop_filtered(bus, GST_MESSAGE_WARNING), nullptr) << "one warning, not one a frame";
}

TEST_F(QuillOverlayHarness, TheOverlayTravelsAsMetaWhenDownstreamTakesIt) {
  gst_harness_add_propose_allocation_meta(video, GST_VIDEO_OVERLAY_COMPOSITION_META_API_TYPE, nullptr);
  gst_harness_set_src_caps_str(video, "video/x-raw,format=RGBx,width=320,height=240,framerate=10/1");
  pushText("As meta", 0, 10 * GST_SECOND);
  GstBuffer* out = frameThrough(0, 320, 240);
  EXPECT_NE(gst_buffer_get_video_overlay_composition_meta(out), nullptr);
  EXPECT_EQ(drawnColumns(out, 320, 240).second, -1);  // the frame itself is untouched
  gst_buffer_unref(out);
}

TEST_F(QuillOverlayHarness, VideoOfNoSizeIsAnErrorNotACrash) {
  gst_harness_set_src_caps_str(video, "video/x-raw,format=RGBx,width=0,height=0,framerate=10/1");
  GstBuffer* buffer = gst_harness_create_buffer(video, 16);
  GST_BUFFER_PTS(buffer) = 0;
  EXPECT_EQ(gst_harness_push(video, buffer), GST_FLOW_NOT_NEGOTIATED);
  GstMessage* message = gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR);
  ASSERT_NE(message, nullptr);
  EXPECT_NE(messageText(message).find("no picture"), std::string::npos) << messageText(message);
  gst_message_unref(message);
}

}  // namespace

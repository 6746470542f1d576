#include "GstTestSupport.h"

#include <gst/app/gstappsink.h>
#include <gst/video/video.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "gstreamer/QuillOverlay.h"

namespace QuillGstTest {

void startGstreamer() {
  static const bool started = [] {
    gst_init(nullptr, nullptr);
    return gst_plugin_register_static(GST_VERSION_MAJOR, GST_VERSION_MINOR, "quill",
                                      "Quill subtitle overlay (built in-process)",
                                      quill_overlay_plugin_init, "0", "Proprietary", "quill",
                                      "quill", "Quill");
  }();
  ASSERT_TRUE(started);
}

std::string overlayProperties() {
  return std::string("module=\"") + QUILL_MODULE_PATH + "\" font=\"DejaVu Sans:0::::\"";
}

Pipeline::Pipeline(const std::string& description) {
  GError* error = nullptr;
  pipeline_ = gst_parse_launch(description.c_str(), &error);
  EXPECT_EQ(error, nullptr) << (error ? error->message : "") << "\n" << description;
  if (error) g_error_free(error);
  if (pipeline_) sink_ = gst_bin_get_by_name(GST_BIN(pipeline_), "out");
}

Pipeline::~Pipeline() {
  if (!pipeline_) return;
  gst_element_set_state(pipeline_, GST_STATE_NULL);
  if (sink_) gst_object_unref(sink_);
  gst_object_unref(pipeline_);
}

GstStateChangeReturn Pipeline::setState(GstState state) {
  if (!pipeline_) return GST_STATE_CHANGE_FAILURE;
  const GstStateChangeReturn result = gst_element_set_state(pipeline_, state);
  if (result == GST_STATE_CHANGE_FAILURE) return result;
  return gst_element_get_state(pipeline_, nullptr, nullptr, 20 * GST_SECOND);
}

bool Pipeline::pull(Frame& frame) {
  if (!sink_) return false;
  GstSample* sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink_), 20 * GST_SECOND);
  if (!sample) return false;
  GstVideoInfo info;
  gst_video_info_from_caps(&info, gst_sample_get_caps(sample));
  GstBuffer* buffer = gst_sample_get_buffer(sample);
  frame = Frame();
  frame.pts = GST_BUFFER_PTS(buffer);
  frame.width = GST_VIDEO_INFO_WIDTH(&info);
  frame.height = GST_VIDEO_INFO_HEIGHT(&info);
  frame.overlayMeta = gst_buffer_get_video_overlay_composition_meta(buffer) != nullptr;
  GstVideoFrame mapped;
  if (gst_video_frame_map(&mapped, &info, buffer, GST_MAP_READ)) {
    const auto rowBytes = static_cast<std::size_t>(frame.width) * 4;
    frame.pixels.resize(rowBytes * frame.height);
    for (int y = 0; y < frame.height; ++y) {
      const auto* row = static_cast<const std::uint8_t*>(GST_VIDEO_FRAME_PLANE_DATA(&mapped, 0)) +
                        std::size_t(y) * GST_VIDEO_FRAME_PLANE_STRIDE(&mapped, 0);
      std::copy_n(row, rowBytes, frame.pixels.begin() + std::ptrdiff_t(y * rowBytes));
    }
    gst_video_frame_unmap(&mapped);
  }
  gst_sample_unref(sample);
  return true;
}

void Pipeline::collectMessages(Outcome& outcome) {
  GstBus* bus = gst_element_get_bus(pipeline_);
  while (GstMessage* message = gst_bus_pop_filtered(
             bus, static_cast<GstMessageType>(GST_MESSAGE_ERROR | GST_MESSAGE_WARNING | GST_MESSAGE_EOS))) {
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS) {
      outcome.ended = true;
    } else {
      (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR ? outcome.errors : outcome.warnings)
          .push_back(messageText(message));
    }
    gst_message_unref(message);
  }
  gst_object_unref(bus);
}

Outcome Pipeline::runToEnd() {
  Outcome outcome;
  if (setState(GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE) {
    Frame frame;
    while (pull(frame)) outcome.frames.push_back(std::move(frame));
    outcome.ended = sink_ && gst_app_sink_is_eos(GST_APP_SINK(sink_));
  }
  collectMessages(outcome);
  return outcome;
}

bool Pipeline::seek(GstClockTime position) {
  const bool sent = gst_element_seek_simple(
      pipeline_, GST_FORMAT_TIME,
      static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), position);
  return sent && gst_element_get_state(pipeline_, nullptr, nullptr, 20 * GST_SECOND) !=
                     GST_STATE_CHANGE_FAILURE;
}

std::string messageText(GstMessage* message) {
  GError* error = nullptr;
  gchar* debug = nullptr;
  if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) gst_message_parse_error(message, &error, &debug);
  else gst_message_parse_warning(message, &error, &debug);
  const std::string text = std::string(error->message) + " (" + (debug ? debug : "") + ")";
  g_error_free(error);
  g_free(debug);
  return text;
}

std::string writeFile(const TestSupport::TempFolder& folder, const std::string& name,
                      const std::string& contents) {
  const std::string path = (folder.path() / name).string();
  std::ofstream(path, std::ios::binary) << contents;
  return path;
}

Frame loadPng(const std::string& path) {
  Pipeline pipeline("filesrc location=\"" + path +
                    "\" ! pngdec ! videoconvert ! video/x-raw,format=RGBA ! appsink name=out sync=false");
  Frame frame;
  pipeline.setState(GST_STATE_PLAYING);
  EXPECT_TRUE(pipeline.pull(frame)) << path;
  return frame;
}

int differingPixels(const Frame& a, const Frame& b, int tolerance) {
  if (a.width != b.width || a.height != b.height) return a.width * a.height + 1;
  int count = 0;
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      for (int c = 0; c < 3; ++c) {
        if (std::abs(a.at(x, y)[c] - b.at(x, y)[c]) > tolerance) {
          ++count;
          break;
        }
      }
    }
  }
  return count;
}

int pixelsOtherThan(const Frame& frame, const std::uint8_t (&rgb)[3]) {
  int count = 0;
  for (std::size_t i = 0; i < frame.pixels.size(); i += 4) {
    if (frame.pixels[i] != rgb[0] || frame.pixels[i + 1] != rgb[1] || frame.pixels[i + 2] != rgb[2]) {
      ++count;
    }
  }
  return count;
}

}  // namespace QuillGstTest

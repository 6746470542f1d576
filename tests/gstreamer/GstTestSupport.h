#pragma once
// Running GStreamer pipelines with quilloverlay in them, the element registered from the
// build in-process, and collecting what comes out: frames, messages, the end of stream.
#include <gst/gst.h>

#include <cstdint>
#include <string>
#include <vector>

#include "../support/TempFolder.h"

namespace QuillGstTest {

/// Initialises GStreamer once per program and registers the plug-in built here.
void startGstreamer();

/// The element's properties every test gives: the built module and a font that exists.
std::string overlayProperties();

/// One frame as the pipeline's appsink received it, rows packed, 4 bytes per pixel.
struct Frame {
  GstClockTime pts = GST_CLOCK_TIME_NONE;
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;
  bool overlayMeta = false;  ///< carried a GstVideoOverlayCompositionMeta

  const std::uint8_t* at(int x, int y) const { return pixels.data() + (std::size_t(y) * width + x) * 4; }
};

/// What a pipeline did until it ended (end of stream, error, or the time-out).
struct Outcome {
  std::vector<Frame> frames;
  std::vector<std::string> errors;    ///< "message (debug)" of each error
  std::vector<std::string> warnings;  ///< likewise for warnings
  bool ended = false;                 ///< reached the end of stream
};

/// Keeps a pipeline and pulls from its appsink "out" (which must have sync=false).
class Pipeline {
 public:
  /// Parses `description`; a test failure when it cannot be built.
  explicit Pipeline(const std::string& description);
  ~Pipeline();
  Pipeline(const Pipeline&) = delete;
  Pipeline& operator=(const Pipeline&) = delete;

  GstElement* element() const { return pipeline_; }
  /// Sets the state and waits for it; answers what the state change answered.
  GstStateChangeReturn setState(GstState state);
  /// The next frame, or false at the end of stream (or after 20 s).
  bool pull(Frame& frame);
  /// Pulls every frame until the end, then collects the bus's errors and warnings.
  Outcome runToEnd();
  /// A flushing, accurate seek to `position`; waits until it is done.
  bool seek(GstClockTime position);
  /// Errors and warnings posted so far.
  void collectMessages(Outcome& outcome);

 private:
  GstElement* pipeline_ = nullptr;
  GstElement* sink_ = nullptr;
};

/// "message (debug)" of an error or warning message.
std::string messageText(GstMessage* message);

/// Writes `contents` into `folder`/`name` and answers the path.
std::string writeFile(const TestSupport::TempFolder& folder, const std::string& name,
                      const std::string& contents);

/// The PNG file at `path` decoded to RGBA, as a frame.
Frame loadPng(const std::string& path);

/// Pixels in which `a` and `b` (same size) differ by more than `tolerance` in any of the
/// first three channels.
int differingPixels(const Frame& a, const Frame& b, int tolerance);

/// Pixels of `frame` whose first three channels are not exactly `rgb`.
int pixelsOtherThan(const Frame& frame, const std::uint8_t (&rgb)[3]);

}  // namespace QuillGstTest

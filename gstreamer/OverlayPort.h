#pragma once
// The downstream port the element connects to the component's output: each image becomes
// a GstVideoOverlayComposition placed where the component placed it on the video frame.
// It answers the component's frame-size queries with the video's size, so that the
// component's frame is exactly the video's.
//
// Images are tagged: the component copies descriptor word 2 of a subtitle sample into
// the image it draws for it, so an image, also a re-render from the component's worker
// thread after a style change, says which subtitle it shows.
//
// Threads: the component calls it from the thread that delivers samples and from its
// worker thread while the element reads it; every operation is thread-safe.
#include <gst/video/video.h>

#include <cstdint>
#include <mutex>

#include "framework/PortInterface.h"

namespace QuillGst {

/// A composition of one subtitle (null when nothing was drawn) and what it shows.
struct TaggedOverlay {
  std::uint32_t subtitle = 0;  ///< the tag of the sample it was drawn for
  std::uint64_t serial = 0;    ///< grows with every image; 0 before the first
  GstVideoOverlayComposition* composition = nullptr;  ///< a reference the holder owns
};

class OverlayPort : public Orb::PortInterface {
 public:
  OverlayPort() = default;
  ~OverlayPort() override;
  OverlayPort(const OverlayPort&) = delete;
  OverlayPort& operator=(const OverlayPort&) = delete;

  /// The video frame's size in pixels: the answers to the size queries and the frame the
  /// placement is measured on.
  void setFrameSize(int width, int height);

  bool query(std::uint32_t code, const Orb::PropertyValue* value) override;
  bool control(std::uint32_t code, const Orb::PropertyValue* value) override;
  bool getValue(std::uint32_t code, Orb::PropertyValue* value) override;
  /// MESSAGE_SAMPLE: the ImageBuffer becomes the latest overlay and is given back at once.
  bool deliver(std::uint32_t code, const Orb::PropertyValue* value) override;

  /// The latest overlay when it was drawn for `subtitle` and is newer than `serial`;
  /// otherwise one with serial 0. The caller owns the composition reference it answers.
  TaggedOverlay newerThan(std::uint32_t subtitle, std::uint64_t serial) const;

 private:
  mutable std::mutex mutex_;
  int frameWidth_ = 0;
  int frameHeight_ = 0;
  TaggedOverlay latest_;
};

}  // namespace QuillGst

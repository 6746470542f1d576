#pragma once
// The downstream port quill-render connects to the component's output: each image is
// turned into straight RGBA the moment it arrives and its buffer given straight back, so
// a film's worth of subtitles never piles up in memory. It answers the size queries with
// the frame size, as an engine tells its sources how large the picture is.
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "framework/ImageProperties.h"
#include "framework/PortInterface.h"
#include "tools/Manifest.h"
#include "tools/PixelFormat.h"
#include "tools/RgbaImage.h"

namespace QuillRender {

/// One image as the component delivered it.
struct DeliveredImage {
  bool drawn = false;     ///< something of the region lies in the buffer
  RgbaImage pixels;       ///< the drawn region, straight RGBA; empty when not drawn or not kept
  Box<int> region;        ///< as reported, in buffer pixels
  Box<double> placement;  ///< as reported, in normalised frame coordinates
  std::vector<ManifestLine> lines;  ///< as the component laid them out
};

class ImageSink : public Orb::PortInterface {
 public:
  /// `format` is the output port's; `frameWidth` and `frameHeight` answer the queries.
  /// Without `keepPixels` only where the image was drawn is kept, not its pixels.
  ImageSink(PixelFormat format, std::int32_t frameWidth, std::int32_t frameHeight,
            bool keepPixels);

  bool query(std::uint32_t code, const Orb::PropertyValue* value) override;
  bool control(std::uint32_t code, const Orb::PropertyValue* value) override;
  bool getValue(std::uint32_t code, Orb::PropertyValue* value) override;
  /// Takes MESSAGE_SAMPLE (an ImageBuffer, released here), MESSAGE_SUBTITLE_LINES (kept
  /// for the image that follows) and MESSAGE_IMAGE_PROPERTIES.
  bool deliver(std::uint32_t code, const Orb::PropertyValue* value) override;

  /// The image delivered since the last call, if any; the sink forgets it.
  std::optional<DeliveredImage> take();

 private:
  PixelFormat format_;
  std::int32_t frameWidth_;
  std::int32_t frameHeight_;
  bool keepPixels_;
  std::mutex mutex_;  // the worker thread of the component may deliver too
  std::optional<DeliveredImage> latest_;
  std::vector<ManifestLine> lines_;  // told for the next image
};

}  // namespace QuillRender

#pragma once
// Writes the image files of one rendered event (NNNN.png and, with --frames,
// NNNN-frame.png) and notes them in its manifest entry. It changes nothing of its own
// after construction, so the threads of a parallel run share one.
#include <string>

#include "tools/ImageSink.h"
#include "tools/Manifest.h"
#include "tools/Options.h"
#include "tools/PngFile.h"
#include "tools/RgbaImage.h"

namespace QuillRender {

class ImageWriter {
 public:
  /// `options` must outlive the writer; `background` is the picture behind the frames,
  /// already of the frame size (unused without --frames).
  ImageWriter(const RenderOptions& options, RgbaImage background);

  /// Fills in `entry` (whose event is set) for the delivered `image` and writes its
  /// files, unless nothing was drawn or images are discarded. With --bdn-xml the image is
  /// cut to the frame, as a disc's graphics must lie inside it. False with a one-line
  /// `error` when a file cannot be written.
  bool write(const DeliveredImage& image, ManifestEvent& entry, std::string& error) const;

 private:
  bool writeFrame(const DeliveredImage& image, int x, int y, ManifestEvent& entry,
                  std::string& error) const;

  const RenderOptions& options_;
  const RgbaImage background_;
  const PngEncoding frameEncoding_;  // RGB when the background leaves nothing transparent
};

}  // namespace QuillRender

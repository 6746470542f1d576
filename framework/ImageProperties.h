#pragma once
// How big an image is, where its drawn region lies in pixels and where that region
// belongs on the video frame.
#include <cstdint>

#include "framework/Properties.h"
#include "framework/RectFloat.h"
#include "framework/RectInt.h"

namespace Orb {

class ImageProperties : public Properties {
 public:
  std::int32_t width = 0;   ///< pixels
  std::int32_t height = 0;  ///< pixels
  std::int32_t hostWord1 = 1;  ///< the host's; copied, never interpreted
  std::int32_t hostWord2 = 1;
  std::int32_t hostWord3 = 1;
  /// Where the drawn box goes on the frame, 0 to 1 across it; no size when nothing was drawn.
  RectFloat placement;
  /// The image in buffer pixels, edges inclusive: the drawn box and one column and row
  /// past it that the component never writes (README.md, "Geometry").
  RectInt region;
  std::int32_t stride = 0;     ///< pixels per buffer row
  std::int32_t hostWord4 = 0;  ///< the host's; not used by components
};

}  // namespace Orb

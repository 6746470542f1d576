#pragma once
// A rectangle in normalised frame coordinates (0 to 1 across the frame, top at 0); the
// far edges are exclusive.
#include "framework/Rect.h"

namespace Orb {

class RectFloat : public Rect<double> {
 public:
  RectFloat() = default;
  RectFloat(double leftEdge, double topEdge, double rightEdge, double bottomEdge)
      : Rect<double>(leftEdge, topEdge, rightEdge, bottomEdge) {}

  double width() const override { return right - left; }
  double height() const override { return bottom - top; }
};

}  // namespace Orb

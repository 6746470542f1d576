#pragma once
// A pixel rectangle whose right and bottom edges are inclusive: (0, 0, 639, 479) is
// 640 x 480 pixels. The frame and an image's region both follow this (README.md,
// "Geometry").
#include "framework/Rect.h"

namespace Orb {

class RectInt : public Rect<int> {
 public:
  RectInt() = default;
  RectInt(int leftEdge, int topEdge, int rightEdge, int bottomEdge)
      : Rect<int>(leftEdge, topEdge, rightEdge, bottomEdge) {}

  int width() const override { return right - left + 1; }
  int height() const override { return bottom - top + 1; }
};

}  // namespace Orb

#pragma once
// A rectangle by its four edges. How width and height follow from the edges depends on
// whether the far edges are inclusive (RectInt) or not (RectFloat).

namespace Orb {

template <typename T>
class Rect {
 public:
  Rect() = default;
  Rect(T leftEdge, T topEdge, T rightEdge, T bottomEdge)
      : left(leftEdge), top(topEdge), right(rightEdge), bottom(bottomEdge) {}
  Rect(const Rect&) = default;
  Rect& operator=(const Rect&) = default;
  virtual ~Rect() = default;

  virtual T width() const = 0;
  virtual T height() const = 0;

  bool operator==(const Rect& other) const {
    return left == other.left && top == other.top && right == other.right &&
           bottom == other.bottom;
  }
  bool operator!=(const Rect& other) const { return !(*this == other); }

  T left = T();
  T top = T();
  T right = T();
  T bottom = T();
};

}  // namespace Orb

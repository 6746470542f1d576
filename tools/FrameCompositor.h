#pragma once
// Builds the preview frames of --frames: a background of the configured frame size with
// one subtitle image laid over it where the component placed it.
#include <cstdint>

#include "tools/RgbaImage.h"

namespace QuillRender {

/// Mid grey: light enough to show a black outline, dark enough to show yellow text.
constexpr std::uint8_t kNeutralGrey = 0x60;

/// An opaque frame of `width` by `height` in the neutral grey.
RgbaImage neutralBackground(int width, int height);

/// `image` stretched or shrunk to `width` by `height` (nearest pixel), so that any
/// background picture fills the frame; an empty image gives the neutral background.
RgbaImage fitBackground(const RgbaImage& image, int width, int height);

/// Cuts `image`, whose top-left pixel lies at (`x`, `y`) on a `frameWidth` x
/// `frameHeight` frame, to its part inside the frame, moving (`x`, `y`) with it. False,
/// leaving all as it was, when no part of it is inside.
bool cutToFrame(RgbaImage& image, int& x, int& y, int frameWidth, int frameHeight);

/// Lays `subtitle` over `frame` with its top-left pixel at (x, y), blending by the
/// subtitle's alpha ("over"); whatever falls outside the frame is cut off.
void compositeOver(RgbaImage& frame, const RgbaImage& subtitle, int x, int y);

}  // namespace QuillRender

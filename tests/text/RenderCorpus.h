#pragma once
// A varied sequence of renders for comparing two renderers output for output: every markup
// feature, all byte orders, several fonts and sizes, synthetic italic, fonts from memory,
// base-style changes between subtitles and hostile markup.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "text/TextRendererInterface.h"

namespace RenderCorpus {

/// One way of creating the renderer the whole sequence runs on.
struct RendererSetup {
  std::string name;
  std::function<std::unique_ptr<Orb::TextRendererInterface>()> create;
};

/// One render, after an optional change to the renderer's base style.
struct RenderCase {
  RenderCase(std::string text, std::uint32_t pixelFormat = 0, std::uint32_t width = 1152,
             std::uint32_t height = 144,
             std::function<void(Orb::TextRendererInterface&)> baseChange = nullptr)
      : subtitle(std::move(text)), format(pixelFormat), maxWidth(width), maxHeight(height),
        change(std::move(baseChange)) {}
  std::string subtitle;
  std::uint32_t format;
  std::uint32_t maxWidth;
  std::uint32_t maxHeight;
  std::function<void(Orb::TextRendererInterface&)> change;  // may be empty
};

/// What one render handed back: the result, the box and every byte of the buffer.
struct RenderOutput {
  bool rendered = false;
  std::uint32_t width = 0, height = 0, xOffset = 0, yOffset = 0, stride = 0;
  std::vector<std::uint8_t> bytes;
  bool operator==(const RenderOutput& other) const;
};

/// A face lookup over the DejaVu files: bold finds the bold file, italic only ever an
/// upright one (so it is sheared), "Serif" families the serif file.
Orb::FaceLookup* dejaVuLookup();
/// Renderers from a file, a family lookup (with synthetic italic), bytes and a collection.
std::vector<RendererSetup> renderers();
/// The sequence, ending with its first renders repeated once every glyph has been seen.
std::vector<RenderCase> cases();
/// Applies the case's base-style change, then renders into a buffer whose stride is padded
/// past the canvas width and whose bytes start non-zero, so that anything left uncleared
/// shows in the output.
RenderOutput render(Orb::TextRendererInterface& renderer, const RenderCase& render);

}  // namespace RenderCorpus

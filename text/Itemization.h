#pragma once
// Itemisation, the stage between face resolution and shaping: one paragraph cut into runs
// that HarfBuzz can shape at once, each of one font at one size, one script and one
// direction. Colours and lines do not cut runs, so kerning and joining carry across them.
#include <cstddef>
#include <cstdint>
#include <vector>

#include <hb.h>

#include "text/BidiParagraph.h"
#include "text/FontResolution.h"
#include "text/StyledText.h"

namespace Orb {

struct ShapingRun {
  std::size_t begin = 0;  ///< code points [begin, end) of StyledText::text
  std::size_t end = 0;
  const FontRecord* font = nullptr;  ///< has a face; held by the subtitle's ResolvedFonts
  std::int32_t size = 0;
  hb_script_t script = HB_SCRIPT_COMMON;
  std::uint8_t level = 0;  ///< bidirectional level; odd runs right to left
};

/// The runs of the paragraph [begin, end) of `text`, whose levels `bidi` holds (its index 0
/// is `begin`), in logical order.
std::vector<ShapingRun> itemize(const StyledText& text, const ResolvedFonts& fonts,
                                std::size_t begin, std::size_t end, const BidiParagraph& bidi);

/// The run of `text` holding code point `index` (which must be inside the text).
const StyledRun& styledRunAt(const StyledText& text, std::size_t index);

}  // namespace Orb

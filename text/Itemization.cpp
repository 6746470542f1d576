#include "text/Itemization.h"

#include <algorithm>

namespace Orb {

namespace {

// A script of its own, as opposed to one shared with others (digits, punctuation) or taken
// from the character before (combining marks).
bool isRealScript(hb_script_t script) {
  return script != HB_SCRIPT_COMMON && script != HB_SCRIPT_INHERITED && script != HB_SCRIPT_UNKNOWN;
}

// The script of each code point of [begin, end): shared and inherited ones take the script
// before them, or, at the start, the first real script after.
std::vector<hb_script_t> scriptsOf(const std::u32string& text, std::size_t begin, std::size_t end) {
  hb_unicode_funcs_t* unicode = hb_unicode_funcs_get_default();
  std::vector<hb_script_t> scripts(end - begin);
  hb_script_t current = HB_SCRIPT_COMMON;
  for (std::size_t i = begin; i < end; ++i) {
    const hb_script_t script = hb_unicode_script(unicode, text[i]);
    if (isRealScript(script)) {
      if (!isRealScript(current)) {
        // The leading shared characters join the first real script.
        for (std::size_t j = begin; j < i && !isRealScript(scripts[j - begin]); ++j) scripts[j - begin] = script;
      }
      current = script;
    }
    scripts[i - begin] = current;
  }
  return scripts;
}

}  // namespace

const StyledRun& styledRunAt(const StyledText& text, std::size_t index) {
  const auto after = std::upper_bound(text.runs.begin(), text.runs.end(), index,
                                      [](std::size_t at, const StyledRun& run) { return at < run.begin; });
  return *(after - 1);
}

std::vector<ShapingRun> itemize(const StyledText& text, const ResolvedFonts& fonts,
                                std::size_t begin, std::size_t end, const BidiParagraph& bidi) {
  std::vector<ShapingRun> runs;
  const std::vector<hb_script_t> scripts = scriptsOf(text.text, begin, end);
  const StyledRun* styled = begin < end ? &styledRunAt(text, begin) : nullptr;
  for (std::size_t i = begin; i < end; ++i) {
    if (i >= styled->end) ++styled;
    ShapingRun here;
    here.begin = i;
    here.end = i + 1;
    here.font = fonts.ofRequest[styled->style.font].get();
    here.size = styled->style.size;
    here.script = scripts[i - begin];
    here.level = bidi.level(i - begin);
    if (!runs.empty()) {
      ShapingRun& last = runs.back();
      if (last.font == here.font && last.size == here.size && last.script == here.script &&
          last.level == here.level) {
        last.end = here.end;
        continue;
      }
    }
    runs.push_back(here);
  }
  return runs;
}

}  // namespace Orb

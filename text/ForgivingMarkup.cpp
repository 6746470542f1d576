#include "text/ForgivingMarkup.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "text/CharacterReference.h"
#include "text/MarkupCharacters.h"
#include "text/MarkupColour.h"
#include "text/MarkupTag.h"
#include "text/OverrideBlock.h"
#include "text/PixelSize.h"
#include "text/Utf.h"

namespace Orb {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);
constexpr char32_t kNoBreakSpace = 0xA0;

// Size values saturate here: far beyond the largest pixel size, far below overflow.
constexpr std::int64_t kSizeLimit = 1 << 20;

enum class Level { Base, Bold, Italic, Underline, StrikeOut, Font };

// One open level of markup and the style inside it.
struct Open {
  Level level;
  TextStyle style;
  bool bold;
  bool italic;
  std::size_t source;  // the request whose family and font file the level's font takes
};

std::optional<Level> levelNamed(std::u32string_view name) {
  if (sameName(name, "b")) return Level::Bold;
  if (sameName(name, "i")) return Level::Italic;
  if (sameName(name, "u")) return Level::Underline;
  if (sameName(name, "s")) return Level::StrikeOut;
  if (sameName(name, "font")) return Level::Font;
  return std::nullopt;
}

std::optional<std::int64_t> decimal(std::u32string_view digits) {
  if (digits.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (const char32_t c : digits) {
    if (c < U'0' || c > U'9') return std::nullopt;
    value = std::min(value * 10 + static_cast<std::int64_t>(c - U'0'), kSizeLimit);
  }
  return value;
}

class Reader {
 public:
  Reader(std::u32string_view source, const MarkupBase& markupBase)
      : text(source), base(markupBase) {
    levels.push_back(Open{Level::Base, base.style, base.bold, base.italic, 0});
    styled.fonts.push_back(FontRequest{0, std::nullopt, base.bold, base.italic});
  }

  StyledText read() {
    std::size_t at = 0;
    while (at < text.size()) {
      const char32_t c = text[at];
      if ((c == U'<' && readTag(at)) || (c == U'{' && readBlock(at)) ||
          (c == U'&' && readReference(at)) || (c == U'\\' && readEscape(at))) {
        continue;
      }
      std::size_t end = at + 1;
      while (end < text.size() && !special(text[end])) ++end;
      emit(text.substr(at, end - at));
      at = end;
    }
    return std::move(styled);
  }

 private:
  static bool special(char32_t c) { return c == U'<' || c == U'{' || c == U'&' || c == U'\\'; }

  void emit(std::u32string_view characters) {
    const TextStyle& style = levels.back().style;
    const std::size_t at = styled.text.size();
    styled.text.append(characters);
    if (!styled.runs.empty() && styled.runs.back().style == style) {
      styled.runs.back().end = styled.text.size();
    } else {
      styled.runs.push_back(StyledRun{at, styled.text.size(), style});
    }
  }

  void emit(char32_t c) { emit(std::u32string_view(&c, 1)); }

  // The font drawing `source`'s family and file in the given style: an earlier request
  // when one asks the same, else a new one while the budget lasts; kNone after.
  std::size_t fontFor(std::size_t source, bool bold, bool italic) {
    const FontRequest& own = styled.fonts[source];
    if ((own.bold != 0) == bold && (own.italic != 0) == italic) return source;
    for (std::size_t i = 1; i < styled.fonts.size(); ++i) {
      const FontRequest& request = styled.fonts[i];
      if (request.parent == source && !request.family && (request.bold != 0) == bold &&
          (request.italic != 0) == italic) {
        return i;
      }
    }
    return addRequest(FontRequest{source, std::nullopt, bold, italic});
  }

  std::size_t addRequest(FontRequest request) {
    if (requestsLeft == 0) return kNone;
    --requestsLeft;
    styled.fonts.push_back(std::move(request));
    return styled.fonts.size() - 1;
  }

  void setWeightAndSlant(Open& open, bool bold, bool italic) {
    const std::size_t font = fontFor(open.source, bold, italic);
    if (font == kNone) return;
    open.bold = bold;
    open.italic = italic;
    open.style.font = font;
  }

  void setFamily(Open& open, std::u32string_view family) {
    std::string name;
    if (family.empty() || !encodeUtf8(family.data(), family.size(), name)) return;
    for (std::size_t i = 1; i < styled.fonts.size(); ++i) {
      const FontRequest& request = styled.fonts[i];
      if (request.parent == open.style.font && request.family == name &&
          (request.bold != 0) == open.bold && (request.italic != 0) == open.italic) {
        open.style.font = open.source = i;
        return;
      }
    }
    const std::size_t font =
        addRequest(FontRequest{open.style.font, std::move(name), open.bold, open.italic});
    if (font != kNone) open.style.font = open.source = font;
  }

  void setSize(Open& open, std::u32string_view value) {
    if (value.empty()) return;
    if (value.front() == U'+' || value.front() == U'-') {
      const auto steps = decimal(value.substr(1));
      if (!steps) return;
      const std::int64_t change = 2 * (value.front() == U'-' ? -*steps : *steps);
      open.style.size = boundPixelSize(std::int64_t{open.style.size} + change);
      return;
    }
    const auto pixels = decimal(value);
    if (!pixels) return;
    const std::int64_t lines = base.frameHeight;
    open.style.size = boundPixelSize((*pixels * lines + kMarkupReferenceLines / 2) / kMarkupReferenceLines);
  }

  void setFill(Open& open, const Colour& colour) {
    open.style.fill.red = colour.red;
    open.style.fill.green = colour.green;
    open.style.fill.blue = colour.blue;
  }

  void applyFontAttributes(Open& open) {
    // Colour and size first: the face request takes the style as it is after them.
    std::optional<std::u32string_view> family;
    for (const MarkupAttribute& attribute : tag.attributes) {
      const std::u32string_view value = trimBlanks(attribute.value);
      if (sameName(attribute.key, "color")) {
        if (base.overrideEmbeddedColour) continue;
        if (const auto colour = parseMarkupColour(value)) setFill(open, *colour);
      } else if (sameName(attribute.key, "size")) {
        if (!base.overrideEmbeddedFont) setSize(open, value);
      } else if (sameName(attribute.key, "face")) {
        if (!base.overrideEmbeddedFont) family = value;
      }
    }
    if (family) setFamily(open, *family);
  }

  void openLevel(Level level) {
    if (levels.size() >= ForgivingMarkupLimits::kMaxDepth) return;
    Open open = levels.back();
    open.level = level;
    switch (level) {
      case Level::Bold:
        setWeightAndSlant(open, true, open.italic);
        break;
      case Level::Italic:
        setWeightAndSlant(open, open.bold, true);
        break;
      case Level::Underline:
        open.style.underline = 1;
        break;
      case Level::StrikeOut:
        open.style.strikeOut = 1;
        break;
      case Level::Font:
        applyFontAttributes(open);
        break;
      case Level::Base:
        break;
    }
    levels.push_back(std::move(open));
  }

  void closeLevel(Level level) {
    for (std::size_t i = levels.size(); i-- > 1;) {
      if (levels[i].level == level) {
        levels.resize(i);
        return;
      }
    }
  }

  bool readTag(std::size_t& at) {
    if (!readMarkupTag(text, at, tag)) return false;
    at = tag.end;
    if (sameName(tag.name, "br")) {
      emit(U'\n');
    } else if (const auto level = levelNamed(tag.name)) {
      if (tag.closing) {
        closeLevel(*level);
      } else if (!tag.selfClosing) {
        openLevel(*level);
      }
    }
    return true;
  }

  // The first "}" at or after `from`, or npos; remembered, so that a text of many "{"
  // and no "}" is searched once.
  std::size_t closingBrace(std::size_t from) {
    if (!braceSearched || from < braceSearchFrom ||
        (braceFound != std::u32string_view::npos && braceFound < from)) {
      braceSearched = true;
      braceSearchFrom = from;
      braceFound = text.find(U'}', from);
    }
    return braceFound;
  }

  void applyOverride(const OverrideTag& override) {
    Open& open = levels.back();
    const auto switched = [&](std::uint8_t baseValue) {
      return override.value == OverrideTag::kBase ? baseValue != 0 : override.value != 0;
    };
    switch (override.kind) {
      case OverrideTag::Kind::Alignment:
        if (!styled.alignment) styled.alignment = override.value;
        break;
      case OverrideTag::Kind::Bold:
        setWeightAndSlant(open, switched(base.bold), open.italic);
        break;
      case OverrideTag::Kind::Italic:
        setWeightAndSlant(open, open.bold, switched(base.italic));
        break;
      case OverrideTag::Kind::Underline:
        open.style.underline = switched(base.style.underline) ? 1 : 0;
        break;
      case OverrideTag::Kind::StrikeOut:
        open.style.strikeOut = switched(base.style.strikeOut) ? 1 : 0;
        break;
      case OverrideTag::Kind::Colour:
        if (!base.overrideEmbeddedColour) setFill(open, override.colour.value_or(base.style.fill));
        break;
    }
  }

  bool readBlock(std::size_t& at) {
    const std::size_t close = closingBrace(at + 1);
    if (close == std::u32string_view::npos || at + 1 >= close || text[at + 1] != U'\\') {
      return false;
    }
    for (const OverrideTag& override : readOverrideBlock(text.substr(at + 1, close - at - 1))) {
      applyOverride(override);
    }
    at = close + 1;
    return true;
  }

  bool readReference(std::size_t& at) {
    const auto character = readCharacterReference(text, at, at);
    if (character) emit(*character);
    return character.has_value();
  }

  bool readEscape(std::size_t& at) {
    if (at + 1 >= text.size()) return false;
    const char32_t next = text[at + 1];
    if (next == U'N' || next == U'n') {
      emit(U'\n');
    } else if (next == U'h') {
      emit(kNoBreakSpace);
    } else {
      return false;
    }
    at += 2;
    return true;
  }

  const std::u32string_view text;
  const MarkupBase& base;
  std::vector<Open> levels;  // the base at the bottom
  std::size_t requestsLeft = ForgivingMarkupLimits::kFaceRequests;
  MarkupTag tag;  // the tag being read; kept for its attributes' storage
  std::size_t braceSearchFrom = 0;
  std::size_t braceFound = std::u32string_view::npos;
  bool braceSearched = false;
  StyledText styled;
};

}  // namespace

StyledText readForgivingMarkup(std::u32string_view text, const MarkupBase& base) {
  return Reader(text, base).read();
}

}  // namespace Orb

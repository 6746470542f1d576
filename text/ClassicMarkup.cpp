#include "text/ClassicMarkup.h"

#include <algorithm>
#include <optional>

#include "text/MarkupCharacters.h"
#include "text/PixelSize.h"
#include "text/Utf.h"

namespace Orb {

namespace {

constexpr char32_t kBlank = U' ';
constexpr char32_t kQuote = U'"';

// The size fold stops growing here: far beyond any pixel size, far below overflow.
constexpr std::int64_t kSizeStepLimit = 1 << 20;

// One tag's content, a range of the text.
struct Span {
  std::size_t begin;
  std::size_t end;
};

// The remembered values of one font tag; the style changes only once all are read.
struct FontAttributes {
  std::optional<Colour> colour;
  std::optional<std::string> family;
  std::int64_t sizeStep = 0;
};

class Reader {
 public:
  Reader(std::u32string_view source, const MarkupBase& markupBase)
      : text(source), base(markupBase) {
    styles.push_back(base.style);
    styled.fonts.push_back(FontRequest{});
  }

  StyledText read() {
    std::size_t position = 0;
    while (position < text.size()) {
      if (text[position] == U'<') {
        if (!processTag(position)) break;
      } else {
        const std::size_t tag = std::min(text.find(U'<', position), text.size());
        emit(position, tag);
        position = tag;
      }
    }
    return std::move(styled);
  }

 private:
  bool equals(Span span, const char32_t* word) const {
    std::size_t i = span.begin;
    for (; *word != 0; ++word, ++i) {
      if (i >= span.end || text[i] != *word) return false;
    }
    return i == span.end;
  }

  bool startsWith(Span span, const char32_t* word) const {
    std::size_t i = span.begin;
    for (; *word != 0; ++word, ++i) {
      if (i >= span.end || text[i] != *word) return false;
    }
    return true;
  }

  // Hands on the characters [begin, end) of the source, outside any tag, in the top style.
  void emit(std::size_t begin, std::size_t end) {
    const TextStyle& style = styles.back();
    const std::size_t at = styled.text.size();
    styled.text.append(text.substr(begin, end - begin));
    if (!styled.runs.empty() && styled.runs.back().style == style) {
      styled.runs.back().end = styled.text.size();
    } else {
      styled.runs.push_back(StyledRun{at, styled.text.size(), style});
    }
  }

  // Pushes a copy of the top style; false (nothing pushed) at the depth limit.
  bool push() {
    if (styles.size() >= ClassicMarkupLimits::kMaxDepth) return false;
    styles.push_back(styles.back());
    return true;
  }

  void pop() {
    if (styles.size() > 1) styles.pop_back();
  }

  // The pushed top style asks for a face of its own, derived from the enclosing font. Once
  // the subtitle's face requests are spent it keeps the enclosing font instead.
  void requestFace(std::optional<std::string> family, std::uint8_t bold, std::uint8_t italic) {
    if (faceRequestsLeft == 0) return;
    --faceRequestsLeft;
    TextStyle& top = styles.back();
    styled.fonts.push_back(FontRequest{top.font, std::move(family), bold, italic});
    top.font = styled.fonts.size() - 1;
  }

  std::int64_t foldSizeStep(Span value) const {
    // Every code point is folded as a digit, as subtitle files expect; the fold saturates.
    std::int64_t step = 0;
    for (std::size_t i = value.begin + 1; i < value.end; ++i) {
      step = step * 10 + (static_cast<std::int64_t>(text[i]) - U'0');
      step = std::clamp(step, -kSizeStepLimit, kSizeStepLimit);
    }
    return text[value.begin] == U'-' ? -step : step;
  }

  void interpretAttribute(Span name, Span value, FontAttributes& attributes) const {
    Colour colour;
    if (equals(name, U"color") && !base.overrideEmbeddedColour &&
        parseColour(&text[value.begin], value.end - value.begin, colour)) {
      attributes.colour = colour;
    } else if (equals(name, U"face") && !base.overrideEmbeddedFont) {
      std::string family;
      encodeUtf8(&text[value.begin], value.end - value.begin, family);
      attributes.family = std::move(family);
    } else if (equals(name, U"size") && !base.overrideEmbeddedFont) {
      if (value.end > value.begin && (text[value.begin] == U'+' || text[value.begin] == U'-')) {
        attributes.sizeStep = foldSizeStep(value);
      }
    }
  }

  // Reads name="value" pairs after "font". False when the list is malformed, which makes
  // the whole tag ignored.
  bool readFontAttributes(Span content, FontAttributes& attributes) const {
    std::size_t i = content.begin + 4;
    for (;;) {
      while (i < content.end && text[i] != kBlank) ++i;
      while (i < content.end && text[i] == kBlank) ++i;
      if (i >= content.end) return false;
      const std::size_t nameBegin = i;
      while (i < content.end && text[i] != U'=' && text[i] != kBlank) ++i;
      if (i >= content.end) return false;
      const Span name{nameBegin, i++};
      while (i < content.end && (text[i] == kBlank || text[i] == U'=')) ++i;
      if (i >= content.end) return false;
      const std::size_t valueBegin = i + 1;  // whatever stands here is taken as the quote
      std::size_t valueEnd = valueBegin;
      while (valueEnd < content.end && text[valueEnd] != kQuote) ++valueEnd;
      if (valueEnd >= content.end) return false;
      interpretAttribute(name, Span{valueBegin, valueEnd}, attributes);
      i = valueEnd + 1;
      if (i == content.end) return true;
    }
  }

  void applyFontTag(Span content) {
    FontAttributes attributes;
    if (!readFontAttributes(content, attributes)) return;
    if (!attributes.colour && !attributes.family && attributes.sizeStep == 0) return;
    if (!push()) return;
    TextStyle& top = styles.back();
    if (attributes.colour) {
      top.fill.red = attributes.colour->red;
      top.fill.green = attributes.colour->green;
      top.fill.blue = attributes.colour->blue;
    }
    top.size = boundPixelSize(static_cast<std::int64_t>(top.size) + 2 * attributes.sizeStep);
    if (attributes.family) requestFace(std::move(attributes.family), 0, 0);
  }

  void applyOpeningTag(Span content) {
    if (equals(content, U"i")) {
      if (push()) requestFace(std::nullopt, 0, 1);
    } else if (equals(content, U"b")) {
      if (push()) requestFace(std::nullopt, 1, 0);
    } else if (equals(content, U"u")) {
      if (push()) styles.back().underline = 1;
    } else if (equals(content, U"s")) {
      if (push()) styles.back().strikeOut = 1;
    } else if (startsWith(content, U"font ")) {
      applyFontTag(content);
    }
  }

  // Processes the tag whose "<" is at `position` and moves past it. False when it is
  // unterminated.
  bool processTag(std::size_t& position) {
    const std::size_t open = position;
    std::size_t close = open + 1;
    bool inQuotes = false;
    for (; close < text.size(); ++close) {
      if (text[close] == kQuote) {
        inQuotes = !inQuotes;
      } else if (text[close] == U'>' && !inQuotes) {
        break;
      }
    }
    if (close >= text.size()) return false;
    Span content{open + 1, close};
    bool closing = false;
    if (text[close - 1] == U'/') {
      content.end = close - 1;
      closing = true;
    } else if (content.begin < content.end && text[content.begin] == U'/') {
      closing = true;
    }
    position = close + 1;
    if (closing) {
      pop();
    } else {
      applyOpeningTag(content);
    }
    return true;
  }

  const std::u32string_view text;
  const MarkupBase& base;
  std::vector<TextStyle> styles;  // the style stack, base at the bottom
  std::size_t faceRequestsLeft = ClassicMarkupLimits::kFaceRequests;
  StyledText styled;
};

}  // namespace

StyledText readClassicMarkup(std::u32string_view text, const MarkupBase& base) {
  return Reader(text, base).read();
}

bool parseColour(const char32_t* value, std::size_t length, Colour& colour) {
  if (length != 7 || value[0] != U'#') return false;
  int digits[6];
  for (int i = 0; i < 6; ++i) {
    digits[i] = hexDigitValue(value[i + 1]);
    if (digits[i] < 0) return false;
  }
  colour.red = static_cast<std::uint8_t>(digits[0] * 16 + digits[1]);
  colour.green = static_cast<std::uint8_t>(digits[2] * 16 + digits[3]);
  colour.blue = static_cast<std::uint8_t>(digits[4] * 16 + digits[5]);
  return true;
}

}  // namespace Orb

#include "text/MarkupScanner.h"

#include <algorithm>
#include <optional>
#include <string>

#include "text/FaceResolver.h"
#include "text/Utf.h"

namespace Orb {

namespace {

constexpr char32_t kBlank = U' ';
constexpr char32_t kQuote = U'"';

// The size fold stops growing here: far beyond any pixel size, far below overflow.
constexpr std::int64_t kSizeStepLimit = 1 << 20;

// One tag's content, a range of the loaded text.
struct Span {
  std::size_t begin;
  std::size_t end;
};

bool equals(const std::vector<char32_t>& text, Span span, const char32_t* word) {
  std::size_t i = span.begin;
  for (; *word != 0; ++word, ++i) {
    if (i >= span.end || text[i] != *word) return false;
  }
  return i == span.end;
}

bool startsWith(const std::vector<char32_t>& text, Span span, const char32_t* word) {
  std::size_t i = span.begin;
  for (; *word != 0; ++word, ++i) {
    if (i >= span.end || text[i] != *word) return false;
  }
  return true;
}

int hexDigit(char32_t c) {
  if (c >= U'0' && c <= U'9') return static_cast<int>(c - U'0');
  if (c >= U'a' && c <= U'f') return static_cast<int>(c - U'a') + 10;
  if (c >= U'A' && c <= U'F') return static_cast<int>(c - U'A') + 10;
  return -1;
}

// Face opens are budgeted per subtitle; once spent, pushed styles keep the enclosing font.
void resolvePushedFont(RenderContext& context) {
  StyleNode& top = context.styles.top();
  StyleNode* lower = context.styles.belowTop();
  bool resolved = false;
  if (context.faceOpensLeft > 0) {
    --context.faceOpensLeft;
    resolved = resolveFace(context, *top.font);
  }
  if (!resolved && lower != nullptr) top.font = lower->font;
}

void applyStyleTag(RenderContext& context, std::uint8_t StyleNode::*flag) {
  if (!context.styles.push(false)) return;
  context.styles.top().*flag = 1;
}

void applyFaceTag(RenderContext& context, std::uint8_t FontRecord::*flag) {
  if (!context.styles.push(true)) return;
  context.styles.top().font.get()->*flag = 1;
  resolvePushedFont(context);
  applyPixelSize(context.styles.top());
}

// The remembered values of one font tag; the style changes only once all are read.
struct FontAttributes {
  std::optional<Colour> colour;
  std::optional<std::string> family;
  std::int64_t sizeStep = 0;
};

std::int64_t foldSizeStep(const std::vector<char32_t>& text, Span value) {
  // Every code point is folded as a digit, as subtitle files expect; the fold saturates.
  std::int64_t step = 0;
  for (std::size_t i = value.begin + 1; i < value.end; ++i) {
    step = step * 10 + (static_cast<std::int64_t>(text[i]) - U'0');
    step = std::clamp(step, -kSizeStepLimit, kSizeStepLimit);
  }
  return text[value.begin] == U'-' ? -step : step;
}

void interpretAttribute(const RenderContext& context, Span name, Span value,
                        FontAttributes& attributes) {
  const std::vector<char32_t>& text = context.text;
  const StyleNode& top = context.styles.top();
  Colour colour;
  if (equals(text, name, U"color") && !top.overrideEmbeddedColour &&
      parseColour(&text[value.begin], value.end - value.begin, colour)) {
    attributes.colour = colour;
  } else if (equals(text, name, U"face") && !top.overrideEmbeddedFont) {
    std::string family;
    encodeUtf8(&text[value.begin], value.end - value.begin, family);
    attributes.family = std::move(family);
  } else if (equals(text, name, U"size") && !top.overrideEmbeddedFont) {
    if (value.end > value.begin && (text[value.begin] == U'+' || text[value.begin] == U'-')) {
      attributes.sizeStep = foldSizeStep(text, value);
    }
  }
}

// Reads name="value" pairs after "font". False when the list is malformed, which makes
// the whole tag ignored.
bool readFontAttributes(RenderContext& context, Span content, FontAttributes& attributes) {
  std::vector<char32_t>& text = context.text;
  std::size_t i = content.begin + 4;
  for (;;) {
    while (i < content.end && text[i] != kBlank) ++i;
    while (i < content.end && text[i] == kBlank) ++i;
    if (i >= content.end) return false;
    const std::size_t nameBegin = i;
    while (i < content.end && text[i] != U'=' && text[i] != kBlank) ++i;
    if (i >= content.end) return false;
    const Span name{nameBegin, i};
    text[i++] = 0;
    while (i < content.end && (text[i] == kBlank || text[i] == U'=')) ++i;
    if (i >= content.end) return false;
    const std::size_t valueBegin = i + 1;  // whatever stands here is taken as the quote
    std::size_t valueEnd = valueBegin;
    while (valueEnd < content.end && text[valueEnd] != kQuote) ++valueEnd;
    if (valueEnd >= content.end) return false;
    text[valueEnd] = 0;
    interpretAttribute(context, name, Span{valueBegin, valueEnd}, attributes);
    i = valueEnd + 1;
    if (i == content.end) return true;
  }
}

void applyFontTag(RenderContext& context, Span content) {
  FontAttributes attributes;
  if (!readFontAttributes(context, content, attributes)) return;
  if (!attributes.colour && !attributes.family && attributes.sizeStep == 0) return;
  const bool familyRequested = attributes.family.has_value();
  if (!context.styles.push(familyRequested)) return;
  StyleNode& top = context.styles.top();
  if (attributes.colour) {
    top.fillColour.red = attributes.colour->red;
    top.fillColour.green = attributes.colour->green;
    top.fillColour.blue = attributes.colour->blue;
  }
  if (attributes.family) top.font->family = std::move(attributes.family);
  top.size = boundPixelSize(static_cast<std::int64_t>(top.size) + 2 * attributes.sizeStep);
  if (familyRequested) {
    resolvePushedFont(context);
    applyPixelSize(context.styles.top());
  } else if (attributes.sizeStep != 0) {
    applyPixelSize(top);
  }
}

void applyOpeningTag(RenderContext& context, Span content) {
  const std::vector<char32_t>& text = context.text;
  if (equals(text, content, U"i")) {
    applyFaceTag(context, &FontRecord::italic);
  } else if (equals(text, content, U"b")) {
    applyFaceTag(context, &FontRecord::bold);
  } else if (equals(text, content, U"u")) {
    applyStyleTag(context, &StyleNode::underline);
  } else if (equals(text, content, U"s")) {
    applyStyleTag(context, &StyleNode::strikeOut);
  } else if (startsWith(text, content, U"font ")) {
    applyFontTag(context, content);
  }
}

// Processes the tag whose "<" is at the read position. False when it is unterminated.
bool processTag(RenderContext& context) {
  std::vector<char32_t>& text = context.text;
  const std::size_t open = context.position;
  std::size_t close = open + 1;
  bool inQuotes = false;
  for (; close < context.length; ++close) {
    if (text[close] == kQuote) {
      inQuotes = !inQuotes;
    } else if (text[close] == U'>' && !inQuotes) {
      break;
    }
  }
  if (close >= context.length) return false;
  Span content{open + 1, close};
  bool closing = false;
  if (text[close - 1] == U'/') {
    text[close - 1] = 0;
    content.end = close - 1;
    closing = true;
  } else if (content.begin < content.end && text[content.begin] == U'/') {
    ++content.begin;
    text[close] = 0;
    closing = true;
  }
  context.position = close + 1;
  if (closing) {
    context.styles.pop();
  } else {
    applyOpeningTag(context, content);
  }
  return true;
}

}  // namespace

bool loadText(RenderContext& context, const char* utf8, std::size_t byteLength) {
  context.position = 0;
  context.styles.popAll();
  context.faceOpensLeft = MarkupLimits::kFaceOpensPerSubtitle;
  if (!decodeUtf8(utf8, byteLength, context.text)) context.text.clear();
  context.text.push_back(0);
  context.length = static_cast<std::size_t>(
      std::find(context.text.begin(), context.text.end(), U'\0') - context.text.begin());
  return context.length > 0;
}

bool nextCharacter(RenderContext& context, char32_t& codePoint) {
  if (context.position >= context.length) return false;
  while (context.position < context.length && context.text[context.position] == U'<') {
    if (!processTag(context)) return false;
  }
  if (context.position >= context.length) return false;
  codePoint = context.text[context.position++];
  return true;
}

bool parseColour(const char32_t* value, std::size_t length, Colour& colour) {
  if (length != 7 || value[0] != U'#') return false;
  int digits[6];
  for (int i = 0; i < 6; ++i) {
    digits[i] = hexDigit(value[i + 1]);
    if (digits[i] < 0) return false;
  }
  colour.red = static_cast<std::uint8_t>(digits[0] * 16 + digits[1]);
  colour.green = static_cast<std::uint8_t>(digits[2] * 16 + digits[3]);
  colour.blue = static_cast<std::uint8_t>(digits[4] * 16 + digits[5]);
  return true;
}

}  // namespace Orb

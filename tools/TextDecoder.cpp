#include "tools/TextDecoder.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

#include "tools/ByteOrderMark.h"
#include "tools/CharsetConverter.h"
#include "tools/CharsetDetector.h"

namespace QuillRender {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr const char* kCommonCharsets =
    "WINDOWS-1252 (Western European), WINDOWS-1250 (Central European) or WINDOWS-1251 "
    "(Cyrillic)";
constexpr std::size_t kBytesShown = 4;

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool isUnicodeForm(const std::string& charset) {
  std::string upper;
  for (const char c : charset) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return startsWith(upper, "UTF-16") || startsWith(upper, "UTF-32") || startsWith(upper, "UCS-");
}

std::size_t lineAt(std::string_view text, std::size_t offset) {
  return 1 + static_cast<std::size_t>(std::count(text.begin(), text.begin() + offset, '\n'));
}

// "byte 0xE8" or "bytes 0xC4 0xEE 0xE1": the bytes from `offset` up to the next ASCII
// one, a few at most, which is what a user needs to find the spot in a hex viewer.
std::string describeBytes(std::string_view bytes, std::size_t offset) {
  std::string shown;
  std::size_t count = 0;
  for (std::size_t i = offset; i < bytes.size() && count < kBytesShown; ++i, ++count) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (count > 0 && byte < 0x80) break;
    char hex[8];
    std::snprintf(hex, sizeof hex, " 0x%02X", byte);
    shown += hex;
  }
  return (count == 1 ? "byte" : "bytes") + shown;
}

// "A", "A or B", "A, B or C".
std::string listed(const std::vector<std::string>& names) {
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i) {
    text += i == 0 ? "" : i + 1 == names.size() ? " or " : ", ";
    text += names[i];
  }
  return text;
}

DecodedText failure(std::size_t line, std::string error) {
  DecodedText result;
  result.badLine = line;
  result.error = std::move(error);
  return result;
}

DecodedText nulFailure(std::string_view text, std::size_t nul) {
  return failure(lineAt(text, nul),
                 "contains a NUL character; a UTF-16 file without a byte-order mark needs "
                 "--charset UTF-16LE or --charset UTF-16BE");
}

DecodedText success(std::string utf8, std::string charset, EncodingSource source) {
  // Every mark: a tool that adds one to a file that had one already doubles it.
  std::size_t marks = 0;
  while (startsWith(std::string_view(utf8).substr(marks), kUtf8Mark)) marks += kUtf8Mark.size();
  utf8.erase(0, marks);
  const std::size_t nul = utf8.find('\0');
  if (nul != std::string::npos) return nulFailure(utf8, nul);
  // iconv's UTF-8 (and UCS-4) take code points beyond Unicode, up to 0x7FFFFFFF, and pass
  // them on; nothing after this point expects any but well-formed UTF-8.
  std::size_t bad = 0;
  if (!isValidUtf8(utf8, &bad)) {
    return failure(lineAt(utf8, bad), "holds a character that is not Unicode (" +
                                          describeBytes(utf8, bad) + " as UTF-8), read as " + charset);
  }
  DecodedText result;
  result.ok = true;
  result.utf8 = std::move(utf8);
  result.charset = std::move(charset);
  result.source = source;
  return result;
}

// Where a conversion stopped, as "line N" goes on: "is not valid X (bytes ...)".
DecodedText conversionFailure(const Conversion& conversion, std::string_view bytes,
                              const std::string& charset, const std::string& more) {
  const std::string where = describeBytes(bytes, conversion.badOffset);
  return failure(lineAt(conversion.utf8, conversion.utf8.size()),
                 conversion.truncated
                     ? "ends inside a " + charset + " character (" + where + ")" + more
                     : "is not valid " + charset + " (" + where + ")" + more);
}

DecodedText decodeGiven(std::string_view bytes, const std::string& charset) {
  // The user's word overrides a byte-order mark, which is no text in any other encoding;
  // iconv's own UTF-16 and UTF-32 read the mark to learn the byte order.
  const std::optional<ByteOrderMark> mark = findByteOrderMark(bytes);
  if (mark && !isUnicodeForm(charset)) bytes.remove_prefix(mark->length);
  const std::optional<Conversion> conversion = convertToUtf8(bytes, charset);
  if (!conversion) return failure(0, "unknown character set '" + charset + "'");
  if (!conversion->ok) return conversionFailure(*conversion, bytes, charset, "");
  return success(conversion->utf8, charset, EncodingSource::Given);
}

bool decodesAs(std::string_view bytes, const std::string& charset) {
  const std::optional<Conversion> conversion = convertToUtf8(bytes, charset);
  return conversion && conversion->ok;
}

// The advice for `bytes` that contradict the byte-order mark before them: what they
// read as, when that can be told.
std::string adviceForMarkedText(std::string_view bytes) {
  std::string charset;
  if (bytes.find('\0') == std::string_view::npos) {
    const CharsetGuess guess = isValidUtf8(bytes) ? CharsetGuess{"UTF-8", {}} : guessCharset(bytes);
    if (guess.dissent.empty()) charset = guess.charset;
  }
  if (charset.empty() || !decodesAs(bytes, charset)) {
    return "; remove the mark or name the encoding with --charset";
  }
  return "; the text reads as " + charset + ": name that with --charset " + charset;
}

DecodedText decodeMarked(std::string_view bytes, const ByteOrderMark& mark) {
  const std::string charset = mark.charset;
  const std::string_view text = bytes.substr(mark.length);
  const std::string marked = ", though the file starts with a " + charset + " byte-order mark";
  // Any subtitle file has ASCII digits and line ends, which UTF-16 and UTF-32 write with
  // zero bytes: 8-bit text after such a mark would decode without a fault, as nonsense.
  if (isUnicodeForm(charset) && !text.empty() && text.find('\0') == std::string_view::npos) {
    return failure(1, "is not " + charset + marked + adviceForMarkedText(text));
  }
  const std::optional<Conversion> conversion = convertToUtf8(text, charset);
  if (!conversion) return failure(0, "cannot convert from " + charset + " on this system");
  if (!conversion->ok) {
    return conversionFailure(*conversion, text, charset, marked + adviceForMarkedText(text));
  }
  return success(conversion->utf8, charset, EncodingSource::ByteOrderMark);
}

// The offset of the first C1 control character (U+0080-U+009F) in `utf8`, which text
// never holds and a single-byte set guessed wrong produces; npos when there is none.
std::size_t findC1Control(std::string_view utf8) {
  for (std::size_t i = 0; i + 1 < utf8.size(); ++i) {
    if (utf8[i] == '\xC2' && static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) return i;
  }
  return std::string_view::npos;
}

// Characters before `offset` of `utf8`: the input offset where a single-byte set was read.
std::size_t charactersBefore(std::string_view utf8, std::size_t offset) {
  return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.begin() + offset, [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

// The offset in `one` where two readings of a text first differ; npos when they do not.
std::size_t firstDifference(std::string_view one, std::string_view other) {
  const auto [mismatch, unused] = std::mismatch(one.begin(), one.end(), other.begin(), other.end());
  if (mismatch == one.end() && one.size() == other.size()) return std::string_view::npos;
  return static_cast<std::size_t>(mismatch - one.begin());
}

// The offset of the first byte above ASCII on 1-based `line` of `bytes` (its start when
// it has none).
std::size_t firstNonAsciiOnLine(std::string_view bytes, std::size_t line) {
  std::size_t start = 0;
  for (std::size_t seen = 1; seen < line && start != std::string_view::npos; ++seen) {
    start = bytes.find('\n', start);
    if (start != std::string_view::npos) ++start;
  }
  if (start == std::string_view::npos) return bytes.size();
  for (std::size_t i = start; i < bytes.size() && bytes[i] != '\n'; ++i) {
    if (static_cast<unsigned char>(bytes[i]) >= 0x80) return i;
  }
  return start;
}

// True when the ill-formed sequence at `bad` is the start of a UTF-8 character that the
// end of `bytes` cut short.
bool endsInsideUtf8Character(std::string_view bytes, std::size_t bad) {
  const auto lead = static_cast<unsigned char>(bytes[bad]);
  const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
  if (lead < 0xC2 || lead > 0xF4 || bytes.size() - bad >= length) return false;
  return std::all_of(bytes.begin() + bad + 1, bytes.end(),
                     [](char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; });
}

bool hasNonAscii(std::string_view bytes) {
  return std::any_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; });
}

DecodedText decodeUnmarked(std::string_view bytes) {
  const std::size_t nul = bytes.find('\0');
  if (nul != std::string_view::npos) return nulFailure(bytes, nul);
  std::size_t bad = 0;
  if (isValidUtf8(bytes, &bad)) return success(std::string(bytes), "UTF-8", EncodingSource::Detected);
  // UTF-8 that breaks off or goes wrong after well-formed characters is damaged UTF-8,
  // which read as a legacy set would come out garbled everywhere else.
  const std::string otherwise = "; if the file is in another encoding, name it with --charset";
  if (endsInsideUtf8Character(bytes, bad)) {
    return failure(lineAt(bytes, bad), "ends inside a UTF-8 character (" +
                                           describeBytes(bytes, bad) + ")" + otherwise);
  }
  if (hasNonAscii(bytes.substr(0, bad))) {
    return failure(lineAt(bytes, bad), "is not valid UTF-8 (" + describeBytes(bytes, bad) +
                                           "), though the text before it is" + otherwise);
  }

  const CharsetGuess guess = guessCharset(bytes);
  const std::string& charset = guess.charset;
  const std::optional<Conversion> conversion =
      charset.empty() ? std::nullopt : convertToUtf8(bytes, charset);
  if (!conversion) {
    return failure(lineAt(bytes, bad), "is not UTF-8 (" + describeBytes(bytes, bad) +
                                           ") and its encoding could not be detected; name it "
                                           "with --charset, for example " + std::string(kCommonCharsets));
  }
  std::vector<std::string> candidates = likelyCharsets(charset);
  for (const std::string& other : guess.dissent) {
    if (std::find(candidates.begin(), candidates.end(), other) == candidates.end()) {
      candidates.insert(candidates.begin() + 1, other);
    }
  }
  const std::string advice = "; name the right one with --charset, likely " + listed(candidates);
  if (!conversion->ok) {
    return conversionFailure(*conversion, bytes, charset, ", the encoding it seems to be in" + advice);
  }
  const std::string& text = conversion->utf8;
  const bool singleByte = charactersBefore(text, text.size()) == bytes.size();
  for (const std::string& other : guess.dissent) {
    const std::optional<Conversion> otherReading = convertToUtf8(bytes, other);
    const std::size_t differing =
        otherReading ? firstDifference(text, otherReading->utf8) : std::string_view::npos;
    if (differing == std::string_view::npos) continue;
    const std::size_t line = lineAt(text, differing);
    const std::size_t offset =
        singleByte ? charactersBefore(text, differing) : firstNonAsciiOnLine(bytes, line);
    return failure(line, "reads one way as " + charset + " and another as " + other + " (" +
                             describeBytes(bytes, offset) + "), and which it is could not be told" +
                             advice);
  }
  const std::size_t control = findC1Control(text);
  if (control != std::string_view::npos) {
    const std::size_t offset = charactersBefore(text, control);
    return failure(lineAt(text, control),
                   "makes no sense as " + charset + " (" + describeBytes(bytes, offset) +
                       "), the encoding it seems to be in" + advice);
  }
  return success(conversion->utf8, charset, EncodingSource::Detected);
}

}  // namespace

const char* encodingSourceName(EncodingSource source) {
  switch (source) {
    case EncodingSource::Given: return "given";
    case EncodingSource::ByteOrderMark: return "byte-order mark";
    case EncodingSource::Detected: break;
  }
  return "detected";
}

bool isValidUtf8(std::string_view text, std::size_t* badOffset) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size();
  std::size_t i = 0;
  while (i < size) {
    const unsigned char lead = bytes[i];
    std::size_t extra = 0;
    std::uint32_t codePoint = 0;
    std::uint32_t smallest = 0;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if ((lead & 0xE0) == 0xC0) {
      extra = 1, codePoint = lead & 0x1Fu, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2, codePoint = lead & 0x0Fu, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3, codePoint = lead & 0x07u, smallest = 0x10000;
    } else {
      break;
    }
    if (size - i <= extra) break;
    std::size_t k = 1;
    for (; k <= extra && (bytes[i + k] & 0xC0) == 0x80; ++k) {
      codePoint = (codePoint << 6) | (bytes[i + k] & 0x3Fu);
    }
    if (k <= extra || codePoint < smallest || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
      break;
    }
    i += extra + 1;
  }
  if (i == size) return true;
  if (badOffset) *badOffset = i;
  return false;
}

DecodedText decodeSubtitleText(std::string_view bytes, const std::string& charset) {
  if (!charset.empty()) return decodeGiven(bytes, charset);
  if (const std::optional<ByteOrderMark> mark = findByteOrderMark(bytes)) {
    return decodeMarked(bytes, *mark);
  }
  return decodeUnmarked(bytes);
}

}  // namespace QuillRender

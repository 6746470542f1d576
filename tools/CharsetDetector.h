#pragma once
// Guessing the character set of text that carries no byte-order mark and is not UTF-8,
// through uchardet, and naming the character sets a text of the same script is most
// often written in, for when the guess cannot be trusted.
#include <string>
#include <string_view>
#include <vector>

namespace QuillRender {

/// What uchardet makes of a text that is not UTF-8.
struct CharsetGuess {
  /// Its answer for the whole text, as an iconv name ("WINDOWS-1251"); empty when it
  /// cannot tell.
  std::string charset;
  /// Other answers it gives for the first and the second half of the text on their own,
  /// a sign that the guess may be wrong; empty when the halves agree or hold too little
  /// beyond ASCII to judge.
  std::vector<std::string> dissent;
};

/// Guesses the legacy character set of `bytes`. An ISO set is replaced by its Windows
/// counterpart (see windowsCounterpart) when the bytes use 0x80-0x9F, which are control
/// characters in the ISO set and letters in the Windows one.
CharsetGuess guessCharset(std::string_view bytes);

/// `charset` first, then the other legacy character sets of its script, most used first
/// (for WINDOWS-1251: KOI8-R, ISO-8859-5, IBM866, MAC-CYRILLIC). Just `charset` for one
/// of no known script.
std::vector<std::string> likelyCharsets(const std::string& charset);

/// The Windows code page that fills the control range 0x80-0x9F of the ISO character set
/// `charset` with letters and punctuation, which text that uses those bytes is in; empty
/// when `charset` has none.
std::string windowsCounterpart(const std::string& charset);

}  // namespace QuillRender

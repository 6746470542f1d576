#include "bench/SubtitleCorpus.h"

#include <array>
#include <cstdio>

namespace QuillBench {

namespace {

// A small linear congruential generator with a fixed definition (Numerical Recipes).
class Random {
 public:
  explicit Random(std::uint32_t seed) : state(seed) {}
  /// A value in [0, bound); bound > 0.
  std::size_t below(std::size_t bound) {
    state = state * 1664525u + 1013904223u;
    return static_cast<std::size_t>((state >> 8) % bound);
  }
  bool chance(std::size_t percent) { return below(100) < percent; }

 private:
  std::uint32_t state;
};

const std::array<const char*, 48> kLatinWords = {
    "I", "you", "we", "they", "never", "said", "that", "not", "to", "anyway", "where",
    "were", "last", "night", "what", "happened", "after", "the", "party", "nobody",
    "knows", "how", "it", "started", "listen", "me", "carefully", "this", "is", "our",
    "only", "chance", "get", "in", "car", "now", "please", "don't", "leave", "without",
    "saying", "goodbye", "Captain", "Sarah", "London", "tomorrow", "morning", "really"};

const std::array<const char*, 32> kNonLatinWords = {
    "Я", "никогда", "не", "говорил", "этого", "тебе", "где", "ты", "был", "вчера",
    "ночью", "что", "случилось", "после", "вечеринки", "послушай", "меня", "Καλημέρα",
    "πού", "ήσουν", "χθες", "το", "βράδυ", "κανείς", "δεν", "ξέρει", "πώς", "άρχισε",
    "αύριο", "πρωί", "Σάρα", "Λονδίνο"};

// Right-to-left words with the names and numbers subtitles carry among them, so that
// every line mixes directions.
const std::array<const char*, 36> kBidiWords = {
    "\u05E9\u05DC\u05D5\u05DD", "\u05D0\u05E0\u05D9", "\u05DC\u05D0",
    "\u05D0\u05DE\u05E8\u05EA\u05D9", "\u05D0\u05EA", "\u05D6\u05D4",
    "\u05D0\u05D9\u05E4\u05D4", "\u05D4\u05D9\u05D9\u05EA", "\u05D0\u05EA\u05DE\u05D5\u05DC",
    "\u05D1\u05DC\u05D9\u05DC\u05D4", "\u05DE\u05D4", "\u05E7\u05E8\u05D4",
    "\u05D0\u05D7\u05E8\u05D9", "\u05D4\u05DE\u05E1\u05D9\u05D1\u05D4",
    "\u0645\u0631\u062D\u0628\u0627", "\u0644\u0645", "\u0623\u0642\u0644",
    "\u0630\u0644\u0643", "\u0623\u0628\u062F\u0627", "\u0623\u064A\u0646",
    "\u0643\u0646\u062A", "\u0627\u0644\u0644\u064A\u0644\u0629", "\u0645\u0627\u0630\u0627",
    "\u062D\u062F\u062B", "\u0628\u0639\u062F", "\u0627\u0644\u062D\u0641\u0644\u0629",
    "\u0627\u0633\u062A\u0645\u0639", "\u0625\u0644\u064A\u0651", "Sarah", "London",
    "BBC", "2024", "42", "10:30", "(3)", "TV"};

const std::array<const char*, 6> kColours = {"#ffff00", "#ff4020", "#00ff80",
                                             "#80c0ff", "#ffffff", "#ff00ff"};
const std::array<const char*, 4> kSizeSteps = {"+2", "-2", "+4", "-1"};
const std::array<char, 5> kEndings = {'.', '.', '?', '!', ','};

template <std::size_t N>
std::string words(Random& random, const std::array<const char*, N>& vocabulary,
                  std::size_t targetLength) {
  std::string line;
  while (line.size() < targetLength) {
    if (!line.empty()) line += ' ';
    line += vocabulary[random.below(N)];
  }
  line += kEndings[random.below(kEndings.size())];
  return line;
}

// About 69 visible characters, split over two lines two times in three. Lengths are in
// bytes, so vocabularies of two-byte characters pass `bytesPerCharacter` 2.
template <std::size_t N>
std::string dialogue(Random& random, const std::array<const char*, N>& vocabulary,
                     std::size_t bytesPerCharacter = 1) {
  const std::size_t length = (55 + random.below(28)) * bytesPerCharacter;
  if (random.below(3) == 0) return words(random, vocabulary, length);
  return words(random, vocabulary, length / 2) + '\n' + words(random, vocabulary, length / 2);
}

// Wraps a few words of each line in a tag; most events get at least one.
std::string withMarkup(Random& random, const std::string& plain) {
  std::string out;
  std::size_t wordStart = 0;
  while (wordStart <= plain.size()) {
    std::size_t wordEnd = plain.find_first_of(" \n", wordStart);
    if (wordEnd == std::string::npos) wordEnd = plain.size();
    const std::string word = plain.substr(wordStart, wordEnd - wordStart);
    switch (random.below(10)) {
      case 0: out += "<i>" + word + "</i>"; break;
      case 1: out += "<b>" + word + "</b>"; break;
      case 2: out += "<font color=\"" + std::string(kColours[random.below(kColours.size())]) +
                     "\">" + word + "</font>"; break;
      case 3: out += "<font size=\"" + std::string(kSizeSteps[random.below(kSizeSteps.size())]) +
                     "\">" + word + "</font>"; break;
      case 4: out += "<b><i>" + word + "</i></b>"; break;
      default: out += word; break;
    }
    if (wordEnd < plain.size()) out += plain[wordEnd];
    wordStart = wordEnd + 1;
  }
  return out;
}

}  // namespace

const char* corpusName(CorpusKind kind) {
  switch (kind) {
    case CorpusKind::kOrdinary: return "ordinary";
    case CorpusKind::kMarkupHeavy: return "markup";
    case CorpusKind::kLongWrapping: return "wrapping";
    case CorpusKind::kNonLatin: return "non-latin";
    case CorpusKind::kBidi: return "bidi";
  }
  return "unknown";
}

std::vector<std::string> generateCorpus(CorpusKind kind, std::size_t count, std::uint32_t seed) {
  Random random(seed);
  std::vector<std::string> corpus;
  corpus.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    switch (kind) {
      case CorpusKind::kOrdinary: corpus.push_back(dialogue(random, kLatinWords)); break;
      case CorpusKind::kMarkupHeavy:
        corpus.push_back(withMarkup(random, dialogue(random, kLatinWords)));
        break;
      case CorpusKind::kLongWrapping:
        corpus.push_back(words(random, kLatinWords, 230 + random.below(40)));
        break;
      case CorpusKind::kNonLatin: corpus.push_back(dialogue(random, kNonLatinWords, 2)); break;
      case CorpusKind::kBidi: corpus.push_back(dialogue(random, kBidiWords, 2)); break;
    }
  }
  return corpus;
}

namespace {

// "HH:MM:SS,mmm" for a time in milliseconds.
std::string srtTimestamp(unsigned long ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%02lu:%02lu:%02lu,%03lu", ms / 3600000, ms / 60000 % 60,
                ms / 1000 % 60, ms % 1000);
  return text;
}

}  // namespace

std::string srtDocument(const std::vector<std::string>& texts, const SrtPacing& pacing) {
  std::string document;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const unsigned long start = pacing.firstStart + pacing.spacing * static_cast<unsigned long>(i);
    document += std::to_string(i + 1) + "\n" + srtTimestamp(start) + " --> " +
                srtTimestamp(start + pacing.duration) + "\n" + texts[i] + "\n\n";
  }
  return document;
}

}  // namespace QuillBench

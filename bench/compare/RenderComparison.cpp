// Rendering one subtitle event at 1080p, Quill's whole component against libass, on the
// corpora every benchmark shares. libass gets the style Quill's component draws with: the
// same DejaVu Sans files, a 49-pixel em, the same outline width, yellow on black, lines
// wrapped at 90 % of the frame width and placed bottom-centre with their bottom at 95 %
// of the height. The corpus markup is translated to override tags.
//
// Sides, each one event per iteration:
//   quill          text sample in, image delivered downstream (ComponentRig), with the
//                  full layout, which shapes, reorders and wraps as libass does
//   quill-classic  the same with the component's default, classic layout
//   libass         ass_render_frame at the event's time: the alpha masks of the event
//   libass+blend   the same, plus blending the masks into a 1920 x 1080 RGBA frame
// warm: every event rendered once before timing; cold: caches emptied before each event,
// outside the timing (Quill: a fresh renderer; libass: a fresh ASS_Renderer).
#include <ass/ass.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/SubtitleCorpus.h"
#include "bench/component/ComponentEvents.h"

namespace {

constexpr std::size_t kEvents = QuillBench::kComponentEvents;  // the same events on both sides
constexpr int kFrameWidth = 1920;
constexpr int kFrameHeight = 1080;
constexpr int kPixelSize = 49;  // the component's size for this frame: min(1081 / 22, 1921 / 29)
// The component's stroke radius for that size, in 26.6 pixels (text/GlyphImage.h).
constexpr double kOutlinePixels = (kPixelSize + 100) / 64.0;
// Events follow each other a second apart; each is rendered in the middle of its slot.
constexpr long long kSlotMilliseconds = 1000;

using Corpus = QuillBench::CorpusKind;

const std::vector<std::string>& corpus(Corpus kind) {
  static std::vector<std::string> corpora[QuillBench::kCorpusKinds];
  std::vector<std::string>& texts = corpora[static_cast<int>(kind)];
  if (texts.empty()) texts = QuillBench::generateCorpus(kind, kEvents);
  return texts;
}

// libass sizes a font by its ascent plus descent (the Windows metrics when the font has
// them), where the component asks FreeType for an em: the ASS size that gives the same em.
double assSizeForEm(const char* fontFile, double emPixels) {
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return emPixels;
  double size = emPixels;
  FT_Face face = nullptr;
  if (FT_New_Face(library, fontFile, 0, &face) == 0) {
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    double cell = 0;
    if (os2 && os2->usWinAscent + os2->usWinDescent != 0) {
      cell = os2->usWinAscent + os2->usWinDescent;
    } else {
      cell = face->ascender - face->descender;
    }
    if (cell > 0 && face->units_per_EM > 0) size = emPixels * cell / face->units_per_EM;
    FT_Done_Face(face);
  }
  FT_Done_FreeType(library);
  return size;
}

// "#rrggbb" as an ASS colour (&Hbbggrr&); empty when it is not one.
std::string assColour(const std::string& html) {
  if (html.size() != 7 || html[0] != '#') return std::string();
  return "&H" + html.substr(5, 2) + html.substr(3, 2) + html.substr(1, 2) + "&";
}

// The value of attribute `name` inside a font tag's text, or empty.
std::string attribute(const std::string& tag, const std::string& name) {
  const std::size_t at = tag.find(name + "=\"");
  if (at == std::string::npos) return std::string();
  const std::size_t begin = at + name.size() + 2;
  const std::size_t end = tag.find('"', begin);
  return end == std::string::npos ? std::string() : tag.substr(begin, end - begin);
}

// The corpus markup (b, i, u, s and font color/size/face, nested) as ASS override tags,
// '\n' as a hard line break. A closing font tag restores what the enclosing one set.
class AssTranslator {
 public:
  explicit AssTranslator(double assUnitsPerPixel) : scale(assUnitsPerPixel) {}

  std::string translate(const std::string& markup) {
    fonts.assign(1, FontState{});
    depth[0] = depth[1] = depth[2] = depth[3] = 0;
    std::string out;
    for (std::size_t i = 0; i < markup.size(); ++i) {
      const char c = markup[i];
      if (c == '\n') {
        out += "\\N";
        continue;
      }
      const std::size_t close = c == '<' ? markup.find('>', i) : std::string::npos;
      if (close == std::string::npos) {
        out += c;
        continue;
      }
      out += tagFor(markup.substr(i + 1, close - i - 1));
      i = close;
    }
    return out;
  }

 private:
  struct FontState {
    std::string colour;  // empty: the style's
    int pixelSize = kPixelSize;
    std::string face;    // empty: the style's
  };

  std::string switchTag(int which, const char* name, bool opening) {
    int& level = depth[which];
    if (opening) return level++ == 0 ? std::string("{\\") + name + "1}" : std::string();
    if (level == 0) return std::string();
    return --level == 0 ? std::string("{\\") + name + "0}" : std::string();
  }

  std::string fontTag(const FontState& state) const {
    char size[32];
    std::snprintf(size, sizeof size, "%.2f", state.pixelSize * scale);
    return std::string("{\\c") + state.colour + "\\fs" + size + "\\fn" +
           (state.face.empty() ? "DejaVu Sans" : state.face) + "}";
  }

  std::string tagFor(const std::string& tag) {
    static const char* const kSwitches[] = {"b", "i", "u", "s"};
    for (int which = 0; which < 4; ++which) {
      if (tag == kSwitches[which]) return switchTag(which, kSwitches[which], true);
      if (tag == std::string("/") + kSwitches[which]) return switchTag(which, kSwitches[which], false);
    }
    if (tag.compare(0, 5, "font ") == 0) {
      FontState state = fonts.back();
      const std::string colour = assColour(attribute(tag, "color"));
      if (!colour.empty()) state.colour = colour;
      const std::string size = attribute(tag, "size");
      if (!size.empty() && (size[0] == '+' || size[0] == '-')) state.pixelSize += 2 * std::stoi(size);
      const std::string face = attribute(tag, "face");
      if (!face.empty()) state.face = face;
      fonts.push_back(state);
      return fontTag(state);
    }
    if (tag == "/font" && fonts.size() > 1) {
      fonts.pop_back();
      return fontTag(fonts.back());
    }
    return std::string();
  }

  double scale;
  std::vector<FontState> fonts;
  int depth[4] = {0, 0, 0, 0};
};

// "0:00:01.50" for milliseconds.
std::string assTime(long long milliseconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld:%02lld.%02lld", milliseconds / 3600000,
                milliseconds / 60000 % 60, milliseconds / 1000 % 60, milliseconds / 10 % 100);
  return text;
}

// One ASS script holding every event of a corpus, event i in slot i.
std::string assScript(const std::vector<std::string>& texts, double assSize) {
  char style[512];
  // Margins: 5 % of the width on either side (wrap at 90 %), 5 % of the height below.
  std::snprintf(style, sizeof style,
                "Style: Default,DejaVu Sans,%.2f,&H0000FFFF,&H0000FFFF,&H00000000,&H00000000,"
                "0,0,0,0,100,100,0,0,1,%.4f,0,2,%d,%d,%d,1\n",
                assSize, kOutlinePixels, kFrameWidth / 20, kFrameWidth / 20, kFrameHeight / 20);
  std::string script =
      "[Script Info]\nScriptType: v4.00+\nPlayResX: 1920\nPlayResY: 1080\nWrapStyle: 1\n"
      "ScaledBorderAndShadow: yes\n\n[V4+ Styles]\n"
      "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, "
      "BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, "
      "BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\n";
  script += style;
  script += "\n[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, "
            "Effect, Text\n";
  AssTranslator translator(assSize / kPixelSize);
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const long long start = static_cast<long long>(i) * kSlotMilliseconds;
    script += "Dialogue: 0," + assTime(start) + "," + assTime(start + kSlotMilliseconds - 100) +
              ",Default,,0,0,0,," + translator.translate(texts[i]) + "\n";
  }
  return script;
}

std::vector<char> fileBytes(const char* path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// libass with the four DejaVu Sans files as its only fonts and one corpus as its track.
class LibassSide {
 public:
  explicit LibassSide(Corpus kind) : library(ass_library_init()) {
    if (!library) return;
    ass_set_message_cb(library, [](int, const char*, va_list, void*) {}, nullptr);
    for (const char* file : QuillBench::kDejaVuSansFiles) {
      std::vector<char> bytes = fileBytes(file);
      ass_add_font(library, file, bytes.data(), static_cast<int>(bytes.size()));
    }
    std::string script = assScript(corpus(kind), assSizeForEm(QuillBench::kDejaVuSansRegular, kPixelSize));
    track = ass_read_memory(library, script.data(), script.size(), nullptr);
    renewRenderer();
  }
  ~LibassSide() {
    if (renderer) ass_renderer_done(renderer);
    if (track) ass_free_track(track);
    if (library) ass_library_done(library);
  }
  LibassSide(const LibassSide&) = delete;
  LibassSide& operator=(const LibassSide&) = delete;

  bool ready() const { return renderer && track && track->n_events == static_cast<int>(kEvents); }

  /// A renderer with empty caches in place of the present one.
  void renewRenderer() {
    if (renderer) ass_renderer_done(renderer);
    renderer = ass_renderer_init(library);
    if (!renderer) return;
    ass_set_frame_size(renderer, kFrameWidth, kFrameHeight);
    ass_set_storage_size(renderer, kFrameWidth, kFrameHeight);
    ass_set_fonts(renderer, QuillBench::kDejaVuSansRegular, "DejaVu Sans", ASS_FONTPROVIDER_NONE,
                  nullptr, 0);
  }

  /// The masks of event `index`; owned by the renderer until its next frame.
  ASS_Image* render(std::size_t index) {
    int changed = 0;
    const long long now = static_cast<long long>(index) * kSlotMilliseconds + kSlotMilliseconds / 2;
    return ass_render_frame(renderer, track, now, &changed);
  }

 private:
  ASS_Library* library = nullptr;
  ASS_Track* track = nullptr;
  ASS_Renderer* renderer = nullptr;
};

// x / 255 for x up to 255 * 255, without a division, as any host's blend computes it.
constexpr unsigned divideBy255(unsigned x) { return (x + 1 + (x >> 8)) >> 8; }

// What a host does with libass's output to get an RGBA overlay: every mask blended in its
// colour over the frame ("over", with the mask times the colour's opacity as alpha).
void blend(const ASS_Image* image, std::vector<std::uint8_t>& frame) {
  for (; image; image = image->next) {
    const unsigned red = image->color >> 24, green = (image->color >> 16) & 0xFF;
    const unsigned blue = (image->color >> 8) & 0xFF, opacity = 255 - (image->color & 0xFF);
    for (int y = 0; y < image->h; ++y) {
      const unsigned char* mask = image->bitmap + static_cast<std::size_t>(y) * image->stride;
      std::uint8_t* out = frame.data() +
          (static_cast<std::size_t>(image->dst_y + y) * kFrameWidth + image->dst_x) * 4;
      for (int x = 0; x < image->w; ++x, out += 4) {
        if (mask[x] == 0) continue;  // most of a mask is empty
        const unsigned a = divideBy255(mask[x] * opacity);
        out[0] = static_cast<std::uint8_t>(divideBy255(red * a + out[0] * (255 - a)));
        out[1] = static_cast<std::uint8_t>(divideBy255(green * a + out[1] * (255 - a)));
        out[2] = static_cast<std::uint8_t>(divideBy255(blue * a + out[2] * (255 - a)));
        out[3] = static_cast<std::uint8_t>(a + divideBy255(out[3] * (255 - a)));
      }
    }
  }
}

void libassEvents(benchmark::State& state, Corpus kind, bool warm, bool blended) {
  LibassSide side(kind);
  if (!side.ready()) {
    state.SkipWithError("libass could not load the fonts or the track");
    return;
  }
  std::vector<std::uint8_t> frame(static_cast<std::size_t>(kFrameWidth) * kFrameHeight * 4, 0);
  if (warm) {
    for (std::size_t i = 0; i < kEvents; ++i) side.render(i);
  }
  std::size_t next = 0;
  std::size_t masks = 0;
  for (auto _ : state) {
    if (!warm) {
      state.PauseTiming();
      side.renewRenderer();
      state.ResumeTiming();
    }
    const ASS_Image* images = side.render(next);
    if (blended) blend(images, frame);
    benchmark::DoNotOptimize(images);
    for (; images; images = images->next) ++masks;
    next = (next + 1) % kEvents;
  }
  benchmark::DoNotOptimize(frame.data());
  state.counters["masks"] = benchmark::Counter(static_cast<double>(masks), benchmark::Counter::kAvgIterations);
}

void registerComparisons() {
  for (int index = 0; index < QuillBench::kCorpusKinds; ++index) {
    const auto kind = static_cast<Corpus>(index);
    for (const bool warm : {true, false}) {
      const std::string work =
          std::string("Render/") + QuillBench::corpusName(kind) + (warm ? "/warm" : "/cold");
      QuillBench::RigSettings full;
      full.layout = "full";
      benchmark::RegisterBenchmark((work + "/quill").c_str(), [kind, warm, full](benchmark::State& s) {
        QuillBench::timeComponentEvents(s, kind, warm, full);
      })->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark((work + "/quill-classic").c_str(), [kind, warm](benchmark::State& s) {
        QuillBench::timeComponentEvents(s, kind, warm);
      })->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark((work + "/libass").c_str(), [kind, warm](benchmark::State& s) {
        libassEvents(s, kind, warm, false);
      })->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark((work + "/libass+blend").c_str(),
                                   [kind, warm](benchmark::State& s) {
                                     libassEvents(s, kind, warm, true);
                                   })->Unit(benchmark::kMillisecond);
    }
  }
}

// Registered before main runs, as the BENCHMARK macros do.
const bool kRegistered = (registerComparisons(), true);

}  // namespace

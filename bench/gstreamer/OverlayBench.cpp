// Frames per second of one pipeline that burns a 2000-event SRT file into 1920x1080 I420
// video, with quilloverlay and with the overlay a pipeline author would otherwise pick,
// GStreamer's textoverlay (Pango), and with no overlay for the pipeline's own cost:
//
//   filesrc ! subparse ! OVERLAY.text_sink
//   videotestsrc pattern=black num-buffers=N
//     ! video/x-raw,format=I420,width=1920,height=1080,framerate=25/1
//     ! OVERLAY.video_sink  OVERLAY ! fakesink
//
// A black source, because videotestsrc draws a still pattern once and copies it after,
// while its default colour bars are computed again for every frame: at 1080 lines that
// costs several times what an overlay does and would hide the overlays' difference.
//
// One event a second, 750 ms on screen (25 frames per event, 19 of them with text). Each
// element at its defaults but the size: textoverlay's "Sans 36" without its auto-resize
// draws about as large as Quill's font for 1080 lines (a line of 24 characters: ink 42
// rows high and 492 columns wide against Quill's 43 and 566). auto-resize, on by default,
// would scale it by the video's width over 640, three times as tall at 1920 columns.
// QUILL_OVERLAY_EVENTS=N runs N events instead.
#include <benchmark/benchmark.h>
#include <gst/gst.h>
#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "bench/SubtitleCorpus.h"
#include "bench/component/BenchFontsFolder.h"
#include "gstreamer/QuillOverlay.h"

namespace {

constexpr int kFramesPerSecond = 25;

std::size_t eventCount() {
  const char* wanted = std::getenv("QUILL_OVERLAY_EVENTS");
  const long count = wanted ? std::atol(wanted) : 2000;
  return count > 0 ? static_cast<std::size_t>(count) : 2000;
}

// The subtitle file, written once per run into the benchmark's own folder.
const std::string& subtitleFile() {
  static const std::string path = [] {
    const std::string file = std::string(std::getenv("XDG_DATA_HOME")) + "/overlay-bench.srt";
    QuillBench::SrtPacing pacing;
    pacing.firstStart = 0;
    pacing.spacing = 1000;
    pacing.duration = 750;
    std::ofstream(file) << QuillBench::srtDocument(
        QuillBench::generateCorpus(QuillBench::CorpusKind::kOrdinary, eventCount()), pacing);
    return file;
  }();
  return path;
}

std::size_t frameCount() { return eventCount() * kFramesPerSecond; }

std::string pipelineWith(const std::string& overlay) {
  const std::string video = "videotestsrc pattern=black num-buffers=" + std::to_string(frameCount()) +
                            " ! video/x-raw,format=I420,width=1920,height=1080,framerate=" +
                            std::to_string(kFramesPerSecond) + "/1";
  if (overlay.empty()) return video + " ! fakesink";
  return "filesrc location=\"" + subtitleFile() + "\" ! subparse ! o.text_sink " + video +
         " ! o.video_sink " + overlay + " name=o ! fakesink";
}

double processSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Plays the pipeline to its end; false with `error` when it failed.
bool play(const std::string& description, std::string& error) {
  GError* parseError = nullptr;
  GstElement* pipeline = gst_parse_launch(description.c_str(), &parseError);
  if (parseError) {
    error = parseError->message;
    g_error_free(parseError);
    if (pipeline) gst_object_unref(pipeline);
    return false;
  }
  gst_element_set_state(pipeline, GST_STATE_PLAYING);
  GstBus* bus = gst_element_get_bus(pipeline);
  GstMessage* message = gst_bus_timed_pop_filtered(
      bus, GST_CLOCK_TIME_NONE, static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
  if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
    GError* failure = nullptr;
    gst_message_parse_error(message, &failure, nullptr);
    error = failure->message;
    g_error_free(failure);
  }
  gst_message_unref(message);
  gst_object_unref(bus);
  gst_element_set_state(pipeline, GST_STATE_NULL);
  gst_object_unref(pipeline);
  return error.empty();
}

void overlayPipeline(benchmark::State& state, const std::string& overlay) {
  if (!overlay.empty()) {
    const std::string factory = overlay.substr(0, overlay.find(' '));
    if (GstElementFactory* found = gst_element_factory_find(factory.c_str())) {
      gst_object_unref(found);
    } else {
      state.SkipWithError((factory + " is not installed").c_str());
      return;
    }
  }
  const std::string description = pipelineWith(overlay);
  double wall = 0, cpu = 0;
  for (auto _ : state) {
    const auto started = std::chrono::steady_clock::now();
    const double cpuStarted = processSeconds();
    std::string error;
    if (!play(description, error)) {
      state.SkipWithError(error.c_str());
      return;
    }
    cpu += processSeconds() - cpuStarted;
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  }
  const double frames = double(frameCount()) * double(state.iterations());
  state.counters["frames"] = double(frameCount());
  state.counters["fps"] = frames / wall;          // frames per second of wall-clock time
  state.counters["fps_cpu"] = frames / cpu;       // frames per second of CPU time, all threads
}

}  // namespace

int main(int argc, char** argv) {
  gst_init(&argc, &argv);
  gst_plugin_register_static(GST_VERSION_MAJOR, GST_VERSION_MINOR, "quill", "Quill subtitle overlay",
                             quill_overlay_plugin_init, "0", "Proprietary", "quill", "quill", "Quill");
  QuillBench::BenchFontsFolder fonts;
  if (!fonts.ready()) {
    std::fprintf(stderr, "%s\n", fonts.error().c_str());
    return 1;
  }
  const std::string quill = std::string("quilloverlay module=\"") + QUILL_MODULE_PATH + "\"";
  for (const auto& [name, overlay] :
       {std::pair<std::string, std::string>{"Overlay/none", ""},
        {"Overlay/textoverlay", "textoverlay font-desc=\"Sans 36\" auto-resize=false"},
        {"Overlay/quilloverlay", quill}}) {
    benchmark::RegisterBenchmark(name.c_str(), overlayPipeline, overlay)
        ->Iterations(1)
        ->UseRealTime()
        ->MeasureProcessCPUTime()
        ->Unit(benchmark::kSecond);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

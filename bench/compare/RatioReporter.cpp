#include "bench/compare/RatioReporter.h"

#include <cstdio>

namespace QuillCompare {

namespace {

constexpr const char* kQuillSide = "quill";

double secondsPerUnit(benchmark::TimeUnit unit) {
  switch (unit) {
    case benchmark::kNanosecond: return 1e-9;
    case benchmark::kMicrosecond: return 1e-6;
    case benchmark::kMillisecond: return 1e-3;
    case benchmark::kSecond: return 1.0;
  }
  return 1e-9;
}

}  // namespace

std::string formatDuration(double seconds) {
  char text[32];
  if (seconds >= 1e-3)
    std::snprintf(text, sizeof text, "%.3g ms", seconds * 1e3);
  else
    std::snprintf(text, sizeof text, "%.3g us", seconds * 1e6);
  return text;
}

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
  ConsoleReporter::ReportRuns(runs);
  for (const Run& run : runs) {
    if (run.error_occurred || run.iterations == 0) continue;
    const bool median = run.run_type == Run::RT_Aggregate;
    if (median && run.aggregate_name != "median") continue;
    const std::string name = run.run_name.str();
    const std::size_t slash = name.rfind('/');
    if (slash == std::string::npos) continue;
    const std::string work = name.substr(0, slash);
    const std::string side = name.substr(slash + 1);
    if (timings_.find(work) == timings_.end()) order_.push_back(work);
    Timing& timing = timings_[work][side];
    if (timing.median && !median) continue;  // a median, once seen, outranks single runs
    timing.median = median;
    timing.cpuSeconds = run.GetAdjustedCPUTime() * secondsPerUnit(run.time_unit);
  }
}

void RatioReporter::Finalize() {
  ConsoleReporter::Finalize();
  std::FILE* out = stdout;
  std::fprintf(out, "\n%-44s %12s %-14s %12s %8s\n", "work", "quill", "peer", "peer time", "ratio");
  for (const std::string& work : order_) {
    const auto& sides = timings_[work];
    const auto quill = sides.find(kQuillSide);
    if (quill == sides.end()) continue;
    for (const auto& [side, timing] : sides) {
      if (side == kQuillSide) continue;
      std::fprintf(out, "%-44s %12s %-14s %12s %7.2fx\n", work.c_str(),
                   formatDuration(quill->second.cpuSeconds).c_str(), side.c_str(),
                   formatDuration(timing.cpuSeconds).c_str(),
                   quill->second.cpuSeconds > 0 ? timing.cpuSeconds / quill->second.cpuSeconds : 0.0);
    }
  }
  std::fprintf(out, "ratio = peer CPU time / Quill CPU time per unit of work (above 1: Quill is faster)\n");
}

}  // namespace QuillCompare
